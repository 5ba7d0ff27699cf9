#include "ui/calendar/weekcontroller.h"

#include "core/calendar/daynotes.h"
#include "core/common/dateformat.h"
#include "core/common/daynumber.h"
#include "core/common/textfile.h"
#include "core/datafolder/datafolder.h"
#include "ui/calendar/notememo.h"
#include "core/platform/clock.h"
#include "ui/platform/dialogs.h"
#include "ui/platform/services.h"
#include "ui/calendar/daynotecolumn.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QToolButton>
#include <QHash>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <utility>

namespace {
const QColor kWeekendColor(0xFF, 0xFF, 0xF0);
} // namespace

WeekController::WeekController(DataFolder *dataFolder, const Services &services, QWidget *dialogParent)
    : m_dataFolder(dataFolder)
    , m_services(services)
    , m_dialogParent(dialogParent)
{
}

WeekController::~WeekController() = default;

double WeekController::now() const
{
    return m_services.clock->nowDayNumber();
}

int WeekController::today() const
{
    return m_services.clock->todayDayNumber();
}

int WeekController::earliestFirstDay()
{
    return 0; // 30 December 1899
}

int WeekController::latestFirstDay()
{
    return DayNumber::fromDate(QDate(9999, 12, 31)) - 6;
}

DayNoteColumn *WeekController::addDayColumn(QWidget *panel, int position)
{
    if (m_columns.isEmpty()) {
        // Notes and day folders named under this desktop's language by an
        // older install get the names every language shares, once.
        for (const DayNotes::Adoption &adoption :
             DayNotes::adoptAllLocaleNamed(m_dataFolder->dbDir(), m_dataFolder->userDataDir(), QLocale()))
            noteAdoption(adoption);
        m_firstDay = std::clamp(today(), earliestFirstDay(), latestFirstDay());
        m_offsetFromToday = m_firstDay - today();
    }
    auto *editor = new DayNoteColumn(this, panel);
    editor->move(0, 0);
    editor->position = position;
    editor->setObjectName(QStringLiteral("Edit%1").arg(position));
    bindColumn(editor, m_firstDay + position - 1, nullptr);
    editor->resize(panel->width(), panel->height());
    editor->setNoteWidth(panel->width() - 2);
    connect(editor, &DayNoteColumn::printRequested, this, &WeekController::printRequested);
    m_columns.append(editor);
    editor->show();
    m_currentColumn = editor;
    orderTabChain();
    return editor;
}

void WeekController::orderTabChain()
{
    // Columns are made in the order of their hosts' names, but they stand
    // in the order of their positions; Tab follows what the user sees. Each editor
    // moves as a whole: itself (its focus goes to the text), then its text
    // and buttons.
    QList<DayNoteColumn *> leftToRight = m_columns;
    std::stable_sort(leftToRight.begin(), leftToRight.end(),
                     [](const DayNoteColumn *a, const DayNoteColumn *b) { return a->position < b->position; });
    for (qsizetype i = 1; i < leftToRight.size(); ++i)
        QWidget::setTabOrder(leftToRight.at(i - 1), leftToRight.at(i));
}

void WeekController::noteAdoption(const DayNotes::Adoption &adoption)
{
    if (adoption.outcome == DayNotes::Adoption::Nothing)
        return;
    if (adoption.outcome != DayNotes::Adoption::Moved) {
        // Told once per run; the entries stay as they are.
        if (m_reportedConflicts.contains(adoption.localePath))
            return;
        m_reportedConflicts.insert(adoption.localePath);
    }
    m_adoptions.append(adoption);
}

void WeekController::reportAdoptions()
{
    if (m_adoptions.isEmpty())
        return;
    const QList<DayNotes::Adoption> adoptions = std::exchange(m_adoptions, {});
    QStringList lines;
    lines << tr("Day notes and day folders are named with the English month abbreviations "
                "(Jan ... Dec), the same under every language of the desktop.");
    constexpr int kListed = 12;
    int listed = 0;
    for (const DayNotes::Adoption &a : adoptions) {
        if (listed++ == kListed) {
            lines << tr("... and %1 more.").arg(adoptions.size() - kListed);
            break;
        }
        const QString from = QFileInfo(a.localePath).fileName();
        const QString to = QFileInfo(a.fixedPath).fileName();
        switch (a.outcome) {
        case DayNotes::Adoption::Moved:
            lines << tr("\"%1\" is now named \"%2\".").arg(from, to);
            break;
        case DayNotes::Adoption::Kept:
            lines << tr("\"%1\" could not be renamed to \"%2\" (%3); it is used under its old name.")
                         .arg(from, to, a.error);
            break;
        case DayNotes::Adoption::BothHoldText:
            lines << tr("\"%1\" and \"%2\" both hold a note for the same day. Both are kept; "
                        "the week shows \"%2\", the other stays in the folder \"%3\".")
                         .arg(from, to, QDir::toNativeSeparators(QFileInfo(a.localePath).absolutePath()));
            break;
        case DayNotes::Adoption::Nothing:
            break;
        }
    }
    m_services.dialogs->message(m_dialogParent, lines.join(QLatin1Char('\n')));
}

QString WeekController::notePathFor(int day)
{
    const QString fixed = m_dataFolder->dbDir() + DayNotes::noteName(day);
    const QString own = m_dataFolder->dbDir() + DayNotes::localeNoteName(day, QLocale());
    if (own == fixed)
        return fixed;
    const DayNotes::Adoption adoption = DayNotes::adoptLocaleNamed(fixed, own, false);
    noteAdoption(adoption);
    return adoption.outcome == DayNotes::Adoption::Kept ? own : fixed;
}

QString WeekController::folderPathFor(int day)
{
    const QString fixed = m_dataFolder->userDataDir() + DayNotes::folderName(day);
    const QString own = m_dataFolder->userDataDir() + DayNotes::localeFolderName(day, QLocale());
    if (own == fixed)
        return fixed;
    const DayNotes::Adoption adoption = DayNotes::adoptLocaleNamed(fixed, own, true);
    noteAdoption(adoption);
    return adoption.outcome == DayNotes::Adoption::Kept ? own : fixed;
}

void WeekController::bindColumn(DayNoteColumn *editor, int day, QTextDocument *loaded)
{
    editor->noteDate = day;
    editor->setDayColor(DayNotes::isWeekend(day) ? kWeekendColor : QColor(Qt::white));
    editor->setDateCaption(formatDateTime(QStringLiteral("dddd mmm dd"), day));
    editor->dayNoteFile = notePathFor(day);
    editor->dayNoteName = QFileInfo(editor->dayNoteFile).fileName();
    editor->dayFolder = folderPathFor(day);

    if (loaded) {
        editor->takeDocument(loaded);
        editor->setLoadError(QString());
    } else {
        const QFileInfo info(editor->dayNoteFile);
        const bool exists = info.exists() || info.isSymLink();
        const Expected<QString> note = DayNotes::readNote(editor->dayNoteFile);
        if (note) {
            editor->setLoadError(QString());
            editor->setText(note.value);
            if (exists)
                editor->noteLoaded = true;
        } else {
            editor->setLoadError(note.error);
        }
        editor->setModified(false);
    }
    editor->recordFileState();

    editor->showDayFolderExists(QFileInfo(editor->dayFolder).isDir());
}

Result WeekController::showWeek(int firstDay)
{
    firstDay = std::clamp(firstDay, earliestFirstDay(), latestFirstDay());
    // Phase one: every edited note reaches its own date's file, or nothing
    // moves.
    const Result saved = saveAllNotes();
    if (!saved)
        return saved;

    // Phase two: bind all seven m_columns. A note that stays in the week keeps
    // its document (moved to its new column) unless its file changed on
    // disk meanwhile; the documents of days that leave the week are reused
    // for the days that come in.
    QHash<int, QTextDocument *> byDay;
    QList<QTextDocument *> spare;
    for (DayNoteColumn *editor : std::as_const(m_columns)) {
        QTextDocument *document = editor->lendDocument(this);
        const int day = DayNumber::wholeDay(editor->noteDate);
        if (!editor->loadFailed() && !editor->isModified() && editor->fileUnchanged()
            && !byDay.contains(day))
            byDay.insert(day, document);
        else
            spare.append(document);
    }
    QList<DayNoteColumn *> toRead;
    for (DayNoteColumn *editor : std::as_const(m_columns)) {
        const int day = firstDay + editor->position - 1;
        if (QTextDocument *document = byDay.take(day))
            bindColumn(editor, day, document);
        else
            toRead.append(editor);
    }
    spare.append(byDay.values());
    for (DayNoteColumn *editor : std::as_const(toRead)) {
        editor->takeDocument(spare.takeLast());
        bindColumn(editor, firstDay + editor->position - 1, nullptr);
    }
    qDeleteAll(spare); // none left: seven documents for seven m_columns

    m_firstDay = firstDay;
    m_offsetFromToday = m_firstDay - today();
    reportAdoptions();
    Q_EMIT shownFilesChanged();
    return Result::success();
}

QStringList WeekController::shownFiles() const
{
    QStringList files;
    for (const DayNoteColumn *editor : m_columns)
        files.append(editor->dayNoteFile);
    return files;
}

void WeekController::followDiskChanges(const QStringList &paths)
{
    for (DayNoteColumn *editor : std::as_const(m_columns)) {
        const QString file = QDir::cleanPath(QFileInfo(editor->dayNoteFile).absoluteFilePath());
        if (!paths.contains(file) || editor->isModified() || editor->isFilling())
            continue;
        // The program's own saves change the file too; only a change made
        // elsewhere (or a note that could not be read before) is read again.
        if (!editor->loadFailed() && !TextFile::changedOnDisk(editor->dayNoteFile))
            continue;
        // The cursor stays where it was, as far as the new text reaches.
        const int cursor = editor->cursorPosition();
        bindColumn(editor, DayNumber::wholeDay(editor->noteDate), nullptr);
        editor->setCursorPosition(cursor);
    }
    reportAdoptions();
}

Result WeekController::reloadWeek()
{
    return showWeek(m_firstDay);
}

Result WeekController::saveAllNotes()
{
    QStringList failures;
    for (DayNoteColumn *editor : std::as_const(m_columns)) {
        if (!editor->isModified())
            continue; // untouched, or bound to a file that could not be read
        const Result written = writeNote(editor);
        if (!written)
            failures << written.error;
    }
    if (!failures.isEmpty())
        return Result::failure(failures.join(QLatin1Char('\n')));
    return Result::success();
}

Result WeekController::writeNote(DayNoteColumn *editor)
{
    const WriteResult written = TextFile::writeText(editor->dayNoteFile, editor->text());
    if (!written)
        return written;
    editor->setModified(false);
    editor->recordFileState();
    return Result::success();
}

bool WeekController::saveAllNotesReporting()
{
    // A message box takes the focus from the editor, which asks for another
    // save; one report at a time is enough.
    if (m_saving)
        return false;
    m_saving = true;
    const Result saved = saveAllNotes();
    if (!saved)
        m_services.dialogs->error(m_dialogParent, saved.error);
    m_saving = false;
    return saved.ok;
}

void WeekController::resizeDayColumns(int columnWidth, int editorHeight)
{
    for (DayNoteColumn *editor : std::as_const(m_columns)) {
        editor->setNoteWidth(columnWidth - 2);
        editor->hostPanel()->resize(columnWidth, editor->hostPanel()->height());
        editor->resize(columnWidth, editorHeight);
    }
}

Result WeekController::showWeekFrom(double date)
{
    if (!DayNumber::isRepresentable(date))
        return showWeek(date < 0 ? earliestFirstDay() : latestFirstDay());
    return showWeek(DayNumber::wholeDay(date));
}

Result WeekController::moveBy(int days)
{
    return showWeek(m_firstDay + days);
}

void WeekController::openDayFolder(DayNoteColumn *editor)
{
    if (!QFileInfo(editor->dayFolder).isDir()) {
        const QFileInfo info(editor->dayFolder);
        QDir(info.path()).mkdir(info.fileName());
    }
    editor->showDayFolderExists(true);
    m_dataFolder->openFolder(editor->dayFolder);
}

void WeekController::destroyColumns()
{
    const QList<DayNoteColumn *> editors = m_columns;
    m_columns.clear();
    m_currentColumn = nullptr;
    for (DayNoteColumn *editor : editors) {
        editor->silence();
        editor->close();
        delete editor;
    }
}
