#pragma once

#include <QDialog>

class IDialogs;
class TopicStore;
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
    // store: the list the name joins; a name it refuses is told through
    // dialogs, with the dialog kept open so the name can be corrected.
    AddTopicDialog(const TopicStore &store, IDialogs *dialogs, QWidget *owner);

    // The name as typed.
    QString typedName() const;
    // Asks for a new name for the store's entry instead of a new topic.
    void setRenaming(int entry);
    // Closes as accepted unless the typed name is refused.
    void accept() override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    QLabel *m_headingLabel;
    QLabel *m_promptLabel;
    QLineEdit *m_nameEdit;
    QPushButton *m_okButton;
    QPushButton *m_cancelButton;
    // The message saying why the typed name is refused; empty when it is
    // taken (or left for the caller to ignore).
    QString refusal() const;

    QWidget *m_owner;
    const TopicStore &m_store;
    IDialogs *m_dialogs;
    // The entry being renamed, -1 for a new topic.
    int m_renamedEntry = -1;
    QString m_oldName;
};
