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

    m_columnHeader = new QWidget(writePanel);
    m_columnHeader->setObjectName(QStringLiteral("Decision_Panel"));
    fillBackgroundAndBase(m_columnHeader, Qt::white);
    m_forLabel = new QLabel(tr("Reasons For  "), m_columnHeader);
    m_forLabel->setObjectName(QStringLiteral("Label1"));
    m_againstLabel = new QLabel(tr("Reasons Against"), m_columnHeader);
    m_againstLabel->setObjectName(QStringLiteral("Against_Label"));
    for (QLabel *label : {m_forLabel, m_againstLabel}) {
        label->setFont(hintedPixelFont(QStringLiteral("Georgia"), 21, FontStyle::Italic));
        setTextColor(label, Qt::black);
        label->adjustSize();
    }
    m_headerLine = filledShape(QStringLiteral("Shape2"), kLineColor, m_columnHeader);

    m_pages = new QStackedWidget(writePanel);
    m_pages->setObjectName(QStringLiteral("pgProject"));
    m_reasonsPage = page(QStringLiteral("TabSheet5"), QStringLiteral("Journal"));
    m_decisionPage = page(QStringLiteral("TabSheet7"), QStringLiteral("Decision"));
    m_donePage = page(QStringLiteral("TabSheet11"), QStringLiteral("Done"));
    m_nextStepPage = page(QStringLiteral("TabSheet6"), QStringLiteral("Next Step"));
    m_linksPage = page(QStringLiteral("Tabsheet9"), QStringLiteral("Links"));
    m_otherPage = page(QStringLiteral("TabSheet10"), QStringLiteral("Other"));
    for (QWidget *sheet : {m_reasonsPage, m_decisionPage, m_donePage, m_nextStepPage, m_linksPage, m_otherPage})
        m_pages->addWidget(sheet);

    // First page: the two columns, the splitter between them, and the
    // final decision below both.
    m_plus = columnEditor(QStringLiteral("plus"), tr("Reasons For"), m_reasonsPage);
    m_editSplitter = new SplitterBar(kLineColor, m_reasonsPage);
    m_editSplitter->setObjectName(QStringLiteral("Edit_Splitter"));
    m_minus = columnEditor(QStringLiteral("minus"), tr("Reasons Against"), m_reasonsPage);
    m_finalDecisionPanel = new QWidget(m_reasonsPage);
    m_finalDecisionPanel->setObjectName(QStringLiteral("Panel2"));
    fillBackgroundAndBase(m_finalDecisionPanel, Qt::white);
    m_finalDecisionLabel = new QLabel(tr("Final Decison"), m_finalDecisionPanel);
    m_finalDecisionLabel->setObjectName(QStringLiteral("Label2"));
    m_finalDecisionLabel->setFont(hintedPixelFont(QStringLiteral("Georgia"), 21, FontStyle::Italic));
    setTextColor(m_finalDecisionLabel, Qt::black);
    m_made = memo(QStringLiteral("made"), tr("Final Decision"), m_finalDecisionPanel);
    m_made->setFrameShape(QFrame::Box);
    m_made->setStyleSheet(QStringLiteral("QPlainTextEdit#m_made { border: 1px solid #C8D6E2; }"));
    m_finalDecisionLabel->setBuddy(m_made);
    connect(m_editSplitter, &SplitterBar::draggedTo, this, &DecisionsWorkspace::dragSplitterTo);

    m_done = memo(QStringLiteral("Done"), tr("Done"), m_donePage);
    fillLayout(m_donePage)->addWidget(m_done);
    m_nextStep = memo(QStringLiteral("NextStep"), tr("Next Step"), m_nextStepPage);
    fillLayout(m_nextStepPage)->addWidget(m_nextStep);

    m_linksStrip = new QWidget(m_linksPage);
    m_linksStrip->setObjectName(QStringLiteral("Panel10"));
    m_linksStrip->setFixedHeight(kLinksStripHeight);
    m_linksHint = new QLabel(tr("Paste URL Links Here (one on each line) - double click to open"), m_linksStrip);
    m_linksHint->setObjectName(QStringLiteral("Label3"));
    m_linksHint->setFont(hintedPixelFont(QStringLiteral("Arial"), 13));
    setTextColor(m_linksHint, Qt::gray);
    m_openLinkButton = new QToolButton(m_linksStrip);
    m_openLinkButton->setObjectName(QStringLiteral("SpeedButton1"));
    m_openLinkButton->setText(tr("Open Link"));
    m_openLinkButton->setAccessibleName(tr("Open Link"));
    m_openLinkButton->setToolTip(tr("Open the link on the caret's line"));
    m_openLinkButton->setAutoRaise(true);
    m_openLinkButton->setCursor(Qt::PointingHandCursor);
    m_openLinkButton->setFocusPolicy(Qt::StrongFocus);
    m_openLinkButton->setFont(hintedPixelFont(QStringLiteral("Arial"), 12));
    m_openLinkButton->setStyleSheet(QStringLiteral("QToolButton { color: #0080FF; }"));
    auto *strip = new QHBoxLayout(m_linksStrip);
    strip->setContentsMargins(8, 0, 8, 0);
    strip->addWidget(m_linksHint, 1);
    strip->addWidget(m_openLinkButton);
    m_links = memo(QStringLiteral("Links"), tr("Links"), m_linksPage);
    QVBoxLayout *linksLayout = fillLayout(m_linksPage);
    linksLayout->addWidget(m_linksStrip);
    linksLayout->addWidget(m_links, 1);
    m_links->viewport()->installEventFilter(this);
    connect(m_openLinkButton, &QToolButton::clicked, this, &DecisionsWorkspace::openCaretLink);

    m_other = memo(QStringLiteral("Other"), tr("Other"), m_otherPage);
    fillLayout(m_otherPage)->addWidget(m_other);

    for (QPlainTextEdit *editor : {static_cast<QPlainTextEdit *>(m_plus), static_cast<QPlainTextEdit *>(m_minus),
                                   m_made, m_done, m_nextStep, m_links, m_other})
        addEditor(editor);

    // The tabs of the page control stay hidden; this strip under the pages
    // reaches every page that holds a note. "Decision" holds nothing.
    m_pageTabs = new QTabBar(writePanel);
    m_pageTabs->setObjectName(QStringLiteral("pgProjectTabs"));
    m_pageTabs->setAccessibleName(tr("Decision pages"));
    m_pageTabs->setShape(QTabBar::RoundedSouth);
    m_pageTabs->setDocumentMode(true);
    m_pageTabs->setExpanding(false);
    m_pageTabs->setDrawBase(false);
    m_pageTabs->setFont(hintedPixelFont(QStringLiteral("Arial"), 12));
    const struct
    {
        QString caption;
        QWidget *sheet;
    } tabs[] = {{tr("Reasons"), m_reasonsPage},
                {m_donePage->windowTitle(), m_donePage},
                {m_nextStepPage->windowTitle(), m_nextStepPage},
                {m_linksPage->windowTitle(), m_linksPage},
                {m_otherPage->windowTitle(), m_otherPage}};
    for (const auto &tab : tabs) {
        m_pageTabs->addTab(tab.caption);
        m_tabPages.append(m_pages->indexOf(tab.sheet));
    }
    connect(m_pageTabs, &QTabBar::currentChanged, this,
            [this](int tab) { m_pages->setCurrentIndex(m_tabPages.value(tab, 0)); });
    connect(m_pages, &QStackedWidget::currentChanged, this, &DecisionsWorkspace::pageChanged);
    auto *next = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_PageDown), this);
    next->setContext(Qt::WidgetWithChildrenShortcut);
    connect(next, &QShortcut::activated, this, [this] {
        m_pageTabs->setCurrentIndex((m_pageTabs->currentIndex() + 1) % m_pageTabs->count());
    });
    auto *previous = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_PageUp), this);
    previous->setContext(Qt::WidgetWithChildrenShortcut);
    connect(previous, &QShortcut::activated, this, [this] {
        const int count = m_pageTabs->count();
        m_pageTabs->setCurrentIndex((m_pageTabs->currentIndex() + count - 1) % count);
    });

    setTabOrder(renameTopicButton, m_plus);
    setTabOrder(m_plus, m_minus);
    setTabOrder(m_minus, m_made);
    setTabOrder(m_made, m_pageTabs);
    resizeTo(865, 561);
}

void DecisionsWorkspace::resizeTo(int width, int height)
{
    TopicWorkspace::resizeTo(width, height);
    // Half the page less 10, rounded toward zero; the page control spans
    // the whole writing side.
    const int pageWidth = m_pages->width();
    m_plus->resize(qMax(0, pageWidth / 2 - 10), m_plus->height());
    layoutColumns();
}

void DecisionsWorkspace::layoutWritePanel()
{
    const int width = writePanel->width();
    const int height = writePanel->height();
    const int labelWidth = m_taglineLabel->sizeHint().width();
    m_taglineLabel->setGeometry(qMax(0, width - labelWidth - 8), 2, labelWidth, 22);
    titleLabel->setGeometry(8, 0, qMax(0, width - labelWidth - 24), kTitleHeight);

    const bool header = m_pages->currentIndex() == 0;
    m_columnHeader->setVisible(header);
    m_columnHeader->setGeometry(0, kTitleHeight, width, kHeaderHeight);
    m_forLabel->move(8, 4);
    m_headerLine->setGeometry(0, kHeaderHeight - 3, width, 3);

    const int tabsHeight = m_pageTabs->sizeHint().height();
    m_pageTabs->setGeometry(0, qMax(0, height - tabsHeight), width, tabsHeight);
    const int top = kTitleHeight + (header ? kHeaderHeight : 0);
    m_pages->setGeometry(0, top, width, qMax(0, height - top - tabsHeight));
    layoutColumns();
}

void DecisionsWorkspace::layoutColumns()
{
    // The page is placed here as well, so the columns follow at once even
    // while the section is hidden.
    const QSize size = m_pages->size();
    if (m_pages->currentWidget() == m_reasonsPage)
        m_reasonsPage->setGeometry(0, 0, size.width(), size.height());
    const int pageWidth = size.width();
    const int pageHeight = m_reasonsPage->height();
    const int columnsHeight = qMax(0, pageHeight - kFinalStripHeight);
    const int plusWidth = qBound(0, m_plus->width(), qMax(0, pageWidth - kSplitterWidth));
    m_plus->setGeometry(0, 0, plusWidth, columnsHeight);
    m_editSplitter->setGeometry(plusWidth, 0, kSplitterWidth, columnsHeight);
    const int minusLeft = plusWidth + kSplitterWidth;
    m_minus->setGeometry(minusLeft, 0, qMax(0, pageWidth - minusLeft), columnsHeight);
    m_finalDecisionPanel->setGeometry(0, columnsHeight, pageWidth, kFinalStripHeight);
    m_finalDecisionLabel->setGeometry(8, 0, qMax(0, pageWidth - 16), 24);
    m_made->setGeometry(8, 24, qMax(0, pageWidth - 16), kMadeHeight);
    m_againstLabel->move(qMax(m_editSplitter->x(), againstLabelLeast()), 4);
}

int DecisionsWorkspace::againstLabelLeast() const
{
    // "Reasons Against" starts after "Reasons For", never on it.
    return m_forLabel->x() + m_forLabel->width() + kLabelGap;
}

void DecisionsWorkspace::dragSplitterTo(int left)
{
    const int pageWidth = m_reasonsPage->width();
    const int least = qMax(kMinColumn, againstLabelLeast());
    const int most = qMax(least, pageWidth - kSplitterWidth - qMax(kMinColumn, m_againstLabel->width()));
    m_plus->resize(qBound(least, left, most), m_plus->height());
    layoutColumns();
    followSplitter();
}

void DecisionsWorkspace::followSplitter()
{
    m_againstLabel->move(qMax(m_editSplitter->x(), againstLabelLeast()), m_againstLabel->y());
}

void DecisionsWorkspace::pageChanged()
{
    const int tab = m_tabPages.indexOf(m_pages->currentIndex());
    if (tab >= 0 && tab != m_pageTabs->currentIndex())
        m_pageTabs->setCurrentIndex(tab);
    layoutWritePanel();
}

bool DecisionsWorkspace::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_links->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::LeftButton)
            openLinkAt(mouse->position().toPoint());
    }
    return TopicWorkspace::eventFilter(watched, event);
}

void DecisionsWorkspace::openLinkAt(const QPoint &viewportPos)
{
    openLink(m_links->cursorForPosition(viewportPos).block().text());
}

void DecisionsWorkspace::openCaretLink()
{
    openLink(m_links->textCursor().block().text());
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
    QWidget *const sheets[] = {m_reasonsPage, m_reasonsPage, m_reasonsPage, m_donePage, m_nextStepPage, m_linksPage, m_otherPage};
    if (index < 0 || index >= int(std::size(sheets)))
        return;
    const int page = m_pages->indexOf(sheets[index]);
    const qsizetype tab = m_tabPages.indexOf(page);
    if (tab >= 0)
        m_pageTabs->setCurrentIndex(int(tab));
}
