#pragma once

#include "ui/app/mainwindow.h"

class DayNoteColumn;
#include "fakes.h"
#include "testhelpers.h"

#include <QTemporaryDir>

#include <memory>

// A real main window on a fresh temporary data root with pinned clock,
// fake shell and scripted dialogs. start() runs the start-up step at once.
class MainWindowFixture
{
public:
    explicit MainWindowFixture(const QString &dayArgument = QString(),
                               const QDateTime &now = QDateTime(QDate(2024, 1, 10), QTime(9, 30)));
    ~MainWindowFixture();

    MainWindow *form() const { return m_form.get(); }
    QString root() const { return m_dir.path() + QLatin1Char('/'); }
    QString dbFile(const QString &name) const { return root() + QStringLiteral("DB/") + name; }

    // Runs the start-up step and shows the window.
    void start();
    // Creates a second window on the same data root (a restart).
    void restart(const QString &dayArgument = QString());

    FakeServices fakes;

private:
    QTemporaryDir m_dir;
    std::unique_ptr<MainWindow> m_form;
};

// The day column showing the given position (0 to 6, the Tag), or null.
DayNoteColumn *dayColumn(MainWindow *form, int tag);
