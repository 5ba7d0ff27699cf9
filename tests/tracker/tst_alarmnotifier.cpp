// The desktop notifier of a ringing alarm where no notification service
// answers: its own window shows the alarm, and its buttons answer.
#include "ui/platform/alarmnotifier.h"

#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

class TestAlarmNotifier : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        // No session bus to talk to.
        qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/vellumark-test-bus");
    }

    void windowOfItsOwnWithoutAService()
    {
        DesktopAlarmNotifier notifier;
        QSignalSpy stop(&notifier, &IAlarmNotifier::stopRequested);
        QSignalSpy snooze(&notifier, &IAlarmNotifier::snoozeRequested);
        notifier.showAlarm(QStringLiteral("Bed time at 09:30 PM"), QStringLiteral("Garden: Daily at 09:30 PM"));
        QTRY_VERIFY(notifier.window() && notifier.window()->isVisible());
        AlarmWindow *window = notifier.window();
        QCOMPARE(window->findChild<QLabel *>(QStringLiteral("AlarmWindowTitle"))->text(),
                 QStringLiteral("Bed time at 09:30 PM"));
        QCOMPARE(window->findChild<QLabel *>(QStringLiteral("AlarmWindowText"))->text(),
                 QStringLiteral("Garden: Daily at 09:30 PM"));

        window->findChild<QPushButton *>(QStringLiteral("AlarmWindowSnooze"))->click();
        QCOMPARE(snooze.size(), 1);
        QVERIFY(!window->isVisible());

        notifier.showAlarm(QStringLiteral("Feeding time at 03:00 AM"), QStringLiteral("Daily at 03:00 AM"));
        QTRY_VERIFY(window->isVisible());
        window->findChild<QPushButton *>(QStringLiteral("AlarmWindowStop"))->click();
        QCOMPARE(stop.size(), 1);
        QVERIFY(!window->isVisible());

        // Closed by the program (the alarm ended by itself).
        notifier.showAlarm(QStringLiteral("Bed time at 09:30 PM"), QString());
        QTRY_VERIFY(window->isVisible());
        notifier.closeAlarm();
        QVERIFY(!window->isVisible());
        QCOMPARE(stop.size() + snooze.size(), 2);
    }
};

QTEST_MAIN(TestAlarmNotifier)
#include "tst_alarmnotifier.moc"
