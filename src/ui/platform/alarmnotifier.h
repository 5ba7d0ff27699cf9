#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>

class QDBusPendingCallWatcher;
class QLabel;
class QSystemTrayIcon;

// Shows the user that an alarm rings, whether or not a sound can be heard,
// and offers "Snooze" and "Stop". Tests put a recording fake behind it.
class IAlarmNotifier : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
    ~IAlarmNotifier() override = default;

    // Shows a ringing alarm, replacing one that is shown.
    virtual void showAlarm(const QString &title, const QString &text) = 0;
    // Takes the ringing alarm away; harmless when none is shown.
    virtual void closeAlarm() = 0;

Q_SIGNALS:
    void snoozeRequested();
    void stopRequested();
};

// The small window of our own that shows a ringing alarm where the
// desktop has no notification service.
class AlarmWindow : public QWidget
{
    Q_OBJECT
public:
    explicit AlarmWindow(QWidget *parent = nullptr);
    void showAlarm(const QString &title, const QString &text);

Q_SIGNALS:
    void snoozeRequested();
    void stopRequested();

private:
    QLabel *m_title;
    QLabel *m_text;
};

// The desktop's notification service (org.freedesktop.Notifications on
// the session bus) with "Snooze" and "Stop" actions; a window of our own
// when no service answers. Where the desktop has a system tray, its icon
// shows that an alarm rings for as long as it rings. Never blocks: the
// service is asked asynchronously.
class DesktopAlarmNotifier final : public IAlarmNotifier
{
    Q_OBJECT
public:
    explicit DesktopAlarmNotifier(QObject *parent = nullptr);
    ~DesktopAlarmNotifier() override;

    void showAlarm(const QString &title, const QString &text) override;
    void closeAlarm() override;

    // The fallback window, made on first use (for tests and screenshots).
    AlarmWindow *window() const { return m_window; }

private Q_SLOTS:
    // Signals of the notification service, connected by name.
    void onActionInvoked(uint id, const QString &action);
    void onNotificationClosed(uint id, uint reason);

private:
    void notifyAnswered(QDBusPendingCallWatcher *call);
    void showWindow();
    void showTray(bool ringing);

    uint m_notification = 0;
    // Counts the alarms shown, so that a late answer for an alarm that
    // was closed meanwhile is ignored.
    quint64 m_generation = 0;
    bool m_shown = false;
    QString m_title;
    QString m_text;
    QPointer<AlarmWindow> m_window;
    QSystemTrayIcon *m_tray = nullptr;
};
