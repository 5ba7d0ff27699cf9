#include "ui/tracker/alarmsetdialog.h"

#include "core/common/daynumber.h"
#include "ui/common/fonts.h"
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
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    resize(429, 365);

    auto *heading = new QLabel(tr("Alarm Time"), this);
    heading->setFont(pixelFont(QStringLiteral("Arial"), 13, FontStyle::Bold));
    heading->setGeometry(24, 16, 300, 18);

    Bed_Time = named(new QTimeEdit(this), QStringLiteral("Bed_Time"), tr("Alarm Time"));
    Bed_Time->setDisplayFormat(QStringLiteral("hh:mm AP"));
    Bed_Time->setFont(pixelFont(QStringLiteral("Arial Black"), 19, FontStyle::Bold));
    Bed_Time->setGeometry(24, 38, 170, 36);
    heading->setBuddy(Bed_Time);
    Bed_Time->installEventFilter(this);

    auto *frequency = new QLabel(tr("Frequency"), this);
    frequency->setFont(pixelFont(QStringLiteral("Arial"), 15, FontStyle::Bold));
    frequency->setGeometry(24, 92, 300, 20);

    Daily = named(new QRadioButton(tr("Daily"), this), QStringLiteral("Daily"), tr("Daily"));
    Daily->setGeometry(40, 120, 200, 22);
    Weekly = named(new QRadioButton(tr("Weekly"), this), QStringLiteral("Weekly"), tr("Weekly"));
    Weekly->setGeometry(40, 148, 200, 22);

    Weekly_Panel = named(new QWidget(this), QStringLiteral("Weekly_Panel"), tr("Days of the week"));
    Weekly_Panel->setGeometry(60, 174, 350, 26);
    auto *days = new QHBoxLayout(Weekly_Panel);
    days->setContentsMargins(0, 0, 0, 0);
    QCheckBox **boxes[] = {&Mon, &Tue, &Wed, &Thu, &Fri, &Sat, &Sun};
    const char *names[] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
    const QString spoken[] = {tr("Monday"), tr("Tuesday"), tr("Wednesday"), tr("Thursday"),
                              tr("Friday"), tr("Saturday"), tr("Sunday")};
    for (int i = 0; i < 7; ++i) {
        const QString name = QString::fromLatin1(names[i]);
        *boxes[i] = named(new QCheckBox(name, Weekly_Panel), name, spoken[i]);
        days->addWidget(*boxes[i]);
    }

    FixedDate = named(new QRadioButton(tr("Fixed Date"), this), QStringLiteral("FixedDate"),
                      tr("Fixed Date"));
    FixedDate->setGeometry(40, 212, 200, 22);
    Date_Picker = named(new QDateEdit(this), QStringLiteral("Date_Picker"), tr("Alarm date"));
    Date_Picker->setDisplayFormat(QStringLiteral("MMMMd, yyyy"));
    Date_Picker->setFont(pixelFont(QStringLiteral("Arial"), 13));
    Date_Picker->setCalendarPopup(true);
    Date_Picker->setStyleSheet(
        QStringLiteral("QCalendarWidget QAbstractItemView { background: #FF8080; }"
                       "QCalendarWidget QWidget#qt_calendar_navigationbar { background: #FF8080; }"));
    Date_Picker->setGeometry(60, 240, 200, 26);

    auto *group = new QButtonGroup(this);
    for (QRadioButton *choice : {Daily, Weekly, FixedDate})
        group->addButton(choice);
    Daily->setChecked(true);

    BitBtn1 = named(new QPushButton(tr("OK"), this), QStringLiteral("BitBtn1"), tr("OK"));
    BitBtn1->setGeometry(230, 318, 85, 28);
    BitBtn1->setDefault(true);
    BitBtn2 = named(new QPushButton(tr("Cancel"), this), QStringLiteral("BitBtn2"), tr("Cancel"));
    BitBtn2->setGeometry(325, 318, 85, 28);

    connect(Daily, &QRadioButton::clicked, this, &AlarmSetDialog::DailyClick);
    connect(FixedDate, &QRadioButton::clicked, this, &AlarmSetDialog::DailyClick);
    connect(Weekly, &QRadioButton::clicked, this, &AlarmSetDialog::WeeklyClick);
    // Keyboard moves between the radio buttons change the choice too.
    connect(Weekly, &QRadioButton::toggled, Weekly_Panel, &QWidget::setEnabled);
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);

    setTabOrder(Bed_Time, Daily);
    Weekly_Panel->setEnabled(false);
    FormCreate();
}

bool AlarmSetDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Bed_Time && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const QString text = key->text().toLower();
        // The time editor would take "a" as the start of "AM" and keep an
        // incomplete "A" that goes back to PM when left.
        if (text == QLatin1String("a") || text == QLatin1String("p")) {
            const QTime time = Bed_Time->time();
            const bool wantPm = text == QLatin1String("p");
            if (wantPm != (time.hour() >= 12))
                Bed_Time->setTime(time.addSecs(wantPm ? 12 * 3600 : -12 * 3600));
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void AlarmSetDialog::FormCreate()
{
    QDateTime now = m_clock ? m_clock->now() : QDateTime::currentDateTime();
    now.setTime(QTime(now.time().hour(), now.time().minute()));
    m_openedOn = now.date();
    Bed_Time->setTime(now.time());
    Date_Picker->setDate(now.date());
}

void AlarmSetDialog::DailyClick()
{
    Weekly_Panel->setEnabled(Weekly->isChecked());
}

void AlarmSetDialog::WeeklyClick()
{
    Weekly_Panel->setEnabled(Weekly->isChecked());
}

double AlarmSetDialog::TimeValue() const
{
    const QTime time(Bed_Time->time().hour(), Bed_Time->time().minute());
    return DayNumber::fromDateTime(QDateTime(m_openedOn, time));
}
