#include "ui/topics/decisionsworkspace.h"

#include "core/datafolder/datafolder.h"
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
    setup.topicsFile = dataFolder.configDir + QStringLiteral("Decision_Topics.txt");
    setup.folder = dataFolder.decisionDir;
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
    editor->setFont(TopicLook::fixedFont(13));
    editor->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    editor->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    editor->setGutterColor(Qt::white);
    editor->setGutterDigits(2);
    editor->setGutterFont(TopicLook::fixedFont(11));
    editor->setGutterLeftOffset(3);
    return editor;
}

QPlainTextEdit *memo(const QString &name, const QString &spoken, QWidget *parent)
{
    auto *editor = new QPlainTextEdit(parent);
    editor->setObjectName(name);
    editor->setAccessibleName(spoken);
    editor->setFont(TopicLook::pixelFont(QStringLiteral("Arial"), 16));
    editor->setFrameShape(QFrame::NoFrame);
    return editor;
}

QWidget *page(const QString &name, const QString &caption)
{
    auto *sheet = new QWidget;
    sheet->setObjectName(name);
    sheet->setWindowTitle(caption);
    TopicLook::setBackground(sheet, Qt::white);
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
    using namespace TopicLook;
    setObjectName(QStringLiteral("Decision"));
    setWindowTitle(QStringLiteral("Decision"));

    titleLabel->setFont(pixelFont(QStringLiteral("Arial"), 21, true));
    setTextColor(titleLabel, Qt::gray);

    Label10 = new QLabel(tr("Helps you make  important decisions"), writePanel);
    Label10->setObjectName(QStringLiteral("Label10"));
    Label10->setFont(pixelFont(QStringLiteral("Georgia"), 16, false, true));
    setTextColor(Label10, Qt::gray);
    Label10->adjustSize();

    decisionPanel = new QWidget(writePanel);
    decisionPanel->setObjectName(QStringLiteral("Decision_Panel"));
    setBackground(decisionPanel, Qt::white);
    Label1 = new QLabel(tr("Reasons For  "), decisionPanel);
    Label1->setObjectName(QStringLiteral("Label1"));
    againstLabel = new QLabel(tr("Reasons Against"), decisionPanel);
    againstLabel->setObjectName(QStringLiteral("Against_Label"));
    for (QLabel *label : {Label1, againstLabel}) {
        label->setFont(pixelFont(QStringLiteral("Georgia"), 21, false, true));
        setTextColor(label, Qt::black);
        label->adjustSize();
    }
    Shape2 = filledShape(QStringLiteral("Shape2"), kLineColor, decisionPanel);

    pgProject = new QStackedWidget(writePanel);
    pgProject->setObjectName(QStringLiteral("pgProject"));
    TabSheet5 = page(QStringLiteral("TabSheet5"), QStringLiteral("Journal"));
    TabSheet7 = page(QStringLiteral("TabSheet7"), QStringLiteral("Decision"));
    TabSheet11 = page(QStringLiteral("TabSheet11"), QStringLiteral("Done"));
    TabSheet6 = page(QStringLiteral("TabSheet6"), QStringLiteral("Next Step"));
    Tabsheet9 = page(QStringLiteral("Tabsheet9"), QStringLiteral("Links"));
    TabSheet10 = page(QStringLiteral("TabSheet10"), QStringLiteral("Other"));
    for (QWidget *sheet : {TabSheet5, TabSheet7, TabSheet11, TabSheet6, Tabsheet9, TabSheet10})
        pgProject->addWidget(sheet);

    // First page: the two columns, the splitter between them, and the
    // final decision below both.
    plus = columnEditor(QStringLiteral("plus"), tr("Reasons For"), TabSheet5);
    editSplitter = new SplitterBar(kLineColor, TabSheet5);
    editSplitter->setObjectName(QStringLiteral("Edit_Splitter"));
    minus = columnEditor(QStringLiteral("minus"), tr("Reasons Against"), TabSheet5);
    Panel2 = new QWidget(TabSheet5);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    setBackground(Panel2, Qt::white);
    Label2 = new QLabel(tr("Final Decison"), Panel2);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setFont(pixelFont(QStringLiteral("Georgia"), 21, false, true));
    setTextColor(Label2, Qt::black);
    made = memo(QStringLiteral("made"), tr("Final Decision"), Panel2);
    made->setFrameShape(QFrame::Box);
    made->setStyleSheet(QStringLiteral("QPlainTextEdit#made { border: 1px solid #C8D6E2; }"));
    Label2->setBuddy(made);
    connect(editSplitter, &SplitterBar::draggedTo, this, &DecisionsWorkspace::dragSplitterTo);

    Done = memo(QStringLiteral("Done"), tr("Done"), TabSheet11);
    fillLayout(TabSheet11)->addWidget(Done);
    nextStep = memo(QStringLiteral("NextStep"), tr("Next Step"), TabSheet6);
    fillLayout(TabSheet6)->addWidget(nextStep);

    Panel10 = new QWidget(Tabsheet9);
    Panel10->setObjectName(QStringLiteral("Panel10"));
    Panel10->setFixedHeight(kLinksStripHeight);
    Label3 = new QLabel(tr("Paste URL Links Here (one on each line) - double click to open"), Panel10);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setFont(pixelFont(QStringLiteral("Arial"), 13));
    setTextColor(Label3, Qt::gray);
    SpeedButton1 = new QToolButton(Panel10);
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    SpeedButton1->setText(tr("Open Link"));
    SpeedButton1->setAccessibleName(tr("Open Link"));
    SpeedButton1->setToolTip(tr("Open the link on the caret's line"));
    SpeedButton1->setAutoRaise(true);
    SpeedButton1->setCursor(Qt::PointingHandCursor);
    SpeedButton1->setFocusPolicy(Qt::StrongFocus);
    SpeedButton1->setFont(pixelFont(QStringLiteral("Arial"), 12));
    SpeedButton1->setStyleSheet(QStringLiteral("QToolButton { color: #0080FF; }"));
    auto *strip = new QHBoxLayout(Panel10);
    strip->setContentsMargins(8, 0, 8, 0);
    strip->addWidget(Label3, 1);
    strip->addWidget(SpeedButton1);
    Links = memo(QStringLiteral("Links"), tr("Links"), Tabsheet9);
    QVBoxLayout *linksPage = fillLayout(Tabsheet9);
    linksPage->addWidget(Panel10);
    linksPage->addWidget(Links, 1);
    Links->viewport()->installEventFilter(this);
    connect(SpeedButton1, &QToolButton::clicked, this, &DecisionsWorkspace::SpeedButton1Click);

    Other = memo(QStringLiteral("Other"), tr("Other"), TabSheet10);
    fillLayout(TabSheet10)->addWidget(Other);

    for (QPlainTextEdit *editor : {static_cast<QPlainTextEdit *>(plus), static_cast<QPlainTextEdit *>(minus),
                                   made, Done, nextStep, Links, Other})
        addEditor(editor);

    // The tabs of the page control stay hidden; this strip under the pages
    // reaches every page that holds a note. "Decision" holds nothing.
    pgProjectTabs = new QTabBar(writePanel);
    pgProjectTabs->setObjectName(QStringLiteral("pgProjectTabs"));
    pgProjectTabs->setAccessibleName(tr("Decision pages"));
    pgProjectTabs->setShape(QTabBar::RoundedSouth);
    pgProjectTabs->setDocumentMode(true);
    pgProjectTabs->setExpanding(false);
    pgProjectTabs->setDrawBase(false);
    pgProjectTabs->setFont(pixelFont(QStringLiteral("Arial"), 12));
    const struct
    {
        QString caption;
        QWidget *sheet;
    } tabs[] = {{tr("Reasons"), TabSheet5},
                {TabSheet11->windowTitle(), TabSheet11},
                {TabSheet6->windowTitle(), TabSheet6},
                {Tabsheet9->windowTitle(), Tabsheet9},
                {TabSheet10->windowTitle(), TabSheet10}};
    for (const auto &tab : tabs) {
        pgProjectTabs->addTab(tab.caption);
        m_tabPages.append(pgProject->indexOf(tab.sheet));
    }
    connect(pgProjectTabs, &QTabBar::currentChanged, this,
            [this](int tab) { pgProject->setCurrentIndex(m_tabPages.value(tab, 0)); });
    connect(pgProject, &QStackedWidget::currentChanged, this, &DecisionsWorkspace::pgProjectChange);
    auto *next = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_PageDown), this);
    next->setContext(Qt::WidgetWithChildrenShortcut);
    connect(next, &QShortcut::activated, this, [this] {
        pgProjectTabs->setCurrentIndex((pgProjectTabs->currentIndex() + 1) % pgProjectTabs->count());
    });
    auto *previous = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_PageUp), this);
    previous->setContext(Qt::WidgetWithChildrenShortcut);
    connect(previous, &QShortcut::activated, this, [this] {
        const int count = pgProjectTabs->count();
        pgProjectTabs->setCurrentIndex((pgProjectTabs->currentIndex() + count - 1) % count);
    });

    setTabOrder(renameTopicButton, plus);
    setTabOrder(plus, minus);
    setTabOrder(minus, made);
    setTabOrder(made, pgProjectTabs);
    resizeTo(865, 561);
}

void DecisionsWorkspace::resizeTo(int width, int height)
{
    TopicWorkspace::resizeTo(width, height);
    // Half the page less 10, rounded toward zero; the page control spans
    // the whole writing side.
    const int pageWidth = pgProject->width();
    plus->resize(qMax(0, pageWidth / 2 - 10), plus->height());
    layoutColumns();
}

void DecisionsWorkspace::layoutWritePanel()
{
    const int width = writePanel->width();
    const int height = writePanel->height();
    const int labelWidth = Label10->sizeHint().width();
    Label10->setGeometry(qMax(0, width - labelWidth - 8), 2, labelWidth, 22);
    titleLabel->setGeometry(8, 0, qMax(0, width - labelWidth - 24), kTitleHeight);

    const bool header = pgProject->currentIndex() == 0;
    decisionPanel->setVisible(header);
    decisionPanel->setGeometry(0, kTitleHeight, width, kHeaderHeight);
    Label1->move(8, 4);
    Shape2->setGeometry(0, kHeaderHeight - 3, width, 3);

    const int tabsHeight = pgProjectTabs->sizeHint().height();
    pgProjectTabs->setGeometry(0, qMax(0, height - tabsHeight), width, tabsHeight);
    const int top = kTitleHeight + (header ? kHeaderHeight : 0);
    pgProject->setGeometry(0, top, width, qMax(0, height - top - tabsHeight));
    layoutColumns();
}

void DecisionsWorkspace::layoutColumns()
{
    // The page is placed here as well, so the columns follow at once even
    // while the section is hidden.
    const QSize size = pgProject->size();
    if (pgProject->currentWidget() == TabSheet5)
        TabSheet5->setGeometry(0, 0, size.width(), size.height());
    const int pageWidth = size.width();
    const int pageHeight = TabSheet5->height();
    const int columnsHeight = qMax(0, pageHeight - kFinalStripHeight);
    const int plusWidth = qBound(0, plus->width(), qMax(0, pageWidth - kSplitterWidth));
    plus->setGeometry(0, 0, plusWidth, columnsHeight);
    editSplitter->setGeometry(plusWidth, 0, kSplitterWidth, columnsHeight);
    const int minusLeft = plusWidth + kSplitterWidth;
    minus->setGeometry(minusLeft, 0, qMax(0, pageWidth - minusLeft), columnsHeight);
    Panel2->setGeometry(0, columnsHeight, pageWidth, kFinalStripHeight);
    Label2->setGeometry(8, 0, qMax(0, pageWidth - 16), 24);
    made->setGeometry(8, 24, qMax(0, pageWidth - 16), kMadeHeight);
    againstLabel->move(qMax(editSplitter->x(), againstLabelLeast()), 4);
}

int DecisionsWorkspace::againstLabelLeast() const
{
    // "Reasons Against" starts after "Reasons For", never on it.
    return Label1->x() + Label1->width() + kLabelGap;
}

void DecisionsWorkspace::dragSplitterTo(int left)
{
    const int pageWidth = TabSheet5->width();
    const int least = qMax(kMinColumn, againstLabelLeast());
    const int most = qMax(least, pageWidth - kSplitterWidth - qMax(kMinColumn, againstLabel->width()));
    plus->resize(qBound(least, left, most), plus->height());
    layoutColumns();
    editSplitterMoved();
}

void DecisionsWorkspace::editSplitterMoved()
{
    againstLabel->move(qMax(editSplitter->x(), againstLabelLeast()), againstLabel->y());
}

void DecisionsWorkspace::pgProjectChange()
{
    const int tab = m_tabPages.indexOf(pgProject->currentIndex());
    if (tab >= 0 && tab != pgProjectTabs->currentIndex())
        pgProjectTabs->setCurrentIndex(tab);
    layoutWritePanel();
}

bool DecisionsWorkspace::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Links->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::LeftButton)
            linksDblClick(mouse->position().toPoint());
    }
    return TopicWorkspace::eventFilter(watched, event);
}

void DecisionsWorkspace::linksDblClick(const QPoint &viewportPos)
{
    openLink(Links->cursorForPosition(viewportPos).block().text());
}

void DecisionsWorkspace::SpeedButton1Click()
{
    openLink(Links->textCursor().block().text());
}

void DecisionsWorkspace::openLink(const QString &line)
{
    const QString link = line.trimmed();
    if (!link.isEmpty())
        m_dataFolder.shellOpen(link);
}
