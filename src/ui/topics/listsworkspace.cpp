#include "ui/topics/listsworkspace.h"

#include "core/datafolder/datafolder.h"
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
    setup.topicsFile = dataFolder.configDir + QStringLiteral("Journal_Topics.txt");
    setup.folder = dataFolder.JournalDir;
    setup.editors = {{QStringLiteral("todo"), TopicEditorKind::Lines}};
    setup.builtInTopics = Topics::builtInJournalTopics();
    return setup;
}

} // namespace

ListsWorkspace::ListsWorkspace(const DataFolder &dataFolder, const Services &services, QWidget *parent)
    : TopicWorkspace(services, journalSetup(dataFolder), Design{329, 312, 64, QString(), tr("To Do")}, parent)
{
    using namespace TopicLook;
    setObjectName(QStringLiteral("Journal"));
    setWindowTitle(QStringLiteral("Goals"));

    Panel14 = new QWidget(writePanel);
    Panel14->setObjectName(QStringLiteral("Panel14"));
    setBackground(Panel14, Qt::white);

    titleLabel->setParent(Panel14);
    titleLabel->setText(tr("To Do"));
    titleLabel->setFont(pixelFont(QStringLiteral("Georgia"), 27));
    setTextColor(titleLabel, kTitleColor);

    Label10 = new QLabel(tr("List as many things  as  you can think of...try to list 100."), Panel14);
    Label10->setObjectName(QStringLiteral("Label10"));
    Label10->setFont(pixelFont(QStringLiteral("Georgia"), 16, false, true));
    setTextColor(Label10, Qt::gray);

    Shape2 = filledShape(QStringLiteral("Shape2"), kJournalLineColor, Panel14);

    pgProject = new QStackedWidget(writePanel);
    pgProject->setObjectName(QStringLiteral("pgProject"));
    TabSheet5 = new QWidget;
    TabSheet5->setObjectName(QStringLiteral("TabSheet5"));
    TabSheet5->setWindowTitle(QStringLiteral("Journal"));
    pgProject->addWidget(TabSheet5);

    todo = new LineNumberEdit(TabSheet5);
    todo->setObjectName(QStringLiteral("todo"));
    todo->setAccessibleName(tr("List"));
    todo->setFrameShape(QFrame::NoFrame);
    todo->setFont(fixedFont(15));
    todo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    todo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    todo->setGutterColor(QColor(0xFB, 0xFD, 0xFF));
    todo->setGutterDigits(3);
    todo->setGutterFont(pixelFont(QStringLiteral("Arial"), 12));
    auto *page = new QVBoxLayout(TabSheet5);
    page->setContentsMargins(0, 0, 0, 0);
    page->addWidget(todo);
    addEditor(todo);

    setTabOrder(renameTopicButton, todo);
    resizeTo(865, 561);
}

void ListsWorkspace::layoutWritePanel()
{
    const int width = writePanel->width();
    const int height = writePanel->height();
    Panel14->setGeometry(0, 0, width, kJournalHeaderHeight);
    // A fixed width: a long topic name is cut at the right.
    titleLabel->setGeometry(8, 0, kTitleWidth, 36);
    Label10->setGeometry(8, 37, qMax(0, width - 16), 22);
    Shape2->setGeometry(0, kJournalHeaderHeight - 3, width, 3);
    pgProject->setGeometry(0, kJournalHeaderHeight, width, qMax(0, height - kJournalHeaderHeight));
}
