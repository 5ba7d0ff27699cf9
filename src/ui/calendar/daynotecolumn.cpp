#include "ui/calendar/daynotecolumn.h"

#include "ui/common/look.h"
#include "ui/common/pictures.h"
#include "ui/calendar/notefiller.h"
#include "ui/calendar/notememo.h"
#include "ui/calendar/weekcontroller.h"
#include "ui/printing/pageprintjob.h"

#include <QFileInfo>
#include <QLabel>
#include <QTextCursor>
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

    m_dateLabel = new QLabel(m_topBar);
    m_dateLabel->setObjectName(QStringLiteral("Date_Label"));
    m_dateLabel->setFont(arial13());
    setTextColor(m_dateLabel, Qt::red);

    m_textEdgeLine = new DottedLine(QColor(0xC0, 0xC0, 0xC0), this);
    m_textEdgeLine->setObjectName(QStringLiteral("Shape1"));

    m_noteEdit = new NoteMemo(this);
    m_noteEdit->setObjectName(QStringLiteral("Memo1"));
    m_noteEdit->setFont(arial13());

    m_bottomBar = new QWidget(this);
    m_bottomBar->setObjectName(QStringLiteral("Panel_Bottom"));
    m_bottomBar->setAutoFillBackground(true);

    m_barEdgeLine = new DottedLine(QColor(0xC0, 0xC0, 0xC0), m_bottomBar);
    m_barEdgeLine->setObjectName(QStringLiteral("Shape2"));
    m_separator = new QWidget(m_bottomBar);
    m_separator->setObjectName(QStringLiteral("sepeartor"));

    const QString hint = tr("Open Data Folder");
    m_createFolderButton = new PictureButton(QStringLiteral(":/icons/folder_create.svg"), hint, m_bottomBar);
    m_createFolderButton->setObjectName(QStringLiteral("FolderCreate"));
    m_openFolderButton = new PictureButton(QStringLiteral(":/icons/folder_open.svg"), hint, m_bottomBar);
    m_openFolderButton->setObjectName(QStringLiteral("FolderOpen"));
    for (QToolButton *b : {m_createFolderButton, m_openFolderButton}) {
        b->setToolTip(hint);
        b->setIconSize(QSize(18, 25));
        connect(b, &QToolButton::clicked, this, &DayNoteColumn::openDayFolder);
    }
    m_openFolderButton->hide();

    m_printButton = new PictureButton(QStringLiteral(":/icons/print.svg"), tr("Print"), m_bottomBar);
    m_printButton->setObjectName(QStringLiteral("print_button"));
    m_printButton->setToolTip(tr("Print this note"));
    m_printButton->setIconSize(QSize(16, 16));
    connect(m_printButton, &QToolButton::clicked, this, &DayNoteColumn::requestPrint);

    connect(m_noteEdit, &NoteMemo::focusLost, this, &DayNoteColumn::saveEditedNotes);
    connect(m_noteEdit, &NoteMemo::clicked, this, &DayNoteColumn::makeCurrent);

    setDayColor(Qt::white);
    setFocusProxy(m_noteEdit);
    // A column takes part in the tab chain as a whole (its text first), so
    // that the week can order its columns for Tab.
    setFocusPolicy(Qt::StrongFocus);
    setTabOrder(m_noteEdit, m_createFolderButton);
    setTabOrder(m_createFolderButton, m_openFolderButton);
    setTabOrder(m_openFolderButton, m_printButton);
    layoutControls();
}

QString DayNoteColumn::text() const
{
    if (const NoteFiller *filler = NoteFiller::of(m_noteEdit->document()))
        return filler->fullText();
    return m_noteEdit->toPlainText();
}

void DayNoteColumn::setText(const QString &text)
{
    if (text.size() <= NoteFiller::sliceChars) {
        NoteFiller::stop(m_noteEdit->document());
        m_noteEdit->setPlainText(text);
    } else {
        NoteFiller::fill(m_noteEdit->document(), text);
        m_noteEdit->moveCursor(QTextCursor::Start);
    }
    followFiller();
}

int DayNoteColumn::cursorPosition() const
{
    return m_noteEdit->textCursor().position();
}

void DayNoteColumn::setCursorPosition(int position)
{
    QTextCursor cursor = m_noteEdit->textCursor();
    cursor.setPosition(qBound(0, position, m_noteEdit->document()->characterCount() - 1));
    m_noteEdit->setTextCursor(cursor);
}

const QTextDocument *DayNoteColumn::document() const
{
    return m_noteEdit->document();
}

void DayNoteColumn::focusText()
{
    m_noteEdit->setFocus(Qt::OtherFocusReason);
}

void DayNoteColumn::selectText(int start, int length)
{
    QTextCursor cursor(m_noteEdit->document());
    cursor.setPosition(start);
    cursor.setPosition(start + length, QTextCursor::KeepAnchor);
    m_noteEdit->setTextCursor(cursor);
    m_noteEdit->ensureCursorVisible();
    focusText();
}

bool DayNoteColumn::isFilling() const
{
    return NoteFiller::of(m_noteEdit->document()) != nullptr;
}

void DayNoteColumn::followFiller()
{
    if (NoteFiller *filler = NoteFiller::of(m_noteEdit->document()))
        filler->setOnFinished([this] { updateEditable(); });
    updateEditable();
}

void DayNoteColumn::updateEditable()
{
    const bool fixed = loadFailed() || isFilling();
    m_noteEdit->setReadOnly(fixed);
    m_printButton->setEnabled(!fixed);
}

bool DayNoteColumn::isModified() const
{
    return !loadFailed() && !isFilling() && m_noteEdit->document()->isModified();
}

void DayNoteColumn::setModified(bool modified)
{
    m_noteEdit->document()->setModified(modified);
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
    m_noteEdit->setPlaceholderText(notice);
    m_noteEdit->setToolTip(failed ? reason : QString());
    m_noteEdit->setAccessibleDescription(notice);
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
    QTextDocument *document = m_noteEdit->document();
    // A document whose parent is not the editor's text control is not
    // deleted when the editor is given another one.
    document->setParent(holder);
    if (NoteFiller *filler = NoteFiller::of(document))
        filler->setOnFinished({});
    return document;
}

void DayNoteColumn::takeDocument(QTextDocument *document)
{
    document->setParent(m_noteEdit);
    if (m_noteEdit->document() != document)
        m_noteEdit->setDocument(document);
    followFiller();
}

void DayNoteColumn::setDayColor(const QColor &color)
{
    m_dayColor = color;
    QPalette memoPal = m_noteEdit->palette();
    memoPal.setColor(QPalette::Base, color);
    memoPal.setColor(QPalette::Text, Qt::black);
    m_noteEdit->setPalette(memoPal);
    setWindowColor(m_bottomBar, color);
}

QColor DayNoteColumn::dayColor() const
{
    return m_dayColor;
}

void DayNoteColumn::setDateCaption(const QString &caption)
{
    m_dateLabel->setText(caption);
}

QString DayNoteColumn::dateCaption() const
{
    return m_dateLabel->text();
}

void DayNoteColumn::showDayFolderExists(bool exists)
{
    m_openFolderButton->setVisible(exists);
    m_createFolderButton->setVisible(!exists);
}

void DayNoteColumn::setNoteWidth(int width)
{
    m_noteEdit->resize(qMax(0, width), m_noteEdit->height());
}

QStringList DayNoteColumn::displayedNoteLines() const
{
    return displayedLines(m_noteEdit);
}

QFont DayNoteColumn::noteFont() const
{
    return m_noteEdit->font();
}

void DayNoteColumn::silence()
{
    blockSignals(true);
    m_noteEdit->blockSignals(true);
}

void DayNoteColumn::saveEditedNotes()
{
    m_week->saveAllNotesReporting();
}

void DayNoteColumn::makeCurrent()
{
    m_week->setCurrentColumn(this);
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
    m_dateLabel->setGeometry(4, 0, qMax(0, w - 4), 18);
    m_textEdgeLine->setGeometry(0, kBarHeight, 1, qMax(0, h - 2 * kBarHeight));
    // The memo's width is set by the week's resize rule (column width - 2).
    m_noteEdit->move(1, kBarHeight);
    m_noteEdit->resize(m_noteEdit->width(), qMax(0, h - 2 * kBarHeight));
    m_bottomBar->setGeometry(0, qMax(kBarHeight, h - kBarHeight), w, kBarHeight);
    m_barEdgeLine->setGeometry(0, 0, 1, kBarHeight);
    m_separator->setGeometry(1, 0, 8, kBarHeight);
    m_createFolderButton->setGeometry(9, 0, 18, kBarHeight);
    m_openFolderButton->setGeometry(9, 0, 18, kBarHeight);
    m_printButton->setGeometry(48, 1, 23, 22);
}
