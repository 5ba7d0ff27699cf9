#pragma once

#include "core/calendar/daynotes.h"

#include <QList>
#include <QSet>
#include <QObject>
#include <QString>

class QTextDocument;
class QWidget;
class DataFolder;
class DayNoteColumn;
struct Services;

// The week view: seven day editors side by side, the day offset of the
// leftmost column from today, and the operations that move and save them.
class WeekController : public QObject
{
    Q_OBJECT
public:
    WeekController(DataFolder *dataFolder, const Services &services, QWidget *dialogParent);
    ~WeekController() override;

    // The columns in creation order (not the order they stand in: see
    // DayNoteColumn::position).
    const QList<DayNoteColumn *> &columns() const { return m_columns; }
    // Days from today to the leftmost column, as of the last move. The week
    // itself is held as its first day, so that a window left open past
    // midnight keeps moving one day at a time.
    int offsetFromToday() const { return m_offsetFromToday; }
    // The editor whose text area was clicked last.
    DayNoteColumn *currentColumn() const { return m_currentColumn; }
    void setCurrentColumn(DayNoteColumn *column) { m_currentColumn = column; }

    // The first days a week can start on: every column must show a date
    // the program can name, from 30 December 1899 to 31 December 9999.
    static int earliestFirstDay();
    static int latestFirstDay();

    // The day number of the leftmost column.
    int firstDay() const { return m_firstDay; }

    // Creates one day column in the host panel at the given position
    // (1 = leftmost), showing today + position - 1.
    DayNoteColumn *addDayColumn(QWidget *panel, int position);

    // Shows the week starting on the day (kept inside the nameable range),
    // in two phases: first every edited note is written to the date it
    // shows; only when all of them are on disk are the seven columns bound
    // to the new dates. When a write fails nothing moves: every column keeps
    // its date and text, and the failure is returned. A note that cannot be
    // read does not stop the move: its column is bound to its date and says
    // why it is read-only.
    Result showWeek(int firstDay);

    // Rebinds the shown week, reading every note again.
    Result reloadWeek();

    // Saves the edited notes: writes every note edited since it was loaded
    // or last saved, and nothing else. All are tried; the failures are
    // returned, one line each, and their text stays in the editors.
    Result saveAllNotes();

    // saveAllNotes, showing a failure in a message box.
    bool saveAllNotesReporting();

    void resizeDayColumns(int columnWidth, int editorHeight);

    // Makes the date the leftmost column.
    Result showWeekFrom(double date);

    // Moves the week one day back (-1) or forward (+1) from the week shown.
    Result moveBy(int days);

    // Creates (when missing) and opens the editor's day folder.
    void openDayFolder(DayNoteColumn *editor);

    // Closes and destroys the editors.
    void destroyColumns();

    // The note files the seven columns show.
    QStringList shownFiles() const;

    // Notes changed on disk by another program: a column that shows one and
    // was not edited shows the new text; an edited one keeps its text, and
    // its next save keeps the other version beside it.
    void followDiskChanges(const QStringList &paths);

    double now() const;
    int today() const;

Q_SIGNALS:
    void printRequested(DayNoteColumn *editor);
    // The columns show other note files (see shownFiles).
    void shownFilesChanged();

private:
    QList<DayNoteColumn *> m_columns;
    int m_offsetFromToday = 0;
    DayNoteColumn *m_currentColumn = nullptr;
    // Binds the editor to the day, giving it the document when it already
    // holds that day's note, and reading the note otherwise.
    void bindColumn(DayNoteColumn *editor, int day, QTextDocument *loaded);
    // The note file of the day, after adopting one stored under the
    // locale's month name.
    QString notePathFor(int day);
    QString folderPathFor(int day);
    void noteAdoption(const DayNotes::Adoption &adoption);
    // Shows what was renamed, or kept under two names, since the last call.
    void reportAdoptions();
    // Writes the editor's text to its note file.
    Result writeNote(DayNoteColumn *editor);
    // Chains the editors for Tab: column by column, left to right.
    void orderTabChain();

    DataFolder *m_dataFolder;
    const Services &m_services;
    QWidget *m_dialogParent;
    bool m_saving = false;
    int m_firstDay = 0;
    QList<DayNotes::Adoption> m_adoptions;
    QSet<QString> m_reportedConflicts;
};
