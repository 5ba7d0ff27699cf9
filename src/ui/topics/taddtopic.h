#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;

// The small window that asks for the name of a new topic. It opens with
// the focus on OK; a second later Timer1 moves the focus into edit1 and
// selects "Topic Name", so typing replaces it.
class TAddTopic : public QDialog
{
    Q_OBJECT
public:
    explicit TAddTopic(QWidget *owner);

    QLabel *Label1;
    QLabel *Label2;
    QLineEdit *edit1;
    QPushButton *OK;
    QPushButton *Cancel;
    QTimer *Timer1;

    void Timer1Timer();

protected:
    void showEvent(QShowEvent *event) override;

private:
    QWidget *m_owner;
};
