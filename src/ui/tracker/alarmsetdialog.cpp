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

    m_bedTime = named(new QTimeEdit(this), QStringLiteral("Bed_Time"), tr("Alarm Time"));
    m_bedTime->setDisplayFormat(QStringLiteral("hh:mm AP"));
    m_bedTime->setFont(pixelFont(QStringLiteral("Arial Black"), 19, FontStyle::Bold));
    m_bedTime->setGeometry(24, 38, 170, 36);
    heading->setBuddy(m_bedTime);
    m_bedTime->installEventFilter(this);

    auto *frequency = new QLabel(tr("Frequency"), this);
    frequency->setFont(pixelFont(QStringLiteral("Arial"), 15, FontStyle::Bold));
    frequency->setGeometry(24, 92, 300, 20);

    m_dailyButton = named(new QRadioButton(tr("Daily"), this), QStringLiteral("Daily"), tr("Daily"));
    m_dailyButton->setGeometry(40, 120, 200, 22);
    m_weeklyButton = named(new QRadioButton(tr("Weekly"), this), QStringLiteral("Weekly"), tr("Weekly"));
    m_weeklyButton->setGeometry(40, 148, 200, 22);

    m_weeklyPanel = named(new QWidget(this), QStringLiteral("Weekly_Panel"), tr("Days of the week"));
    m_weeklyPanel->setGeometry(60, 174, 350, 26);
    auto *days = new QHBoxLayout(m_weeklyPanel);
    days->setContentsMargins(0, 0, 0, 0);
    QCheckBox **boxes[] = {&m_mondayBox, &m_tuesdayBox,  &m_wednesdayBox, &m_thursdayBox,
                           &m_fridayBox, &m_saturdayBox, &m_sundayBox};
    const char *names[] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
    const QString spoken[] = {tr("Monday"), tr("Tuesday"), tr("Wednesday"), tr("Thursday"),
                              tr("Friday"), tr("Saturday"), tr("Sunday")};
    for (int i = 0; i < 7; ++i) {
        const QString name = QString::fromLatin1(names[i]);
        *boxes[i] = named(new QCheckBox(name, m_weeklyPanel), name, spoken[i]);
        days->addWidget(*boxes[i]);
    }

    m_fixedDate = named(new QRadioButton(tr("Fixed Date"), this), QStringLiteral("FixedDate"),
                      tr("Fixed Date"));
    m_fixedDate->setGeometry(40, 212, 200, 22);
    m_datePicker = named(new QDateEdit(this), QStringLiteral("Date_Picker"), tr("Alarm date"));
    m_datePicker->setDisplayFormat(QStringLiteral("MMMMd, yyyy"));
    m_datePicker->setFont(pixelFont(QStringLiteral("Arial"), 13));
    m_datePicker->setCalendarPopup(true);
    m_datePicker->setStyleSheet(
        QStringLiteral("QCalendarWidget QAbstractItemView { background: #FF8080; }"
                       "QCalendarWidget QWidget#qt_calendar_navigationbar { background: #FF8080; }"));
    m_datePicker->setGeometry(60, 240, 200, 26);

    auto *group = new QButtonGroup(this);
    for (QRadioButton *choice : {m_dailyButton, m_weeklyButton, m_fixedDate})
        group->addButton(choice);
    m_dailyButton->setChecked(true);

    m_okButton = named(new QPushButton(tr("OK"), this), QStringLiteral("BitBtn1"), tr("OK"));
    m_okButton->setGeometry(230, 318, 85, 28);
    m_okButton->setDefault(true);
    m_cancelButton = named(new QPushButton(tr("Cancel"), this), QStringLiteral("BitBtn2"), tr("Cancel"));
    m_cancelButton->setGeometry(325, 318, 85, 28);

    connect(m_dailyButton, &QRadioButton::clicked, this, &AlarmSetDialog::updateWeekdayBoxes);
    connect(m_fixedDate, &QRadioButton::clicked, this, &AlarmSetDialog::updateWeekdayBoxes);
    connect(m_weeklyButton, &QRadioButton::clicked, this, &AlarmSetDialog::updateWeekdayBoxes);
    // Keyboard moves between the radio buttons change the choice too.
    connect(m_weeklyButton, &QRadioButton::toggled, m_weeklyPanel, &QWidget::setEnabled);
    connect(m_okButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cancelButton, &QPushButton::clicked, this, &QDialog::reject);

    setTabOrder(m_bedTime, m_dailyButton);
    m_weeklyPanel->setEnabled(false);
    startAtPresent();
}

bool AlarmSetDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_bedTime && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const QString text = key->text().toLower();
        // The time editor would take "a" as the start of "AM" and keep an
        // incomplete "A" that goes back to PM when left.
        if (text == QLatin1String("a") || text == QLatin1String("p")) {
            const QTime time = m_bedTime->time();
            const bool wantPm = text == QLatin1String("p");
            if (wantPm != (time.hour() >= 12))
                m_bedTime->setTime(time.addSecs(wantPm ? 12 * 3600 : -12 * 3600));
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
    m_bedTime->setTime(now.time());
    m_datePicker->setDate(now.date());
}

void AlarmSetDialog::updateWeekdayBoxes()
{
    m_weeklyPanel->setEnabled(m_weeklyButton->isChecked());
}

double AlarmSetDialog::timeValue() const
{
    const QTime time(m_bedTime->time().hour(), m_bedTime->time().minute());
    return DayNumber::fromDateTime(QDateTime(m_openedOn, time));
}

AlarmSetDialog::Repeat AlarmSetDialog::repeat() const
{
    if (m_weeklyButton->isChecked())
        return Repeat::Weekly;
    if (m_fixedDate->isChecked())
        return Repeat::FixedDate;
    return Repeat::Daily;
}

QList<bool> AlarmSetDialog::weekdays() const
{
    return {m_mondayBox->isChecked(),   m_tuesdayBox->isChecked(),  m_wednesdayBox->isChecked(),
            m_thursdayBox->isChecked(), m_fridayBox->isChecked(),   m_saturdayBox->isChecked(),
            m_sundayBox->isChecked()};
}

QDate AlarmSetDialog::fixedDay() const
{
    return m_datePicker->date();
}
