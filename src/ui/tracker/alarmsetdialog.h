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

    // Both pickers start at the present moment (to the minute).
    void formCreate();
    // Enables the weekday boxes exactly when Weekly is chosen.
    void dailyClick();
    void weeklyClick();

    // The time picker as a whole date and time: the date the dialog was
    // opened with the chosen time of day.
    double TimeValue() const;

    QTimeEdit *bedTime;
    QRadioButton *Daily;
    QRadioButton *Weekly;
    QWidget *weeklyPanel;
    QCheckBox *mon;
    QCheckBox *tue;
    QCheckBox *wed;
    QCheckBox *thu;
    QCheckBox *fri;
    QCheckBox *sat;
    QCheckBox *sun;
    QRadioButton *fixedDate;
    QDateEdit *datePicker;
    QPushButton *BitBtn1;
    QPushButton *BitBtn2;

protected:
    // "a" and "p" typed in the time choose AM and PM at once.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    IClock *m_clock;
    QDate m_openedOn;
};
