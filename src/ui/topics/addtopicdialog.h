#pragma once

#include <QDialog>

#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;

// The small window that asks for the name of a new topic, or a new name
// for one. It opens with the focus in nameEdit and its text selected, so
// typing replaces it at once; Enter accepts.
class AddTopicDialog : public QDialog
{
    Q_OBJECT
public:
    explicit AddTopicDialog(QWidget *owner);

    // The name as typed.
    QString typedName() const;
    // Asks for a new name for the topic instead of a new topic.
    void setRenaming(const QString &currentName);
    // Run on OK with the typed text: false keeps the dialog open (the check
    // has told the user why).
    void setNameCheck(std::function<bool(const QString &)> check);
    void accept() override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    QLabel *m_headingLabel;
    QLabel *m_promptLabel;
    QLineEdit *m_nameEdit;
    QPushButton *m_okButton;
    QPushButton *m_cancelButton;
    QWidget *m_owner;
    std::function<bool(const QString &)> m_check;
};
