#include "ui/topics/decisionsworkspace.h"

#include "core/datafolder/datafolder.h"
#include "ui/common/look.h"
#include "ui/topics/linenumberedit.h"
#include "ui/topics/splitterbar.h"
#include "core/topics/topicfiles.h"

#include <QCoreApplication>
#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QShortcut>
#include <QStackedWidget>
#include <QTabBar>
#include <QTextBlock>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

constexpr int kTitleHeight = 24;
constexpr int kHeaderHeight = 33;
constexpr int kFinalStripHeight = 75;
constexpr int kMadeHeight = 49;
constexpr int kSplitterWidth = 3;
constexpr int kMinColumn = 30;
constexpr int kLabelGap = 6;
constexpr int kLinksStripHeight = 33;
const QColor kLineColor(0xC1, 0xE0, 0xFF);
const QColor kLinkColor(0x00, 0x80, 0xFF);

TopicWorkspaceSetup decisionSetup(const DataFolder &dataFolder)
{
    TopicWorkspaceSetup setup;
    setup.topicsFile = dataFolder.configDir() + QStringLiteral("Decision_Topics.txt");
    setup.folder = dataFolder.decisionDir();
    const TopicEditorKind lines = TopicEditorKind::Lines;
    const TopicEditorKind text = TopicEditorKind::Text;
    auto caption = [](const char *text) { return QCoreApplication::translate("DecisionsWorkspace", text); };
    setup.editors = {{QStringLiteral("plus"), lines, caption("Reasons For")},
                     {QStringLiteral("minus"), lines, caption("Reasons Against")},
                     {QStringLiteral("made"), text, caption("Final Decision")},
                     {QStringLiteral("Done"), text, caption("Done")},
                     {QStringLiteral("NextStep"), text, caption("Next Step")},
                     {QStringLiteral("Links"), text, caption("Links")},
                     {QStringLiteral("Other"), text, caption("Other")}};
    setup.builtInTopics = Topics::builtInDecisionTopics();
    return setup;
}

LineNumberEdit *columnEditor(const QString &name, const QString &spoken, QWidget *parent)
{
    auto *editor = new LineNumberEdit(parent);
    editor->setObjectName(name);
    editor->setAccessibleName(spoken);
    editor->setFrameShape(QFrame::NoFrame);
    editor->setFont(fixedPixelFont(13));
    editor->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    editor->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    editor->setGutterColor(Qt::white);
    editor->setGutterDigits(2);
    editor->setGutterFont(fixedPixelFont(11));
    editor->setGutterLeftOffset(3);
    return editor;
}

QPlainTextEdit *memo(const QString &name, const QString &spoken, QWidget *parent)
{
    auto *editor = new QPlainTextEdit(parent);
    editor->setObjectName(name);
    editor->setAccessibleName(spoken);
    editor->setFont(hintedPixelFont(QStringLiteral("Arial"), 16));
    editor->setFrameShape(QFrame::NoFrame);
    return editor;
}

QWidget *page(const QString &name, const QString &caption)
{
    auto *sheet = new QWidget;
    sheet->setObjectName(name);
    sheet->setWindowTitle(caption);
    fillBackgroundAndBase(sheet, Qt::white);
    return sheet;
}

QVBoxLayout *fillLayout(QWidget *sheet)
{
    auto *layout = new QVBoxLayout(sheet);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    return layout;
}

} // namespace

DecisionsWorkspace::DecisionsWorkspace(const DataFolder &dataFolder, const Services &services, QWidget *parent)
    : TopicWorkspace(services, decisionSetup(dataFolder), Design{289, 264, 56, QStringLiteral("?"), tr("Title")},
                     parent)
    , m_dataFolder(dataFolder)
{
    setObjectName(QStringLiteral("Decision"));
    setWindowTitle(QStringLiteral("Decision"));

    titleLabel->setFont(hintedPixelFont(QStringLiteral("Arial"), 21, FontStyle::Bold));
    setTextColor(titleLabel, Qt::gray);

    m_taglineLabel = new QLabel(tr("Helps you make  important decisions"), writePanel);
    m_taglineLabel->setObjectName(QStringLiteral("Label10"));
    m_taglineLabel->setFont(hintedPixelFont(QStringLiteral("Georgia"), 16, FontStyle::Italic));
    setTextColor(m_taglineLabel, Qt::gray);
    m_taglineLabel->adjustSize();

    columnHeader = new QWidget(writePanel);
    columnHeader->setObjectName(QStringLiteral("Decision_Panel"));
    fillBackgroundAndBase(columnHeader, Qt::white);
    forLabel = new QLabel(tr("Reasons For  "), columnHeader);
    forLabel->setObjectName(QStringLiteral("Label1"));
    againstLabel = new QLabel(tr("Reasons Against"), columnHeader);
    againstLabel->setObjectName(QStringLiteral("Against_Label"));
    for (QLabel *label : {forLabel, againstLabel}) {
        label->setFont(hintedPixelFont(QStringLiteral("Georgia"), 21, FontStyle::Italic));
        setTextColor(label, Qt::black);
        label->adjustSize();
    }
    m_headerLine = filledShape(QStringLiteral("Shape2"), kLineColor, columnHeader);

    pages = new QStackedWidget(writePanel);
    pages->setObjectName(QStringLiteral("pgProject"));
    reasonsPage = page(QStringLiteral("TabSheet5"), QStringLiteral("Journal"));
    m_decisionPage = page(QStringLiteral("TabSheet7"), QStringLiteral("Decision"));
    donePage = page(QStringLiteral("TabSheet11"), QStringLiteral("Done"));
    nextStepPage = page(QStringLiteral("TabSheet6"), QStringLiteral("Next Step"));
    linksPage = page(QStringLiteral("Tabsheet9"), QStringLiteral("Links"));
    otherPage = page(QStringLiteral("TabSheet10"), QStringLiteral("Other"));
    for (QWidget *sheet : {reasonsPage, m_decisionPage, donePage, nextStepPage, linksPage, otherPage})
        pages->addWidget(sheet);

    // First page: the two columns, the splitter between them, and the
    // final decision below both.
    plus = columnEditor(QStringLiteral("plus"), tr("Reasons For"), reasonsPage);
    editSplitter = new SplitterBar(kLineColor, reasonsPage);
    editSplitter->setObjectName(QStringLiteral("Edit_Splitter"));
    minus = columnEditor(QStringLiteral("minus"), tr("Reasons Against"), reasonsPage);
    m_finalDecisionPanel = new QWidget(reasonsPage);
    m_finalDecisionPanel->setObjectName(QStringLiteral("Panel2"));
    fillBackgroundAndBase(m_finalDecisionPanel, Qt::white);
    m_finalDecisionLabel = new QLabel(tr("Final Decison"), m_finalDecisionPanel);
    m_finalDecisionLabel->setObjectName(QStringLiteral("Label2"));
    m_finalDecisionLabel->setFont(hintedPixelFont(QStringLiteral("Georgia"), 21, FontStyle::Italic));
    setTextColor(m_finalDecisionLabel, Qt::black);
    made = memo(QStringLiteral("made"), tr("Final Decision"), m_finalDecisionPanel);
    made->setFrameShape(QFrame::Box);
    made->setStyleSheet(QStringLiteral("QPlainTextEdit#made { border: 1px solid #C8D6E2; }"));
    m_finalDecisionLabel->setBuddy(made);
    connect(editSplitter, &SplitterBar::draggedTo, this, &DecisionsWorkspace::dragSplitterTo);

    done = memo(QStringLiteral("Done"), tr("Done"), donePage);
    fillLayout(donePage)->addWidget(done);
    nextStep = memo(QStringLiteral("NextStep"), tr("Next Step"), nextStepPage);
    fillLayout(nextStepPage)->addWidget(nextStep);

    m_linksStrip = new QWidget(linksPage);
    m_linksStrip->setObjectName(QStringLiteral("Panel10"));
    m_linksStrip->setFixedHeight(kLinksStripHeight);
    m_linksHint = new QLabel(tr("Paste URL Links Here (one on each line) - double click to open"), m_linksStrip);
    m_linksHint->setObjectName(QStringLiteral("Label3"));
    m_linksHint->setFont(hintedPixelFont(QStringLiteral("Arial"), 13));
    setTextColor(m_linksHint, Qt::gray);
    openLinkButton = new QToolButton(m_linksStrip);
    openLinkButton->setObjectName(QStringLiteral("SpeedButton1"));
    openLinkButton->setText(tr("Open Link"));
    openLinkButton->setAccessibleName(tr("Open Link"));
    openLinkButton->setToolTip(tr("Open the link on the caret's line"));
    openLinkButton->setAutoRaise(true);
    openLinkButton->setCursor(Qt::PointingHandCursor);
    openLinkButton->setFocusPolicy(Qt::StrongFocus);
    openLinkButton->setFont(hintedPixelFont(QStringLiteral("Arial"), 12));
    openLinkButton->setStyleSheet(QStringLiteral("QToolButton { color: #0080FF; }"));
    auto *strip = new QHBoxLayout(m_linksStrip);
    strip->setContentsMargins(8, 0, 8, 0);
    strip->addWidget(m_linksHint, 1);
    strip->addWidget(openLinkButton);
    links = memo(QStringLiteral("Links"), tr("Links"), linksPage);
    QVBoxLayout *linksLayout = fillLayout(linksPage);
    linksLayout->addWidget(m_linksStrip);
    linksLayout->addWidget(links, 1);
    links->viewport()->installEventFilter(this);
    connect(openLinkButton, &QToolButton::clicked, this, &DecisionsWorkspace::openCaretLink);

    other = memo(QStringLiteral("Other"), tr("Other"), otherPage);
    fillLayout(otherPage)->addWidget(other);

    for (QPlainTextEdit *editor : {static_cast<QPlainTextEdit *>(plus), static_cast<QPlainTextEdit *>(minus),
                                   made, done, nextStep, links, other})
        addEditor(editor);

    // The tabs of the page control stay hidden; this strip under the pages
    // reaches every page that holds a note. "Decision" holds nothing.
    pageTabs = new QTabBar(writePanel);
    pageTabs->setObjectName(QStringLiteral("pgProjectTabs"));
    pageTabs->setAccessibleName(tr("Decision pages"));
    pageTabs->setShape(QTabBar::RoundedSouth);
    pageTabs->setDocumentMode(true);
    pageTabs->setExpanding(false);
    pageTabs->setDrawBase(false);
    pageTabs->setFont(hintedPixelFont(QStringLiteral("Arial"), 12));
    const struct
    {
        QString caption;
        QWidget *sheet;
    } tabs[] = {{tr("Reasons"), reasonsPage},
                {donePage->windowTitle(), donePage},
                {nextStepPage->windowTitle(), nextStepPage},
                {linksPage->windowTitle(), linksPage},
                {otherPage->windowTitle(), otherPage}};
    for (const auto &tab : tabs) {
        pageTabs->addTab(tab.caption);
        m_tabPages.append(pages->indexOf(tab.sheet));
    }
    connect(pageTabs, &QTabBar::currentChanged, this,
            [this](int tab) { pages->setCurrentIndex(m_tabPages.value(tab, 0)); });
    connect(pages, &QStackedWidget::currentChanged, this, &DecisionsWorkspace::pageChanged);
    auto *next = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_PageDown), this);
    next->setContext(Qt::WidgetWithChildrenShortcut);
    connect(next, &QShortcut::activated, this, [this] {
        pageTabs->setCurrentIndex((pageTabs->currentIndex() + 1) % pageTabs->count());
    });
    auto *previous = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_PageUp), this);
    previous->setContext(Qt::WidgetWithChildrenShortcut);
    connect(previous, &QShortcut::activated, this, [this] {
        const int count = pageTabs->count();
        pageTabs->setCurrentIndex((pageTabs->currentIndex() + count - 1) % count);
    });

    setTabOrder(renameTopicButton, plus);
    setTabOrder(plus, minus);
    setTabOrder(minus, made);
    setTabOrder(made, pageTabs);
    resizeTo(865, 561);
}

void DecisionsWorkspace::resizeTo(int width, int height)
{
    TopicWorkspace::resizeTo(width, height);
    // Half the page less 10, rounded toward zero; the page control spans
    // the whole writing side.
    const int pageWidth = pages->width();
    plus->resize(qMax(0, pageWidth / 2 - 10), plus->height());
    layoutColumns();
}

void DecisionsWorkspace::layoutWritePanel()
{
    const int width = writePanel->width();
    const int height = writePanel->height();
    const int labelWidth = m_taglineLabel->sizeHint().width();
    m_taglineLabel->setGeometry(qMax(0, width - labelWidth - 8), 2, labelWidth, 22);
    titleLabel->setGeometry(8, 0, qMax(0, width - labelWidth - 24), kTitleHeight);

    const bool header = pages->currentIndex() == 0;
    columnHeader->setVisible(header);
    columnHeader->setGeometry(0, kTitleHeight, width, kHeaderHeight);
    forLabel->move(8, 4);
    m_headerLine->setGeometry(0, kHeaderHeight - 3, width, 3);

    const int tabsHeight = pageTabs->sizeHint().height();
    pageTabs->setGeometry(0, qMax(0, height - tabsHeight), width, tabsHeight);
    const int top = kTitleHeight + (header ? kHeaderHeight : 0);
    pages->setGeometry(0, top, width, qMax(0, height - top - tabsHeight));
    layoutColumns();
}

void DecisionsWorkspace::layoutColumns()
{
    // The page is placed here as well, so the columns follow at once even
    // while the section is hidden.
    const QSize size = pages->size();
    if (pages->currentWidget() == reasonsPage)
        reasonsPage->setGeometry(0, 0, size.width(), size.height());
    const int pageWidth = size.width();
    const int pageHeight = reasonsPage->height();
    const int columnsHeight = qMax(0, pageHeight - kFinalStripHeight);
    const int plusWidth = qBound(0, plus->width(), qMax(0, pageWidth - kSplitterWidth));
    plus->setGeometry(0, 0, plusWidth, columnsHeight);
    editSplitter->setGeometry(plusWidth, 0, kSplitterWidth, columnsHeight);
    const int minusLeft = plusWidth + kSplitterWidth;
    minus->setGeometry(minusLeft, 0, qMax(0, pageWidth - minusLeft), columnsHeight);
    m_finalDecisionPanel->setGeometry(0, columnsHeight, pageWidth, kFinalStripHeight);
    m_finalDecisionLabel->setGeometry(8, 0, qMax(0, pageWidth - 16), 24);
    made->setGeometry(8, 24, qMax(0, pageWidth - 16), kMadeHeight);
    againstLabel->move(qMax(editSplitter->x(), againstLabelLeast()), 4);
}

int DecisionsWorkspace::againstLabelLeast() const
{
    // "Reasons Against" starts after "Reasons For", never on it.
    return forLabel->x() + forLabel->width() + kLabelGap;
}

void DecisionsWorkspace::dragSplitterTo(int left)
{
    const int pageWidth = reasonsPage->width();
    const int least = qMax(kMinColumn, againstLabelLeast());
    const int most = qMax(least, pageWidth - kSplitterWidth - qMax(kMinColumn, againstLabel->width()));
    plus->resize(qBound(least, left, most), plus->height());
    layoutColumns();
    followSplitter();
}

void DecisionsWorkspace::followSplitter()
{
    againstLabel->move(qMax(editSplitter->x(), againstLabelLeast()), againstLabel->y());
}

void DecisionsWorkspace::pageChanged()
{
    const int tab = m_tabPages.indexOf(pages->currentIndex());
    if (tab >= 0 && tab != pageTabs->currentIndex())
        pageTabs->setCurrentIndex(tab);
    layoutWritePanel();
}

bool DecisionsWorkspace::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == links->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::LeftButton)
            openLinkAt(mouse->position().toPoint());
    }
    return TopicWorkspace::eventFilter(watched, event);
}

void DecisionsWorkspace::openLinkAt(const QPoint &viewportPos)
{
    openLink(links->cursorForPosition(viewportPos).block().text());
}

void DecisionsWorkspace::openCaretLink()
{
    openLink(links->textCursor().block().text());
}

void DecisionsWorkspace::openLink(const QString &line)
{
    const QString link = line.trimmed();
    if (!link.isEmpty())
        m_dataFolder.shellOpen(link);
}

void DecisionsWorkspace::showEditorPage(int index)
{
    // plus, minus and made share the first page; the other notes have one
    // each, in the order of the editor set.
    QWidget *const sheets[] = {reasonsPage, reasonsPage, reasonsPage, donePage, nextStepPage, linksPage, otherPage};
    if (index < 0 || index >= int(std::size(sheets)))
        return;
    const int page = pages->indexOf(sheets[index]);
    const qsizetype tab = m_tabPages.indexOf(page);
    if (tab >= 0)
        pageTabs->setCurrentIndex(int(tab));
}
