#pragma once

#include <QList>
#include <QObject>
#include <QString>

class QWidget;
class TDir;
class TEdit;
struct Services;

// The week view: seven day editors side by side, the day offset of the
// leftmost column from today, and the operations that move and save them.
class TWeek : public QObject
{
    Q_OBJECT
public:
    TWeek(TDir *dataFolder, const Services &services, QWidget *dialogParent);
    ~TWeek() override;

    // The editors in creation order (Panel1 ... Panel7).
    QList<TEdit *> EditorList;
    // The leftmost column shows today + DayOffset.
    int DayOffset = 0;
    // The editor whose text area was clicked last.
    TEdit *CurrentEditor = nullptr;

    // Creates one day editor in the host panel with the given column tag.
    TEdit *AddDayEditor(QWidget *panel, int tag);

    // Binds an editor to a date. An editor that once loaded a note file, or
    // whose text changed since it was bound, first writes the date it
    // leaves; when that write fails the editor keeps its date and text and
    // the error is returned.
    bool ShowDay(TEdit *editor, double date, QString *error = nullptr);

    // Binds every editor to today + DayOffset + tag - 1; stops at the first
    // editor that cannot write the date it leaves.
    bool ReloadWeek(QString *error = nullptr);

    // Writes every editor's text to its note file; stops at the first
    // failure, which is returned.
    bool SaveAllNotes(QString *error = nullptr);

    // SaveAllNotes, showing a failure in a message box.
    bool SaveAllNotesReporting();

    void ResizeDayEditors(int columnWidth, int editorHeight);

    // Makes the date the leftmost column.
    bool ShowWeekFrom(double date, QString *error = nullptr);

    // Moves the week one day back (-1) or forward (+1).
    bool MoveBy(int days, QString *error = nullptr);

    // Creates (when missing) and opens the editor's day folder.
    void FolderOpenClick(TEdit *editor);

    // Closes and destroys the editors.
    void DestroyEditors();

    double now() const;
    int today() const;

Q_SIGNALS:
    void printRequested(TEdit *editor);

private:
    // Writes the editor's text to its note file unless the file already
    // holds it.
    bool writeNote(TEdit *editor, QString *error);
    // Chains the editors for Tab: column by column, left to right.
    void orderTabChain();

    TDir *m_dataFolder;
    const Services &m_services;
    QWidget *m_dialogParent;
    bool m_saving = false;
};
