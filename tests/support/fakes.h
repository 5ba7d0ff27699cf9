#pragma once

#include "ui/platform/alarmnotifier.h"
#include "core/platform/clock.h"
#include "ui/platform/dialogs.h"
#include "ui/platform/services.h"
#include "core/platform/shell.h"
#include "ui/platform/sound.h"
#include "recordingprinter.h"

#include <QDateTime>
#include <QList>
#include <QQueue>
#include <QStringList>

#include <functional>

// A clock pinned to a chosen moment.
class FakeClock final : public IClock
{
public:
    explicit FakeClock(const QDateTime &at = QDateTime(QDate(2024, 1, 10), QTime(9, 30)))
        : m_now(at)
    {
    }
    QDateTime now() const override { return m_now; }
    void set(const QDateTime &at) { m_now = at; }

private:
    QDateTime m_now;
};

// Records what would have been opened or trashed; never starts a program.
class FakeShell final : public IShell
{
public:
    bool openPath(const QString &pathOrUrl) override;
    bool openFolder(const QString &path) override;
    Result moveToTrash(const QString &path) override;
    QString documentsLocation() const override { return documents; }

    QStringList opened;
    QStringList openedFolders;
    QStringList trashed;
    // Where "trashed" items are moved; empty: they are removed.
    QString trashDir;
    QString documents;
    bool trashFails = false;
};

// Answers questions from a script and records every text shown.
class FakeDialogs final : public IDialogs
{
public:
    void message(QWidget *parent, const QString &text) override;
    void error(QWidget *parent, const QString &text) override;
    bool yesNo(QWidget *parent, const QString &text) override;
    bool okCancel(QWidget *parent, const QString &text) override;
    bool printerSetup(QWidget *parent, QPrinter *printer) override;
    int execForm(QDialog *form) override;

    QStringList messages;
    QStringList errors;
    QStringList questions;
    // Answers for yesNo/okCancel in order; when empty, defaultAnswer.
    QQueue<bool> answers;
    bool defaultAnswer = false;
    int printerSetups = 0;
    // Fills in and answers each modal form shown, as the user would, and
    // returns its dialog code (form.result() once a button has closed it);
    // unset, every form is cancelled. The form is visible meanwhile.
    std::function<int(QDialog &)> formAnswer;
    // The window titles of the modal forms shown.
    QStringList formsShown;

private:
    bool answer(const QString &text);
};

// Records every play and stop instead of making a sound.
class FakeSound final : public ISound
{
public:
    void playLooping(const QString &path) override
    {
        played.append(path);
        playing = path;
    }
    void stop() override
    {
        ++stops;
        playing.clear();
    }

    QStringList played;
    QString playing; // empty when silent
    int stops = 0;
};

// Records the alarms shown instead of asking the desktop; a test answers
// with snooze() or stop() as the user would.
class FakeAlarmNotifier final : public IAlarmNotifier
{
public:
    void showAlarm(const QString &title, const QString &text) override
    {
        shown.append(title + QLatin1Char('|') + text);
        showing = true;
    }
    void closeAlarm() override
    {
        ++closes;
        showing = false;
    }
    void snooze() { Q_EMIT snoozeRequested(); }
    void stop() { Q_EMIT stopRequested(); }

    QStringList shown; // "title|text" of each alarm shown
    bool showing = false;
    int closes = 0;
};

// The fakes wired as services.
struct FakeServices
{
    FakeClock clock;
    FakeShell shell;
    FakeDialogs dialogs;
    FakeSound sound;
    FakeAlarmNotifier notifier;
    FakePrinting printing;
    // Every seam set, as the program sets them.
    Services services()
    {
        return Services{&clock, &shell, &dialogs, &printing, &sound, &notifier};
    }
};
