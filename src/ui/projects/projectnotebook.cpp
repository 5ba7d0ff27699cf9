#include "ui/projects/projectnotebook.h"

#include "core/projects/projectpages.h"
#include "ui/common/look.h"
#include "ui/projects/pageeditor.h"
#include "ui/projects/pageheader.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QTextBlock>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

const QColor kHeadingBlue(0x00, 0x80, 0xFF);
const QColor kGrey(0x80, 0x80, 0x80);

QLabel *subHeading(const QString &text, QWidget *parent)
{
    auto *label = colouredLabel(QString(), text, pixelFont(QStringLiteral("Georgia"), 16, FontStyle::Italic), kGrey, parent);
    label->move(4, 32);
    label->adjustSize();
    return label;
}

QVBoxLayout *stacked(QWidget *page)
{
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    return layout;
}

QWidget *host(const QString &name, QWidget *parent)
{
    auto *widget = new QWidget(parent);
    widget->setObjectName(name);
    stacked(widget);
    return widget;
}

} // namespace

ProjectNotebook::ProjectNotebook(QWidget *parent)
    : QTabWidget(parent)
{
    setObjectName(QStringLiteral("pgProject"));
    setAccessibleName(tr("Project pages"));
    setDocumentMode(true);

    const QColor window; // invalid: the system's window colour
    const QColor cream(0xFF, 0xFF, 0xF2);
    m_toDoEditor = new PageEditor(ProjectPages::kToDoPage, tr("To Do"), window, true, false);
    m_toDoEditor->setObjectName(QStringLiteral("Projects"));
    m_doneEditor = new PageEditor(ProjectPages::kDonePage, tr("Done"), QColor(0xF4, 0xFF, 0xFA), true, false);
    m_doneEditor->setObjectName(QStringLiteral("Done"));
    m_waitingEditor = new PageEditor(ProjectPages::kWaitingPage, tr("Waiting On"), cream, true, false);
    m_waitingEditor->setObjectName(QStringLiteral("OnHold"));
    m_costNotesEditor = new PageEditor(ProjectPages::kCostNotesPage, tr("Cost notes"), cream, false, true);
    m_costNotesEditor->setObjectName(QStringLiteral("BuyItem"));
    m_someDayEditor = new PageEditor(ProjectPages::kSomeDayPage, tr("Some Day"), cream, true, false);
    m_someDayEditor->setObjectName(QStringLiteral("SomeDay"));
    m_linksEditor = new PageEditor(ProjectPages::kLinksPage, tr("Links"), window, false, false);
    m_linksEditor->setObjectName(QStringLiteral("Links"));
    m_otherEditor = new PageEditor(ProjectPages::kOtherPage, tr("Other"), window, false, false);
    m_otherEditor->setObjectName(QStringLiteral("Actions"));

    addTab(editorPage(m_toDoEditor, &m_todoLabel, "Todo_Label", tr("To Do"),
                      tr("List of your current to do items for the project")),
           tr("To Do"));
    addTab(editorPage(m_doneEditor, &m_doneLabel, "Done_Label", tr("Done"),
                      tr("List of your completed items for the project")),
           tr("Done"));
    addTab(editorPage(m_waitingEditor, &m_waitingLabel, "Waiting_Label", tr("Waiting On"),
                      tr("List of things the project is waiting for")),
           tr("Waiting On"));
    addTab(costsPage(), tr("Costs"));
    addTab(timePage(), tr("Time"));
    addTab(editorPage(m_someDayEditor, &m_somedayLabel, "Someday_Label", tr("Some Day"),
                      tr("List of items you wish to accomplish when you have the time")),
           tr("Some Day"));
    addTab(editorPage(m_linksEditor, &m_linksLabel, "Links_Label", tr("Web Links"),
                      tr("Paste URL Links Here (one on each line) - double click to open"), &m_linksHeader),
           tr("Links"));
    addTab(editorPage(m_otherEditor, &m_otherLabel, "Other_Label", tr("Other"),
                      tr("List any concerns or other items for the project")),
           tr("Other"));
    addTab(documentsPage(), tr("Documents"));
}

QWidget *ProjectNotebook::editorPage(PageEditor *editor, QLabel **heading, const char *headingName,
                                      const QString &headingText, const QString &subHeadingText,
                                      QWidget **headerOut)
{
    auto *page = new QWidget;
    page->setObjectName(editor->objectName() + QStringLiteral("_Page"));
    auto *header = new PageHeader(65, true, page);
    *heading = colouredLabel(QString::fromLatin1(headingName), headingText,
                             pixelFont(QStringLiteral("Georgia"), 27), kHeadingBlue, header);
    (*heading)->setGeometry(0, 0, 585, 33);
    subHeading(subHeadingText, header);
    if (headerOut)
        *headerOut = header;
    QVBoxLayout *layout = stacked(page);
    layout->addWidget(header);
    editor->setParent(page);
    layout->addWidget(editor, 1);
    return page;
}

QWidget *ProjectNotebook::costsPage()
{
    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("Costs_Page"));
    auto *header = new PageHeader(65, true, page);
    m_costsLabel = colouredLabel(QStringLiteral("Costs_Label"), tr("Costs"), pixelFont(QStringLiteral("Georgia"), 27),
                                kHeadingBlue, header);
    m_costsLabel->setGeometry(0, 0, 585, 33);
    subHeading(tr("List of project costs and expenses"), header);
    subHeading(tr("Notes"), header)->move(432, 32);

    auto *body = new QWidget(page);
    auto *row = new QHBoxLayout(body);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    m_ledgerHost = host(QStringLiteral("moneyHost"), body);
    m_ledgerHost->setFixedWidth(433);
    row->addWidget(m_ledgerHost);
    m_costNotesEditor->setParent(body);
    row->addWidget(m_costNotesEditor, 1);

    QVBoxLayout *layout = stacked(page);
    layout->addWidget(header);
    layout->addWidget(body, 1);
    return page;
}

QWidget *ProjectNotebook::timePage()
{
    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("Time_Page"));
    auto *header = new PageHeader(25, false, page);
    auto *row = new QHBoxLayout(header);
    row->setContentsMargins(4, 0, 4, 0);
    m_timeLabel = colouredLabel(QStringLiteral("Time_Label"), tr("Time Tracker"),
                               pixelFont(QStringLiteral("Georgia"), 16), kHeadingBlue, header);
    row->addWidget(m_timeLabel);
    row->addStretch(1);
    auto button = [header, row](const QString &name, const QString &text) {
        auto *b = new QToolButton(header);
        b->setObjectName(name);
        b->setText(text);
        b->setAccessibleName(text);
        b->setAutoRaise(true);
        row->addWidget(b);
        return b;
    };
    connect(button(QStringLiteral("btnChart"), tr("Chart")), &QToolButton::clicked, this,
            &ProjectNotebook::sleepGridRequested);
    connect(button(QStringLiteral("btnGraph"), tr("Graph")), &QToolButton::clicked, this,
            &ProjectNotebook::sleepGraphRequested);
    connect(button(QStringLiteral("btnBed"), tr("Bed Times")), &QToolButton::clicked, this,
            &ProjectNotebook::bedTimesRequested);
    connect(button(QStringLiteral("btnFeed"), tr("Feeding")), &QToolButton::clicked, this,
            &ProjectNotebook::feedingTimesRequested);
    connect(button(QStringLiteral("btnReport"), tr("Report")), &QToolButton::clicked, this,
            &ProjectNotebook::sleepReportRequested);
    connect(button(QStringLiteral("btnPrintReport"), tr("Print Report")), &QToolButton::clicked, this,
            &ProjectNotebook::sleepReportPrintRequested);

    m_trackerHost = host(QStringLiteral("pnlTimeTrack"), page);
    QVBoxLayout *layout = stacked(page);
    layout->addWidget(header);
    layout->addWidget(m_trackerHost, 1);
    return page;
}

QWidget *ProjectNotebook::documentsPage()
{
    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("Documents_Page"));
    auto *header = new PageHeader(33, true, page);
    auto *row = new QHBoxLayout(header);
    row->setContentsMargins(4, 0, 8, 3);
    m_documentsHeading = colouredLabel(QStringLiteral("Label2"), tr("Documents"), pixelFont(QStringLiteral("Georgia"), 16),
                           kHeadingBlue, header);
    m_documentsSubHeading = colouredLabel(QStringLiteral("Label3"), tr("Place Files and project documents here"),
                           pixelFont(QStringLiteral("Georgia"), 16, FontStyle::Italic), kGrey, header);
    row->addWidget(m_documentsHeading);
    row->addStretch(1);
    row->addWidget(m_documentsSubHeading);

    m_documentsHost = host(QStringLiteral("filesHost"), page);
    QVBoxLayout *layout = stacked(page);
    layout->addWidget(header);
    layout->addWidget(m_documentsHost, 1);
    return page;
}

void ProjectNotebook::setLedgerWidget(QWidget *ledger)
{
    m_ledgerHost->layout()->addWidget(ledger);
}

void ProjectNotebook::setDocumentsWidget(QWidget *documents)
{
    m_documentsHost->layout()->addWidget(documents);
}

QWidget *ProjectNotebook::trackerHost() const
{
    return m_trackerHost;
}

void ProjectNotebook::addOpenLinkCommands()
{
    auto *openLink = new QToolButton(m_linksHeader);
    openLink->setObjectName(QStringLiteral("SpeedButton1"));
    openLink->setText(tr("Open Link"));
    openLink->setToolTip(tr("Open the link on the line with the cursor"));
    openLink->adjustSize();
    openLink->move(600, 36);
    connect(openLink, &QToolButton::clicked, this, &ProjectNotebook::requestLinkAtCaret);
    m_linksEditor->setOpensLineOnDoubleClick(true);
    connect(m_linksEditor, &PageEditor::lineDoubleClicked, this, &ProjectNotebook::requestLinkAtCaret);
}

void ProjectNotebook::requestLinkAtCaret()
{
    Q_EMIT linkOpenRequested(m_linksEditor->textCursor().block().text().trimmed());
}

QList<PageEditor *> ProjectNotebook::pageEditors() const
{
    return {m_toDoEditor, m_doneEditor, m_waitingEditor, m_costNotesEditor, m_someDayEditor, m_linksEditor, m_otherEditor};
}

PageEditor *ProjectNotebook::activePageEditor() const
{
    return pageEditor(static_cast<Tab>(currentIndex()));
}

PageEditor *ProjectNotebook::pageEditor(Tab tab) const
{
    switch (tab) {
    case ToDoTab: return m_toDoEditor;
    case DoneTab: return m_doneEditor;
    case WaitingTab: return m_waitingEditor;
    case CostsTab: return m_costNotesEditor;
    case SomeDayTab: return m_someDayEditor;
    case LinksTab: return m_linksEditor;
    case OtherTab: return m_otherEditor;
    default: return nullptr;
    }
}

void ProjectNotebook::setHeadings(const QString &name)
{
    const struct
    {
        QLabel *label;
        QString word;
    } headings[] = {{m_todoLabel, tr("To Do")},      {m_doneLabel, tr("Done")},
                    {m_waitingLabel, tr("Waiting On")}, {m_costsLabel, tr("Costs")},
                    {m_somedayLabel, tr("Some Day")}, {m_linksLabel, tr("Web Links")},
                    {m_otherLabel, tr("Other")},     {m_timeLabel, tr("Time Tracker")}};
    for (const auto &h : headings)
        h.label->setText(QStringLiteral("\"%1\"  %2").arg(name, h.word));
}
