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

DayNoteColumn::DayNoteColumn(WeekController *week, QWidget *hostPanel)
    : QWidget(hostPanel)
    , HostPanel(hostPanel)
    , m_week(week)
{
    setObjectName(QStringLiteral("Edit"));
    paintWhite(this);
    setFont(arial13());

    topPanel = new QWidget(this);
    topPanel->setObjectName(QStringLiteral("Top_panel"));
    paintWhite(topPanel);

    dateLabel = new QLabel(topPanel);
    dateLabel->setObjectName(QStringLiteral("Date_Label"));
    dateLabel->setFont(arial13());
    setTextColor(dateLabel, Qt::red);

    Shape1 = new DottedLine(QColor(0xC0, 0xC0, 0xC0), this);
    Shape1->setObjectName(QStringLiteral("Shape1"));

    Memo1 = new NoteMemo(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setFont(arial13());

    panelBottom = new QWidget(this);
    panelBottom->setObjectName(QStringLiteral("Panel_Bottom"));
    panelBottom->setAutoFillBackground(true);

    Shape2 = new DottedLine(QColor(0xC0, 0xC0, 0xC0), panelBottom);
    Shape2->setObjectName(QStringLiteral("Shape2"));
    sepeartor = new QWidget(panelBottom);
    sepeartor->setObjectName(QStringLiteral("sepeartor"));

    const QString hint = tr("Open Data Folder");
    folderCreate = new PictureButton(QStringLiteral(":/icons/folder_create.svg"), hint, panelBottom);
    folderCreate->setObjectName(QStringLiteral("FolderCreate"));
    folderOpen = new PictureButton(QStringLiteral(":/icons/folder_open.svg"), hint, panelBottom);
    folderOpen->setObjectName(QStringLiteral("FolderOpen"));
    for (QToolButton *b : {folderCreate, folderOpen}) {
        b->setToolTip(hint);
        b->setIconSize(QSize(18, 25));
        connect(b, &QToolButton::clicked, this, &DayNoteColumn::folderOpenClick);
    }
    folderOpen->hide();

    printButton = new PictureButton(QStringLiteral(":/icons/print.svg"), tr("Print"), panelBottom);
    printButton->setObjectName(QStringLiteral("print_button"));
    printButton->setToolTip(tr("Print this note"));
    printButton->setIconSize(QSize(16, 16));
    connect(printButton, &QToolButton::clicked, this, &DayNoteColumn::printButtonClick);

    connect(Memo1, &NoteMemo::focusLost, this, &DayNoteColumn::Memo1Exit);
    connect(Memo1, &NoteMemo::clicked, this, &DayNoteColumn::Memo1Click);

    setDayColor(Qt::white);
    setFocusProxy(Memo1);
    // A column takes part in the tab chain as a whole (its text first), so
    // that the week can order its columns for Tab.
    setFocusPolicy(Qt::StrongFocus);
    setTabOrder(Memo1, folderCreate);
    setTabOrder(folderCreate, folderOpen);
    setTabOrder(folderOpen, printButton);
    layoutControls();
}

QString DayNoteColumn::text() const
{
    if (const NoteFiller *filler = NoteFiller::of(Memo1->document()))
        return filler->fullText();
    return Memo1->toPlainText();
}

void DayNoteColumn::setText(const QString &text)
{
    if (text.size() <= NoteFiller::sliceChars) {
        NoteFiller::stop(Memo1->document());
        Memo1->setPlainText(text);
    } else {
        NoteFiller::fill(Memo1->document(), text);
        Memo1->moveCursor(QTextCursor::Start);
    }
    followFiller();
}

bool DayNoteColumn::isFilling() const
{
    return NoteFiller::of(Memo1->document()) != nullptr;
}

void DayNoteColumn::followFiller()
{
    if (NoteFiller *filler = NoteFiller::of(Memo1->document()))
        filler->setOnFinished([this] { updateEditable(); });
    updateEditable();
}

void DayNoteColumn::updateEditable()
{
    const bool fixed = loadFailed() || isFilling();
    Memo1->setReadOnly(fixed);
    printButton->setEnabled(!fixed);
}

bool DayNoteColumn::isModified() const
{
    return !loadFailed() && !isFilling() && Memo1->document()->isModified();
}

void DayNoteColumn::setModified(bool modified)
{
    Memo1->document()->setModified(modified);
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
    Memo1->setPlaceholderText(notice);
    Memo1->setToolTip(failed ? reason : QString());
    Memo1->setAccessibleDescription(notice);
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
    QTextDocument *document = Memo1->document();
    // A document whose parent is not the editor's text control is not
    // deleted when the editor is given another one.
    document->setParent(holder);
    if (NoteFiller *filler = NoteFiller::of(document))
        filler->setOnFinished({});
    return document;
}

void DayNoteColumn::takeDocument(QTextDocument *document)
{
    document->setParent(Memo1);
    if (Memo1->document() != document)
        Memo1->setDocument(document);
    followFiller();
}

void DayNoteColumn::setDayColor(const QColor &color)
{
    m_dayColor = color;
    QPalette memoPal = Memo1->palette();
    memoPal.setColor(QPalette::Base, color);
    memoPal.setColor(QPalette::Text, Qt::black);
    Memo1->setPalette(memoPal);
    setWindowColor(panelBottom, color);
}

QColor DayNoteColumn::dayColor() const
{
    return m_dayColor;
}

void DayNoteColumn::Memo1Exit()
{
    m_week->saveAllNotesReporting();
}

void DayNoteColumn::Memo1Click()
{
    m_week->currentEditor = this;
}

void DayNoteColumn::folderOpenClick()
{
    m_week->folderOpenClick(this);
}

void DayNoteColumn::printButtonClick()
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
    topPanel->setGeometry(0, 0, w, kBarHeight);
    dateLabel->setGeometry(4, 0, qMax(0, w - 4), 18);
    Shape1->setGeometry(0, kBarHeight, 1, qMax(0, h - 2 * kBarHeight));
    // The memo's width is set by the week's resize rule (column width - 2).
    Memo1->move(1, kBarHeight);
    Memo1->resize(Memo1->width(), qMax(0, h - 2 * kBarHeight));
    panelBottom->setGeometry(0, qMax(kBarHeight, h - kBarHeight), w, kBarHeight);
    Shape2->setGeometry(0, 0, 1, kBarHeight);
    sepeartor->setGeometry(1, 0, 8, kBarHeight);
    folderCreate->setGeometry(9, 0, 18, kBarHeight);
    folderOpen->setGeometry(9, 0, 18, kBarHeight);
    printButton->setGeometry(48, 1, 23, 22);
}
