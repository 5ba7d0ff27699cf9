#include "ui/calendar/datecommitter.h"

#include <QCalendarWidget>
#include <QDateEdit>
#include <QTimer>

DateCommitter::DateCommitter(QDateEdit *edit, int pauseMs)
    : QObject(edit)
    , m_edit(edit)
    , m_pause(new QTimer(this))
{
    m_pause->setSingleShot(true);
    m_pause->setInterval(pauseMs);
    connect(m_pause, &QTimer::timeout, this, &DateCommitter::commit);
    connect(edit, &QDateEdit::dateChanged, this, &DateCommitter::changed);
    connect(edit, &QDateEdit::editingFinished, this, &DateCommitter::commit);
    if (QCalendarWidget *calendar = edit->calendarWidget()) {
        // The pop-up sets the edit's date from its own handler of the same
        // signal: report once that has run.
        connect(calendar, &QCalendarWidget::clicked, this, &DateCommitter::commit, Qt::QueuedConnection);
        connect(calendar, &QCalendarWidget::activated, this, &DateCommitter::commit, Qt::QueuedConnection);
    }
}

void DateCommitter::changed()
{
    m_pending = true;
    m_pause->start();
}

void DateCommitter::cancelPending()
{
    m_pending = false;
    m_pause->stop();
}

void DateCommitter::commit()
{
    m_pause->stop();
    if (!m_pending)
        return;
    m_pending = false;
    Q_EMIT dateCommitted(m_edit->date());
}
