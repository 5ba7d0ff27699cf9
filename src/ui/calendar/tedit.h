#pragma once

#include <QDateTime>
#include <QWidget>

class QLabel;
class QToolButton;
class DottedLine;
class NoteMemo;
class TWeek;

// One column of the week: the note of one date, its date caption, and the
// buttons for the day folder and for printing. Bound to dates by TWeek.
class TEdit : public QWidget
{
    Q_OBJECT
public:
    TEdit(TWeek *week, QWidget *hostPanel);

    QWidget *Top_panel;
    QLabel *Date_Label;
    DottedLine *Shape1;
    NoteMemo *Memo1;
    QWidget *Panel_Bottom;
    DottedLine *Shape2;
    QWidget *sepeartor;
    QToolButton *FolderCreate;
    QToolButton *FolderOpen;
    QToolButton *print_button;

    int Tag = 0;
    double NoteDate = 0;
    QString DayNoteName;
    QString DayNoteFile;
    QString DayFolder;
    QWidget *HostPanel;
    bool NoteLoaded = false;

    // The note's text as stored.
    QString text() const;
    void setText(const QString &text);
    // True when the text changed since the editor was last bound to a date.
    bool isModified() const;
    void setModified(bool modified);

    // Remembers the text as it now stands in the note file, so a save that
    // would write the same bytes again can be skipped.
    void markStored();
    // True when the note file already holds exactly the editor's text.
    bool isStored() const;

    // Background of the text area and the bottom bar.
    void setDayColor(const QColor &color);
    QColor dayColor() const;

    void Memo1Exit();
    void Memo1Click();
    void FolderOpenClick();
    void print_buttonClick();

Q_SIGNALS:
    // The print button was pressed; the week view prints the note.
    void printRequested(TEdit *editor);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void layoutControls();

    TWeek *m_week;
    QColor m_dayColor;
    int m_storedRevision = -1;
    QString m_storedFile;
    QDateTime m_storedTime;
    qint64 m_storedSize = -1;
};
