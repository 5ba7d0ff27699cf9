#pragma once

#include <QDialog>
#include <QStringList>

class IDialogs;
class QPlainTextEdit;
class QPushButton;

// "Edit Categories": the project list as plain text, one line per line,
// saved to the category file as typed.
class EditCategoriesDialog : public QDialog
{
    Q_OBJECT
public:
    // lines: what the list shows now; filePath: "departments.txt".
    EditCategoriesDialog(const QStringList &lines, const QString &filePath, IDialogs *dialogs, QWidget *parent);

private Q_SLOTS:
    // Writes the edited lines to the file and closes as accepted; when the
    // file cannot be written, says so and stays open with the text.
    void saveAndAccept();

private:
    void showLines(const QStringList &lines);

    QPlainTextEdit *m_linesEdit;
    QPushButton *m_saveButton;
    QPushButton *m_cancelButton;
    QString m_filePath;
    IDialogs *m_dialogs;
};
