#include "ui/calendar/daynotecolumn.h"

#include "ui/common/look.h"
#include "ui/common/pictures.h"
#include "ui/calendar/notefiller.h"
#include "ui/calendar/notememo.h"
#include "ui/calendar/weekcontroller.h"

#include <QFileInfo>
#include <QLabel>
#include <QTextDocument>

namespace {
constexpr int kBarHeight = 25;

QFont arial13()
{
    return pixelFont(QStringLiteral("Arial"), 13);
}
} // namespace

DayNoteColumn::DayNoteColumn(WeekController *week, QWidget *host)
    : QWidget(host)
    , m_hostPanel(host)
    , m_week(week)
{
    setObjectName(QStringLiteral("Edit"));
    paintWhite(this);
    setFont(arial13());

    m_topBar = new QWidget(this);
    m_topBar->setObjectName(QStringLiteral("Top_panel"));
    paintWhite(m_topBar);

    dateLabel = new QLabel(m_topBar);
    dateLabel->setObjectName(QStringLiteral("Date_Label"));
    dateLabel->setFont(arial13());
    setTextColor(dateLabel, Qt::red);

    m_textEdgeLine = new DottedLine(QColor(0xC0, 0xC0, 0xC0), this);
    m_textEdgeLine->setObjectName(QStringLiteral("Shape1"));

    noteEdit = new NoteMemo(this);
    noteEdit->setObjectName(QStringLiteral("Memo1"));
    noteEdit->setFont(arial13());

    m_bottomBar = new QWidget(this);
    m_bottomBar->setObjectName(QStringLiteral("Panel_Bottom"));
    m_bottomBar->setAutoFillBackground(true);

    m_barEdgeLine = new DottedLine(QColor(0xC0, 0xC0, 0xC0), m_bottomBar);
    m_barEdgeLine->setObjectName(QStringLiteral("Shape2"));
    m_separator = new QWidget(m_bottomBar);
    m_separator->setObjectName(QStringLiteral("sepeartor"));

    const QString hint = tr("Open Data Folder");
    createFolderButton = new PictureButton(QStringLiteral(":/icons/folder_create.svg"), hint, m_bottomBar);
    createFolderButton->setObjectName(QStringLiteral("FolderCreate"));
    openFolderButton = new PictureButton(QStringLiteral(":/icons/folder_open.svg"), hint, m_bottomBar);
    openFolderButton->setObjectName(QStringLiteral("FolderOpen"));
    for (QToolButton *b : {createFolderButton, openFolderButton}) {
        b->setToolTip(hint);
        b->setIconSize(QSize(18, 25));
        connect(b, &QToolButton::clicked, this, &DayNoteColumn::openDayFolder);
    }
    openFolderButton->hide();

    printButton = new PictureButton(QStringLiteral(":/icons/print.svg"), tr("Print"), m_bottomBar);
    printButton->setObjectName(QStringLiteral("print_button"));
    printButton->setToolTip(tr("Print this note"));
    printButton->setIconSize(QSize(16, 16));
    connect(printButton, &QToolButton::clicked, this, &DayNoteColumn::requestPrint);

    connect(noteEdit, &NoteMemo::focusLost, this, &DayNoteColumn::saveEditedNotes);
    connect(noteEdit, &NoteMemo::clicked, this, &DayNoteColumn::makeCurrent);

    setDayColor(Qt::white);
    setFocusProxy(noteEdit);
    // A column takes part in the tab chain as a whole (its text first), so
    // that the week can order its columns for Tab.
    setFocusPolicy(Qt::StrongFocus);
    setTabOrder(noteEdit, createFolderButton);
    setTabOrder(createFolderButton, openFolderButton);
    setTabOrder(openFolderButton, printButton);
    layoutControls();
}

QString DayNoteColumn::text() const
{
    if (const NoteFiller *filler = NoteFiller::of(noteEdit->document()))
        return filler->fullText();
    return noteEdit->toPlainText();
}

void DayNoteColumn::setText(const QString &text)
{
    if (text.size() <= NoteFiller::sliceChars) {
        NoteFiller::stop(noteEdit->document());
        noteEdit->setPlainText(text);
    } else {
        NoteFiller::fill(noteEdit->document(), text);
        noteEdit->moveCursor(QTextCursor::Start);
    }
    followFiller();
}

bool DayNoteColumn::isFilling() const
{
    return NoteFiller::of(noteEdit->document()) != nullptr;
}

void DayNoteColumn::followFiller()
{
    if (NoteFiller *filler = NoteFiller::of(noteEdit->document()))
        filler->setOnFinished([this] { updateEditable(); });
    updateEditable();
}

void DayNoteColumn::updateEditable()
{
    const bool fixed = loadFailed() || isFilling();
    noteEdit->setReadOnly(fixed);
    printButton->setEnabled(!fixed);
}

bool DayNoteColumn::isModified() const
{
    return !loadFailed() && !isFilling() && noteEdit->document()->isModified();
}

void DayNoteColumn::setModified(bool modified)
{
    noteEdit->document()->setModified(modified);
}

void DayNoteColumn::setLoadError(const QString &reason)
{
    m_loadError = reason;
    const bool failed = !reason.isEmpty();
    if (failed) {
        setText(QString());
        setModified(false);
    }
    updateEditable();
    const QString notice = failed ? tr("This note cannot be read.\n\n%1\n\nIt stays as it is on disk, "
                                       "and nothing is saved over it until it can be read.")
                                        .arg(reason)
                                  : QString();
    noteEdit->setPlaceholderText(notice);
    noteEdit->setToolTip(failed ? reason : QString());
    noteEdit->setAccessibleDescription(notice);
}

void DayNoteColumn::recordFileState()
{
    const QFileInfo info(dayNoteFile);
    m_fileExisted = info.exists();
    m_fileSize = m_fileExisted ? info.size() : -1;
    m_fileTime = m_fileExisted ? info.lastModified() : QDateTime();
}

bool DayNoteColumn::fileUnchanged() const
{
    const QFileInfo info(dayNoteFile);
    if (info.exists() != m_fileExisted)
        return false;
    return !m_fileExisted || (info.size() == m_fileSize && info.lastModified() == m_fileTime);
}

QTextDocument *DayNoteColumn::lendDocument(QObject *holder)
{
    QTextDocument *document = noteEdit->document();
    // A document whose parent is not the editor's text control is not
    // deleted when the editor is given another one.
    document->setParent(holder);
    if (NoteFiller *filler = NoteFiller::of(document))
        filler->setOnFinished({});
    return document;
}

void DayNoteColumn::takeDocument(QTextDocument *document)
{
    document->setParent(noteEdit);
    if (noteEdit->document() != document)
        noteEdit->setDocument(document);
    followFiller();
}

void DayNoteColumn::setDayColor(const QColor &color)
{
    m_dayColor = color;
    QPalette memoPal = noteEdit->palette();
    memoPal.setColor(QPalette::Base, color);
    memoPal.setColor(QPalette::Text, Qt::black);
    noteEdit->setPalette(memoPal);
    setWindowColor(m_bottomBar, color);
}

QColor DayNoteColumn::dayColor() const
{
    return m_dayColor;
}

void DayNoteColumn::saveEditedNotes()
{
    m_week->saveAllNotesReporting();
}

void DayNoteColumn::makeCurrent()
{
    m_week->currentColumn = this;
}

void DayNoteColumn::openDayFolder()
{
    m_week->openDayFolder(this);
}

void DayNoteColumn::requestPrint()
{
    Q_EMIT printRequested(this);
}

void DayNoteColumn::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layoutControls();
}

void DayNoteColumn::layoutControls()
{
    const int w = width();
    const int h = height();
    m_topBar->setGeometry(0, 0, w, kBarHeight);
    dateLabel->setGeometry(4, 0, qMax(0, w - 4), 18);
    m_textEdgeLine->setGeometry(0, kBarHeight, 1, qMax(0, h - 2 * kBarHeight));
    // The memo's width is set by the week's resize rule (column width - 2).
    noteEdit->move(1, kBarHeight);
    noteEdit->resize(noteEdit->width(), qMax(0, h - 2 * kBarHeight));
    m_bottomBar->setGeometry(0, qMax(kBarHeight, h - kBarHeight), w, kBarHeight);
    m_barEdgeLine->setGeometry(0, 0, 1, kBarHeight);
    m_separator->setGeometry(1, 0, 8, kBarHeight);
    createFolderButton->setGeometry(9, 0, 18, kBarHeight);
    openFolderButton->setGeometry(9, 0, 18, kBarHeight);
    printButton->setGeometry(48, 1, 23, 22);
}
