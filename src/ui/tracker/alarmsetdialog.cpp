#include "ui/tracker/alarmsetdialog.h"

#include "core/common/daynumber.h"
#include "ui/common/look.h"
#include "core/platform/clock.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTimeEdit>

namespace {

template <typename W>
W *named(W *widget, const QString &name, const QString &spoken)
{
    widget->setObjectName(name);
    widget->setAccessibleName(spoken);
    return widget;
}

} // namespace

AlarmSetDialog::AlarmSetDialog(IClock *clock, QWidget *parent)
    : QDialog(parent), m_clock(clock)
{
    setObjectName(QStringLiteral("AlarmSet_Form"));
    setWindowTitle(tr("Alarm Set"));
    setFont(pixelFont(QStringLiteral("Arial"), 11));
    paintWhite(this);
    resize(429, 365);

    auto *heading = new QLabel(tr("Alarm Time"), this);
    heading->setFont(pixelFont(QStringLiteral("Arial"), 13, FontStyle::Bold));
    heading->setGeometry(24, 16, 300, 18);

    bedTime = named(new QTimeEdit(this), QStringLiteral("Bed_Time"), tr("Alarm Time"));
    bedTime->setDisplayFormat(QStringLiteral("hh:mm AP"));
    bedTime->setFont(pixelFont(QStringLiteral("Arial Black"), 19, FontStyle::Bold));
    bedTime->setGeometry(24, 38, 170, 36);
    heading->setBuddy(bedTime);
    bedTime->installEventFilter(this);

    auto *frequency = new QLabel(tr("Frequency"), this);
    frequency->setFont(pixelFont(QStringLiteral("Arial"), 15, FontStyle::Bold));
    frequency->setGeometry(24, 92, 300, 20);

    dailyButton = named(new QRadioButton(tr("Daily"), this), QStringLiteral("Daily"), tr("Daily"));
    dailyButton->setGeometry(40, 120, 200, 22);
    weeklyButton = named(new QRadioButton(tr("Weekly"), this), QStringLiteral("Weekly"), tr("Weekly"));
    weeklyButton->setGeometry(40, 148, 200, 22);

    weeklyPanel = named(new QWidget(this), QStringLiteral("Weekly_Panel"), tr("Days of the week"));
    weeklyPanel->setGeometry(60, 174, 350, 26);
    auto *days = new QHBoxLayout(weeklyPanel);
    days->setContentsMargins(0, 0, 0, 0);
    QCheckBox **boxes[] = {&mondayBox, &tuesdayBox, &wednesdayBox, &thursdayBox, &fridayBox, &saturdayBox, &sundayBox};
    const char *names[] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
    const QString spoken[] = {tr("Monday"), tr("Tuesday"), tr("Wednesday"), tr("Thursday"),
                              tr("Friday"), tr("Saturday"), tr("Sunday")};
    for (int i = 0; i < 7; ++i) {
        const QString name = QString::fromLatin1(names[i]);
        *boxes[i] = named(new QCheckBox(name, weeklyPanel), name, spoken[i]);
        days->addWidget(*boxes[i]);
    }

    fixedDate = named(new QRadioButton(tr("Fixed Date"), this), QStringLiteral("FixedDate"),
                      tr("Fixed Date"));
    fixedDate->setGeometry(40, 212, 200, 22);
    datePicker = named(new QDateEdit(this), QStringLiteral("Date_Picker"), tr("Alarm date"));
    datePicker->setDisplayFormat(QStringLiteral("MMMMd, yyyy"));
    datePicker->setFont(pixelFont(QStringLiteral("Arial"), 13));
    datePicker->setCalendarPopup(true);
    datePicker->setStyleSheet(
        QStringLiteral("QCalendarWidget QAbstractItemView { background: #FF8080; }"
                       "QCalendarWidget QWidget#qt_calendar_navigationbar { background: #FF8080; }"));
    datePicker->setGeometry(60, 240, 200, 26);

    auto *group = new QButtonGroup(this);
    for (QRadioButton *choice : {dailyButton, weeklyButton, fixedDate})
        group->addButton(choice);
    dailyButton->setChecked(true);

    okButton = named(new QPushButton(tr("OK"), this), QStringLiteral("BitBtn1"), tr("OK"));
    okButton->setGeometry(230, 318, 85, 28);
    okButton->setDefault(true);
    cancelButton = named(new QPushButton(tr("Cancel"), this), QStringLiteral("BitBtn2"), tr("Cancel"));
    cancelButton->setGeometry(325, 318, 85, 28);

    connect(dailyButton, &QRadioButton::clicked, this, &AlarmSetDialog::updateWeekdayBoxes);
    connect(fixedDate, &QRadioButton::clicked, this, &AlarmSetDialog::updateWeekdayBoxes);
    connect(weeklyButton, &QRadioButton::clicked, this, &AlarmSetDialog::updateWeekdayBoxes);
    // Keyboard moves between the radio buttons change the choice too.
    connect(weeklyButton, &QRadioButton::toggled, weeklyPanel, &QWidget::setEnabled);
    connect(okButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);

    setTabOrder(bedTime, dailyButton);
    weeklyPanel->setEnabled(false);
    startAtPresent();
}

bool AlarmSetDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == bedTime && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const QString text = key->text().toLower();
        // The time editor would take "a" as the start of "AM" and keep an
        // incomplete "A" that goes back to PM when left.
        if (text == QLatin1String("a") || text == QLatin1String("p")) {
            const QTime time = bedTime->time();
            const bool wantPm = text == QLatin1String("p");
            if (wantPm != (time.hour() >= 12))
                bedTime->setTime(time.addSecs(wantPm ? 12 * 3600 : -12 * 3600));
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void AlarmSetDialog::startAtPresent()
{
    QDateTime now = m_clock ? m_clock->now() : QDateTime::currentDateTime();
    now.setTime(QTime(now.time().hour(), now.time().minute()));
    m_openedOn = now.date();
    bedTime->setTime(now.time());
    datePicker->setDate(now.date());
}

void AlarmSetDialog::updateWeekdayBoxes()
{
    weeklyPanel->setEnabled(weeklyButton->isChecked());
}

double AlarmSetDialog::timeValue() const
{
    const QTime time(bedTime->time().hour(), bedTime->time().minute());
    return DayNumber::fromDateTime(QDateTime(m_openedOn, time));
}
