#pragma once

#include <QDate>
#include <QDialog>

class IClock;
class QCheckBox;
class QDateEdit;
class QPushButton;
class QRadioButton;
class QTimeEdit;

// "Alarm Set": the time of a new alarm and how often it rings (every day,
// on chosen weekdays, or on one date). Made for each new entry and
// discarded afterwards.
class AlarmSetDialog : public QDialog
{
    Q_OBJECT
public:
    AlarmSetDialog(IClock *clock, QWidget *parent = nullptr);

    // The time picker as a whole date and time: the date the dialog was
    // opened with the chosen time of day.
    double timeValue() const;

    // How the alarm repeats, as chosen.
    enum class Repeat { Daily, Weekly, FixedDate };
    Repeat repeat() const;
    // The weekdays ticked, Monday first.
    QList<bool> weekdays() const;
    // The date chosen for a fixed-date alarm.
    QDate fixedDay() const;

protected:
    // "a" and "p" typed in the time choose AM and PM at once.
    bool eventFilter(QObject *watched, QEvent *event) override;

private Q_SLOTS:
    // Enables the weekday boxes exactly when "Weekly" is chosen.
    void updateWeekdayBoxes();

private:
    // Both pickers start at the present moment (to the minute).
    void startAtPresent();

    QTimeEdit *m_bedTime;
    QRadioButton *m_dailyButton;
    QRadioButton *m_weeklyButton;
    QWidget *m_weeklyPanel;
    QCheckBox *m_mondayBox;
    QCheckBox *m_tuesdayBox;
    QCheckBox *m_wednesdayBox;
    QCheckBox *m_thursdayBox;
    QCheckBox *m_fridayBox;
    QCheckBox *m_saturdayBox;
    QCheckBox *m_sundayBox;
    QRadioButton *m_fixedDate;
    QDateEdit *m_datePicker;
    QPushButton *m_okButton;
    QPushButton *m_cancelButton;
    IClock *m_clock;
    QDate m_openedOn;
};
