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

    QTimeEdit *bedTime;
    QRadioButton *dailyButton;
    QRadioButton *weeklyButton;
    QWidget *weeklyPanel;
    QCheckBox *mondayBox;
    QCheckBox *tuesdayBox;
    QCheckBox *wednesdayBox;
    QCheckBox *thursdayBox;
    QCheckBox *fridayBox;
    QCheckBox *saturdayBox;
    QCheckBox *sundayBox;
    QRadioButton *fixedDate;
    QDateEdit *datePicker;
    QPushButton *okButton;
    QPushButton *cancelButton;

protected:
    // "a" and "p" typed in the time choose AM and PM at once.
    bool eventFilter(QObject *watched, QEvent *event) override;

private Q_SLOTS:
    // Enables the weekday boxes exactly when "Weekly" is chosen.
    void updateWeekdayBoxes();

private:
    // Both pickers start at the present moment (to the minute).
    void startAtPresent();

    IClock *m_clock;
    QDate m_openedOn;
};
