#include "tweek.h"

#include "calendar/daynotes.h"
#include "common/dateformat.h"
#include "common/daynumber.h"
#include "common/textfile.h"
#include "datafolder/tdir.h"
#include "notememo.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/services.h"
#include "tedit.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QToolButton>

#include <algorithm>

namespace {
const QColor kWeekendColor(0xFF, 0xFF, 0xF0);
} // namespace

TWeek::TWeek(TDir *dataFolder, const Services &services, QWidget *dialogParent)
    : m_dataFolder(dataFolder)
    , m_services(services)
    , m_dialogParent(dialogParent)
{
}

TWeek::~TWeek() = default;

double TWeek::now() const
{
    return m_services.clock->nowDayNumber();
}

int TWeek::today() const
{
    return m_services.clock->todayDayNumber();
}

TEdit *TWeek::AddDayEditor(QWidget *panel, int tag)
{
    auto *editor = new TEdit(this, panel);
    editor->move(0, 0);
    editor->Tag = tag;
    editor->setObjectName(QStringLiteral("Edit%1").arg(tag));
    ShowDay(editor, now() + tag - 1);
    editor->resize(panel->width(), panel->height());
    editor->Memo1->resize(qMax(0, panel->width() - 2), editor->Memo1->height());
    connect(editor, &TEdit::printRequested, this, &TWeek::printRequested);
    EditorList.append(editor);
    editor->show();
    CurrentEditor = editor;
    orderTabChain();
    return editor;
}

void TWeek::orderTabChain()
{
    // Editors are made in panel order, but the columns stand in tag order
    // (Panel7 left of Panel6); Tab follows what the user sees. Each editor
    // moves as a whole: itself (its focus goes to the text), then its text
    // and buttons.
    QList<TEdit *> columns = EditorList;
    std::stable_sort(columns.begin(), columns.end(),
                     [](const TEdit *a, const TEdit *b) { return a->Tag < b->Tag; });
    for (qsizetype i = 1; i < columns.size(); ++i)
        QWidget::setTabOrder(columns.at(i - 1), columns.at(i));
}

bool TWeek::ShowDay(TEdit *editor, double date, QString *error)
{
    if ((editor->NoteLoaded || editor->isModified()) && !writeNote(editor, error))
        return false;
    editor->NoteDate = date;
    editor->setDayColor(DayNotes::IsWeekend(date) ? kWeekendColor : QColor(Qt::white));
    editor->Date_Label->setText(FormatDateTime(QStringLiteral("dddd mmm dd"), date));
    editor->DayNoteName = DayNotes::NoteName(date);
    editor->DayNoteFile = m_dataFolder->DBDir + editor->DayNoteName;
    editor->DayFolder = m_dataFolder->UserDataDir + DayNotes::FolderName(date);

    if (QFileInfo::exists(editor->DayNoteFile)) {
        QString readError;
        const QString text = TextFile::readText(editor->DayNoteFile, &readError);
        if (!readError.isEmpty()) {
            // Keep the editor away from a file it cannot read, so that a
            // later save does not replace that file with an empty note.
            editor->setText(QString());
            editor->setEnabled(false);
            editor->setModified(false);
            if (error)
                *error = readError;
            return false;
        }
        editor->setEnabled(true);
        editor->setText(text);
        editor->NoteLoaded = true;
    } else {
        editor->setEnabled(true);
        editor->setText(QString());
    }
    editor->setModified(false);
    editor->markStored();

    const bool hasFolder = QFileInfo(editor->DayFolder).isDir();
    editor->FolderOpen->setVisible(hasFolder);
    editor->FolderCreate->setVisible(!hasFolder);
    return true;
}

bool TWeek::ReloadWeek(QString *error)
{
    const double base = now() + DayOffset;
    for (TEdit *editor : std::as_const(EditorList)) {
        if (!ShowDay(editor, base + editor->Tag - 1, error))
            return false;
    }
    return true;
}

bool TWeek::SaveAllNotes(QString *error)
{
    for (TEdit *editor : std::as_const(EditorList)) {
        if (!editor->isEnabled())
            continue; // bound to a file that could not be read
        if (!writeNote(editor, error))
            return false;
    }
    return true;
}

bool TWeek::writeNote(TEdit *editor, QString *error)
{
    // Rewriting a file with the bytes it already holds changes nothing but
    // costs a disk sync; every other case writes.
    if (editor->isStored())
        return true;
    const WriteResult written = TextFile::writeText(editor->DayNoteFile, editor->text());
    if (!written) {
        if (error)
            *error = written.error;
        return false;
    }
    editor->markStored();
    return true;
}

bool TWeek::SaveAllNotesReporting()
{
    // A message box takes the focus from the editor, which asks for another
    // save; one report at a time is enough.
    if (m_saving)
        return false;
    m_saving = true;
    QString error;
    const bool ok = SaveAllNotes(&error);
    if (!ok)
        m_services.dialogs->error(m_dialogParent, error);
    m_saving = false;
    return ok;
}

void TWeek::ResizeDayEditors(int columnWidth, int editorHeight)
{
    for (TEdit *editor : std::as_const(EditorList)) {
        editor->Memo1->resize(qMax(0, columnWidth - 2), editor->Memo1->height());
        editor->HostPanel->resize(columnWidth, editor->HostPanel->height());
        editor->resize(columnWidth, editorHeight);
    }
}

bool TWeek::ShowWeekFrom(double date, QString *error)
{
    DayOffset = DayNumber::wholeDay(date) - today();
    return ReloadWeek(error);
}

bool TWeek::MoveBy(int days, QString *error)
{
    DayOffset += days;
    return ReloadWeek(error);
}

void TWeek::FolderOpenClick(TEdit *editor)
{
    if (!QFileInfo(editor->DayFolder).isDir()) {
        const QFileInfo info(editor->DayFolder);
        QDir(info.path()).mkdir(info.fileName());
    }
    editor->FolderOpen->show();
    editor->FolderCreate->hide();
    m_dataFolder->OpenFolder(editor->DayFolder);
}

void TWeek::DestroyEditors()
{
    const QList<TEdit *> editors = EditorList;
    EditorList.clear();
    CurrentEditor = nullptr;
    for (TEdit *editor : editors) {
        editor->blockSignals(true);
        editor->Memo1->blockSignals(true);
        editor->close();
        delete editor;
    }
}
