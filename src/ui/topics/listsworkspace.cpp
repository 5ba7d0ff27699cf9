#include "ui/topics/listsworkspace.h"

#include "core/datafolder/datafolder.h"
#include "ui/common/look.h"
#include "ui/topics/linenumberedit.h"
#include "core/topics/topicfiles.h"

#include <QLabel>
#include <QStackedWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

constexpr int kJournalHeaderHeight = 65;
constexpr int kTitleWidth = 585;
const QColor kTitleColor(0x00, 0x80, 0xFF);
const QColor kJournalLineColor(0xC1, 0xE0, 0xFF);

TopicWorkspaceSetup journalSetup(const DataFolder &dataFolder)
{
    TopicWorkspaceSetup setup;
    setup.topicsFile = dataFolder.configDir() + QStringLiteral("Journal_Topics.txt");
    setup.folder = dataFolder.journalDir();
    setup.editors = {{QStringLiteral("todo"), TopicEditorKind::Lines}};
    setup.builtInTopics = Topics::builtInJournalTopics();
    return setup;
}

} // namespace

ListsWorkspace::ListsWorkspace(const DataFolder &dataFolder, const Services &services, QWidget *parent)
    : TopicWorkspace(services, journalSetup(dataFolder), Design{329, 312, 64, QString(), tr("To Do")}, parent)
{
    setObjectName(QStringLiteral("Journal"));
    setWindowTitle(QStringLiteral("Goals"));

    m_headerPanel = new QWidget(writePanel);
    m_headerPanel->setObjectName(QStringLiteral("Panel14"));
    fillBackgroundAndBase(m_headerPanel, Qt::white);

    titleLabel->setParent(m_headerPanel);
    titleLabel->setText(tr("To Do"));
    titleLabel->setFont(hintedPixelFont(QStringLiteral("Georgia"), 27));
    setTextColor(titleLabel, kTitleColor);

    m_promptLabel = new QLabel(tr("List as many things  as  you can think of...try to list 100."), m_headerPanel);
    m_promptLabel->setObjectName(QStringLiteral("Label10"));
    m_promptLabel->setFont(hintedPixelFont(QStringLiteral("Georgia"), 16, FontStyle::Italic));
    setTextColor(m_promptLabel, Qt::gray);

    m_headerLine = filledShape(QStringLiteral("Shape2"), kJournalLineColor, m_headerPanel);

    m_pages = new QStackedWidget(writePanel);
    m_pages->setObjectName(QStringLiteral("pgProject"));
    m_listPage = new QWidget;
    m_listPage->setObjectName(QStringLiteral("TabSheet5"));
    m_listPage->setWindowTitle(QStringLiteral("Journal"));
    m_pages->addWidget(m_listPage);

    m_todo = new LineNumberEdit(m_listPage);
    m_todo->setObjectName(QStringLiteral("todo"));
    m_todo->setAccessibleName(tr("List"));
    m_todo->setFrameShape(QFrame::NoFrame);
    m_todo->setFont(fixedPixelFont(15));
    m_todo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_todo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_todo->setGutterColor(QColor(0xFB, 0xFD, 0xFF));
    m_todo->setGutterDigits(3);
    m_todo->setGutterFont(hintedPixelFont(QStringLiteral("Arial"), 12));
    auto *page = new QVBoxLayout(m_listPage);
    page->setContentsMargins(0, 0, 0, 0);
    page->addWidget(m_todo);
    addEditor(m_todo);

    setTabOrder(renameTopicButton, m_todo);
    resizeTo(865, 561);
}

void ListsWorkspace::layoutWritePanel()
{
    const int width = writePanel->width();
    const int height = writePanel->height();
    m_headerPanel->setGeometry(0, 0, width, kJournalHeaderHeight);
    // A fixed width: a long topic name is cut at the right.
    titleLabel->setGeometry(8, 0, kTitleWidth, 36);
    m_promptLabel->setGeometry(8, 37, qMax(0, width - 16), 22);
    m_headerLine->setGeometry(0, kJournalHeaderHeight - 3, width, 3);
    m_pages->setGeometry(0, kJournalHeaderHeight, width, qMax(0, height - kJournalHeaderHeight));
}
