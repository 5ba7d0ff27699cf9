#include "ui/app/autosave.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

AutoSave::AutoSave(QWidget *window, std::function<void()> save, QObject *parent)
    : QObject(parent)
    , m_window(window)
    , m_save(std::move(save))
{
    m_pause.setSingleShot(true);
    m_longest.setSingleShot(true);
    setIntervals(kPauseMs, kLongestWaitMs);
    connect(&m_pause, &QTimer::timeout, this, &AutoSave::saveNow);
    connect(&m_longest, &QTimer::timeout, this, &AutoSave::saveNow);
    qApp->installEventFilter(this);
}

AutoSave::~AutoSave()
{
    qApp->removeEventFilter(this);
}

void AutoSave::setIntervals(int pauseMs, int longestWaitMs)
{
    m_pause.setInterval(pauseMs);
    m_longest.setInterval(longestWaitMs);
}

void AutoSave::noteInput()
{
    m_pause.start();
    if (!m_longest.isActive())
        m_longest.start();
}

bool AutoSave::belongsToWindow(QObject *object) const
{
    if (!object->isWidgetType())
        return false;
    // Dialogs and menus are windows of their own, with the window as an
    // ancestor.
    for (auto *widget = static_cast<QWidget *>(object); widget; widget = widget->parentWidget()) {
        if (widget == m_window)
            return true;
    }
    return false;
}

bool AutoSave::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::InputMethod:
    case QEvent::Drop:
    case QEvent::MouseButtonRelease:
        if (belongsToWindow(watched))
            noteInput();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void AutoSave::saveNow()
{
    // A dialog or menu is open: the code that opened it is halfway through
    // its work. Try again after the next pause.
    if (QApplication::activeModalWidget() || QApplication::activePopupWidget()) {
        m_pause.start();
        return;
    }
    m_pause.stop();
    m_longest.stop();
    m_save();
}
