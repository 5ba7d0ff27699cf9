#include "ui/platform/alarmnotifier.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSystemTrayIcon>
#include <QVBoxLayout>
#include <QVariantMap>

namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kInterface = QStringLiteral("org.freedesktop.Notifications");
const QString kSnoozeKey = QStringLiteral("snooze");
const QString kStopKey = QStringLiteral("stop");
// How long the service may take to answer before our own window shows.
constexpr int kAnswerTimeout = 3000;

} // namespace

// ---- the window of our own --------------------------------------------------

AlarmWindow::AlarmWindow(QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("AlarmWindow"));
    setAccessibleName(tr("Alarm"));
    setWindowTitle(tr("Alarm"));

    m_title = new QLabel(this);
    m_title->setObjectName(QStringLiteral("AlarmWindowTitle"));
    QFont bold = m_title->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.4);
    m_title->setFont(bold);
    m_text = new QLabel(this);
    m_text->setObjectName(QStringLiteral("AlarmWindowText"));
    m_text->setWordWrap(true);

    auto *snooze = new QPushButton(tr("Snooze"), this);
    snooze->setObjectName(QStringLiteral("AlarmWindowSnooze"));
    snooze->setToolTip(tr("Snooze 5 Minutes"));
    auto *stop = new QPushButton(tr("Stop"), this);
    stop->setObjectName(QStringLiteral("AlarmWindowStop"));
    stop->setDefault(true);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(snooze);
    buttons->addWidget(stop);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_title);
    layout->addWidget(m_text);
    layout->addLayout(buttons);

    connect(snooze, &QPushButton::clicked, this, [this] {
        hide();
        Q_EMIT snoozeRequested();
    });
    connect(stop, &QPushButton::clicked, this, [this] {
        hide();
        Q_EMIT stopRequested();
    });
    setMinimumWidth(320);
}

void AlarmWindow::showAlarm(const QString &title, const QString &text)
{
    m_title->setText(title);
    m_text->setText(text);
    setWindowTitle(title);
    adjustSize();
    show();
    raise();
    activateWindow();
}

// ---- the desktop's notifications ------------------------------------------

DesktopAlarmNotifier::DesktopAlarmNotifier(QObject *parent)
    : IAlarmNotifier(parent)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (bus.isConnected()) {
        // QDBusConnection takes slots by name only.
        bus.connect(kService, kPath, kInterface, QStringLiteral("ActionInvoked"), this,
                    SLOT(onActionInvoked(uint, QString)));
        bus.connect(kService, kPath, kInterface, QStringLiteral("NotificationClosed"), this,
                    SLOT(onNotificationClosed(uint, uint)));
    }
}

DesktopAlarmNotifier::~DesktopAlarmNotifier()
{
    closeAlarm();
    delete m_window;
}

void DesktopAlarmNotifier::showAlarm(const QString &title, const QString &text)
{
    ++m_generation;
    m_shown = true;
    m_title = title;
    m_text = text;
    showTray(true);

    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        showWindow();
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kInterface, QStringLiteral("Notify"));
    QVariantMap hints;
    hints.insert(QStringLiteral("urgency"), QVariant::fromValue(uchar(2))); // critical: stays until answered
    hints.insert(QStringLiteral("resident"), true);
    hints.insert(QStringLiteral("category"), QStringLiteral("alarm"));
    call << QCoreApplication::applicationName() << m_notification << QStringLiteral("alarm-symbolic") << title
         << text << QStringList{kSnoozeKey, tr("Snooze"), kStopKey, tr("Stop")} << hints << qint32(0);
    auto *watcher = new QDBusPendingCallWatcher(bus.asyncCall(call, kAnswerTimeout), this);
    const quint64 generation = m_generation;
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, generation](QDBusPendingCallWatcher *w) {
        if (generation == m_generation)
            notifyAnswered(w);
        w->deleteLater();
    });
}

void DesktopAlarmNotifier::notifyAnswered(QDBusPendingCallWatcher *call)
{
    if (!m_shown)
        return;
    const QDBusPendingReply<uint> reply = *call;
    if (reply.isError()) {
        showWindow();
        return;
    }
    m_notification = reply.value();
    // A service that shows no buttons cannot offer Snooze and Stop: our
    // window offers them beside its notice.
    QDBusConnection bus = QDBusConnection::sessionBus();
    const QDBusMessage ask = QDBusMessage::createMethodCall(kService, kPath, kInterface,
                                                            QStringLiteral("GetCapabilities"));
    auto *watcher = new QDBusPendingCallWatcher(bus.asyncCall(ask, kAnswerTimeout), this);
    const quint64 generation = m_generation;
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, generation](QDBusPendingCallWatcher *w) {
        const QDBusPendingReply<QStringList> capabilities = *w;
        if (generation == m_generation && m_shown
            && (capabilities.isError() || !capabilities.value().contains(QStringLiteral("actions"))))
            showWindow();
        w->deleteLater();
    });
}

void DesktopAlarmNotifier::showWindow()
{
    if (!m_window) {
        m_window = new AlarmWindow;
        connect(m_window, &AlarmWindow::snoozeRequested, this, &IAlarmNotifier::snoozeRequested);
        connect(m_window, &AlarmWindow::stopRequested, this, &IAlarmNotifier::stopRequested);
    }
    m_window->showAlarm(m_title, m_text);
}

void DesktopAlarmNotifier::closeAlarm()
{
    ++m_generation;
    m_shown = false;
    showTray(false);
    if (m_window)
        m_window->hide();
    if (m_notification != 0) {
        QDBusConnection bus = QDBusConnection::sessionBus();
        if (bus.isConnected()) {
            QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kInterface,
                                                               QStringLiteral("CloseNotification"));
            call << m_notification;
            bus.asyncCall(call, kAnswerTimeout);
        }
        m_notification = 0;
    }
}

void DesktopAlarmNotifier::onActionInvoked(uint id, const QString &action)
{
    if (id == 0 || id != m_notification)
        return;
    m_notification = 0; // the service closes it itself
    if (action == kSnoozeKey)
        Q_EMIT snoozeRequested();
    else if (action == kStopKey || action == QLatin1String("default"))
        Q_EMIT stopRequested();
}

void DesktopAlarmNotifier::onNotificationClosed(uint id, uint reason)
{
    Q_UNUSED(reason);
    if (id != 0 && id == m_notification)
        m_notification = 0;
}

void DesktopAlarmNotifier::showTray(bool ringing)
{
    if (!ringing) {
        if (m_tray)
            m_tray->hide();
        return;
    }
    if (!QSystemTrayIcon::isSystemTrayAvailable())
        return;
    if (!m_tray) {
        m_tray = new QSystemTrayIcon(QIcon(QStringLiteral(":/icons/moon.svg")), this);
        auto *menu = new QMenu;
        menu->addAction(tr("Snooze"), this, &IAlarmNotifier::snoozeRequested);
        menu->addAction(tr("Stop"), this, &IAlarmNotifier::stopRequested);
        m_tray->setContextMenu(menu);
        connect(m_tray, &QObject::destroyed, menu, &QObject::deleteLater);
        connect(m_tray, &QSystemTrayIcon::activated, this, [this] {
            if (m_window && m_shown)
                m_window->showAlarm(m_title, m_text);
        });
    }
    m_tray->setToolTip(tr("Alarm ringing: %1").arg(m_title));
    m_tray->show();
}
