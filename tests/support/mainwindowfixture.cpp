#include "mainwindowfixture.h"

#include "ui/calendar/daynotecolumn.h"
#include "ui/calendar/weekcontroller.h"

#include <QFile>
#include <QTest>

MainWindowFixture::MainWindowFixture(const QString &dayArgument, const QDateTime &now)
{
    fakes.clock.set(now);
    fakes.shell.documents = m_dir.path() + QStringLiteral("/Documents");
    m_form = std::make_unique<MainWindow>(fakes.services(), StartOptions{root(), dayArgument});
}

MainWindowFixture::~MainWindowFixture()
{
    if (m_form && !m_form->closing())
        m_form->close();
}

void MainWindowFixture::start()
{
    m_form->show();
    m_form->runStartup();
}

void MainWindowFixture::restart(const QString &dayArgument)
{
    m_form->close();
    m_form = std::make_unique<MainWindow>(fakes.services(), StartOptions{root(), dayArgument});
    start();
}

DayNoteColumn *dayColumn(MainWindow *form, int tag)
{
    for (DayNoteColumn *column : form->week()->columns)
        if (column->position == tag)
            return column;
    return nullptr;
}
