#pragma once

#include <QDateTime>
#include <QWidget>

class QLabel;
class QTextDocument;
class QToolButton;
class DottedLine;
class NoteMemo;
class WeekController;

// One column of the week: the note of one date, its date caption, and the
// buttons for the day folder and for printing. Bound to dates by WeekController.
class DayNoteColumn : public QWidget
{
    Q_OBJECT
public:
    DayNoteColumn(WeekController *week, QWidget *host);

    // The column's place in the week, 1 (leftmost) to 7.
    int position = 0;
    double noteDate = 0;
    QString dayNoteName;
    QString dayNoteFile;
    QString dayFolder;
    bool noteLoaded = false;

    // The panel of the main window that holds this column.
    QWidget *hostPanel() const { return m_hostPanel; }

    // The note's text as stored.
    QString text() const;
    void setText(const QString &text);
    // True when the user edited the text since it was loaded or last saved.
    // Only such a note is ever written: an untouched one is left as the
    // file on disk has it, whoever changed that file since.
    bool isModified() const;
    void setModified(bool modified);

    // The text cursor's place; a place beyond the end of the text puts the
    // cursor at the end.
    int cursorPosition() const;
    void setCursorPosition(int position);

    // The note's text document as it is shown (a long note may still be
    // laid in), for reading.
    const QTextDocument *document() const;
    // Puts the keyboard focus in the note; selectText also selects length
    // characters from start and scrolls them into view.
    void focusText();
    void selectText(int start, int length);

    // A long note is still being laid in (read-only, never saved, until
    // it is all in).
    bool isFilling() const;

    // The note file could not be read (not a regular file, no permission,
    // an I/O error): the column shows why and stays read-only, and nothing
    // is ever saved over that file from it. An empty reason clears it.
    void setLoadError(const QString &reason);
    bool loadFailed() const { return !m_loadError.isEmpty(); }
    QString loadError() const { return m_loadError; }

    // Remembers the note file's size and time as they stand after a load or
    // a save, and tells whether the file still has them, so that a note
    // that stays in the week can keep its loaded text.
    void recordFileState();
    bool fileUnchanged() const;

    // Hands the text document over to the week while it rebinds the columns
    // (a note that stays in the week moves to its new column without being
    // read and laid out again), and takes one back.
    QTextDocument *lendDocument(QObject *holder);
    void takeDocument(QTextDocument *document);

    // Background of the text area and the bottom bar.
    void setDayColor(const QColor &color);
    QColor dayColor() const;

    // The date above the note ("Friday Jan 05").
    void setDateCaption(const QString &caption);
    QString dateCaption() const;
    // Shows the open-folder button when the day folder exists, the
    // create-folder button when it does not.
    void showDayFolderExists(bool exists);
    // The width of the note's text area (the column lays out the rest).
    void setNoteWidth(int width);
    // The note as it is shown, one entry per displayed line, and its font:
    // what a printout of the note holds.
    QStringList displayedNoteLines() const;
    QFont noteFont() const;
    // Stops the column and its editor from signalling (before it is closed
    // without saving).
    void silence();

    // Asks the week view to print this note (the print button, Ctrl+P).
    void requestPrint();

Q_SIGNALS:
    // The print button was pressed; the week view prints the note.
    void printRequested(DayNoteColumn *editor);

protected:
    void resizeEvent(QResizeEvent *event) override;

private Q_SLOTS:
    // The text lost the focus: the week's edited notes are saved.
    void saveEditedNotes();
    // The text was clicked: this becomes the week's current column.
    void makeCurrent();
    // Creates the day folder when missing, and opens it.
    void openDayFolder();

private:
    void layoutControls();
    // Read-only while the note cannot be read or is still being laid in.
    void updateEditable();
    void followFiller();

    QWidget *m_hostPanel;
    WeekController *m_week;
    QLabel *m_dateLabel;
    NoteMemo *m_noteEdit;
    QToolButton *m_createFolderButton;
    QToolButton *m_openFolderButton;
    QToolButton *m_printButton;
    QWidget *m_topBar = nullptr;
    // The dotted rules at the left edge of the text and of the bottom bar.
    DottedLine *m_textEdgeLine = nullptr;
    QWidget *m_bottomBar = nullptr;
    DottedLine *m_barEdgeLine = nullptr;
    QWidget *m_separator = nullptr;
    QColor m_dayColor;
    QString m_loadError;
    bool m_fileExisted = false;
    qint64 m_fileSize = -1;
    QDateTime m_fileTime;
};
