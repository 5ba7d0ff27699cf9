#include "ui/topics/topicworkspace.h"

#include "ui/common/look.h"
#include "ui/platform/dialogs.h"
#include "ui/topics/addtopicdialog.h"
#include "core/topics/topicfiles.h"

#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPainterPath>
#include <QPlainTextEdit>
#include <QShortcut>
#include <QStyle>
#include <QToolButton>

namespace {

constexpr int kButtonWidth = 23;
constexpr int kButtonHeight = 22;
constexpr int kButtonGap = 2;
constexpr int kListLeft = 8;
constexpr int kListBottomMargin = 8;

QToolButton *topicButton(const QString &name, const QString &hint, const QString &spoken,
                         QWidget *parent)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(name);
    button->setToolTip(hint);
    button->setAccessibleName(spoken);
    button->setFocusPolicy(Qt::StrongFocus);
    button->setFixedSize(kButtonWidth, kButtonHeight);
    return button;
}

// A small pencil, drawn in the text colour so it matches "+" and "-".
QIcon pencilIcon(const QColor &color)
{
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(16, 16);
    painter.rotate(-45);
    painter.setPen(QPen(color, 2.2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(-8, -3.5, 15, 7));
    QPainterPath tip;
    tip.moveTo(-8, -3.5);
    tip.lineTo(-13, 0);
    tip.lineTo(-8, 3.5);
    painter.setBrush(color);
    painter.drawPath(tip);
    painter.end();
    return QIcon(pixmap);
}

} // namespace

TopicWorkspace::TopicWorkspace(const Services &services, TopicWorkspaceSetup setup,
                               const Design &design, QWidget *parent)
    : QWidget(parent)
    , m_services(services)
    , m_design(design)
    , m_store(std::move(setup), this)
{
    fillBackgroundAndBase(this, Qt::white);
    setFont(hintedPixelFont(QStringLiteral("Arial"), 13));

    m_mainPanel = new QWidget(this);
    m_mainPanel->setObjectName(QStringLiteral("Main_Panel"));
    fillBackgroundAndBase(m_mainPanel, Qt::white);

    m_topicPanel = new QWidget(m_mainPanel);
    m_topicPanel->setObjectName(QStringLiteral("Topic_Panel"));
    m_buttonStrip = new QWidget(m_topicPanel);
    m_buttonStrip->setObjectName(QStringLiteral("Panel1"));

    // The hints are the ones the list has always shown; the spoken names
    // say what each button does.
    const QString deleteHint = QStringLiteral("DeletTopic");
    m_topicAddButton = topicButton(QStringLiteral("Topic_Add_Button"), tr("Add Topic"),
                                   tr("Add Topic"), m_buttonStrip);
    m_topicAddButton->setText(QStringLiteral("+"));
    m_topicDeleteButton = topicButton(QStringLiteral("Topic_Delete_Button"), deleteHint,
                                      tr("Delete Topic"), m_buttonStrip);
    m_topicDeleteButton->setText(QStringLiteral("-"));
    m_topicUpButton = topicButton(QStringLiteral("topic_up_button"), deleteHint,
                                  tr("Move Topic Up"), m_buttonStrip);
    m_topicUpButton->setIcon(style()->standardIcon(QStyle::SP_ArrowUp));
    m_topicDownButton = topicButton(QStringLiteral("topic_down_button"), deleteHint,
                                    tr("Move Topic Down"), m_buttonStrip);
    m_topicDownButton->setIcon(style()->standardIcon(QStyle::SP_ArrowDown));
    renameTopicButton = topicButton(QStringLiteral("renameTopicButton"), tr("Rename Topic (F2)"),
                                    tr("Rename Topic"), m_buttonStrip);
    renameTopicButton->setIcon(pencilIcon(palette().color(QPalette::ButtonText)));
    int x = 0;
    for (QToolButton *b : {m_topicAddButton, m_topicDeleteButton, m_topicUpButton, m_topicDownButton,
                           renameTopicButton}) {
        b->move(x, 1);
        x += kButtonWidth + kButtonGap;
    }
    m_buttonStrip->resize(x, kButtonHeight + 2);

    connect(m_topicAddButton, &QToolButton::clicked, this, &TopicWorkspace::addTopic);
    connect(m_topicDeleteButton, &QToolButton::clicked, this,
            &TopicWorkspace::deleteSelectedTopic);
    connect(m_topicUpButton, &QToolButton::clicked, this, &TopicWorkspace::moveSelectedTopicUp);
    connect(m_topicDownButton, &QToolButton::clicked, this, &TopicWorkspace::moveSelectedTopicDown);
    connect(renameTopicButton, &QToolButton::clicked, this, &TopicWorkspace::renameSelectedTopic);

    m_topicList = new QListWidget(m_topicPanel);
    m_topicList->setObjectName(QStringLiteral("Topic_list"));
    m_topicList->setAccessibleName(tr("Topics"));
    m_topicList->setSelectionMode(QAbstractItemView::SingleSelection);
    m_topicList->setUniformItemSizes(true);
    m_topicList->setFont(hintedPixelFont(QStringLiteral("Arial"), 12));
    m_topicList->setFrameShape(QFrame::Box);
    m_topicList->setStyleSheet(QStringLiteral(
        "QListWidget { background: #F4F9FD; border: 1px solid #C8D6E2; }"
        "QListWidget::item { height: 15px; }"
        "QListWidget::item:selected { background: #0078D7; color: white; }"));
    connect(m_topicList, &QListWidget::itemSelectionChanged, this,
            &TopicWorkspace::listSelectionChanged);
    connect(m_topicList, &QListWidget::pressed, this, &TopicWorkspace::listPressed);
    auto *renameKey = new QShortcut(QKeySequence(Qt::Key_F2), m_topicList);
    renameKey->setContext(Qt::WidgetShortcut);
    connect(renameKey, &QShortcut::activated, this, &TopicWorkspace::renameSelectedTopic);

    writePanel = new QWidget(m_mainPanel);
    writePanel->setObjectName(QStringLiteral("Write_Panel"));
    fillBackgroundAndBase(writePanel, Qt::white);

    titleLabel = new QLabel(writePanel);
    titleLabel->setObjectName(QStringLiteral("Title_Label"));
    titleLabel->setText(m_design.idleTitle);

    setTabOrder(m_topicList, m_topicAddButton);
    setTabOrder(m_topicAddButton, m_topicDeleteButton);
    setTabOrder(m_topicDeleteButton, m_topicUpButton);
    setTabOrder(m_topicUpButton, m_topicDownButton);
    setTabOrder(m_topicDownButton, renameTopicButton);

    syncList();
}

void TopicWorkspace::addEditor(QPlainTextEdit *editor)
{
    // Tab moves on to the next control, so the keyboard reaches the list.
    editor->setTabChangesFocus(true);
    m_editors.append(editor);
    // Nothing is open yet: typing here would belong to no topic.
    setEditorLocked(int(m_editors.size()) - 1, TopicStore::noTopicReason());
}

QString TopicWorkspace::editorText(int index) const
{
    return m_editors.at(index)->toPlainText();
}

void TopicWorkspace::setEditorText(int index, const QString &text)
{
    m_editors.at(index)->setPlainText(text);
}

void TopicWorkspace::setEditorLocked(int index, const QString &reason)
{
    QPlainTextEdit *editor = m_editors.at(index);
    editor->setReadOnly(!reason.isEmpty());
    editor->setPlaceholderText(reason);
}

void TopicWorkspace::embedIn(QWidget *hostPanel)
{
    setParent(hostPanel);
    setWindowFlags(Qt::Widget);
    move(0, 0);
    showError(m_store.loadTopicList());
    syncList();
    show();
    Q_EMIT shownFilesChanged();
}

void TopicWorkspace::followDiskChanges(const QStringList &paths)
{
    const WriteResult followed = m_store.followDiskChanges(paths);
    syncList();
    updateTitle();
    if (!followed)
        showError(followed);
}

void TopicWorkspace::resizeTo(int width, int height)
{
    width = qMax(0, width);
    height = qMax(0, height);
    m_mainPanel->setGeometry(0, 0, width, height);
    resize(width, height);
    layoutControls();
}

void TopicWorkspace::layoutControls()
{
    const int width = m_mainPanel->width();
    const int height = m_mainPanel->height();
    m_topicPanel->setGeometry(0, 0, qMin(m_design.topicPanelWidth, width), height);
    m_buttonStrip->move(kListLeft, m_design.listTop - m_buttonStrip->height() - 4);
    m_topicList->setGeometry(kListLeft, m_design.listTop, m_design.listWidth,
                            qMax(0, height - m_design.listTop - kListBottomMargin));
    writePanel->setGeometry(m_design.topicPanelWidth, 0,
                             qMax(0, width - m_design.topicPanelWidth), height);
    layoutWritePanel();
}

void TopicWorkspace::showError(const WriteResult &result)
{
    if (!result)
        m_services.dialogs->error(this, result.error);
}

// ---- the list ----------------------------------------------------------

void TopicWorkspace::syncList()
{
    m_syncing = true;
    const QStringList &topics = m_store.topics();
    // Update in place where possible, so the list keeps its scroll position.
    const int shown = m_topicList->count();
    bool prefixMatches = shown <= topics.size();
    for (int i = 0; prefixMatches && i < shown; ++i)
        prefixMatches = m_topicList->item(i)->text() == topics.at(i);
    if (prefixMatches) {
        for (int i = shown; i < topics.size(); ++i)
            m_topicList->addItem(topics.at(i));
    } else if (shown == topics.size()) {
        for (int i = 0; i < topics.size(); ++i) {
            QListWidgetItem *item = m_topicList->item(i);
            if (item->text() != topics.at(i))
                item->setText(topics.at(i));
        }
    } else if (shown == topics.size() + 1) {
        // One entry was removed: drop that row alone.
        int removed = 0;
        while (removed < topics.size() && m_topicList->item(removed)->text() == topics.at(removed))
            ++removed;
        delete m_topicList->takeItem(removed);
        if (!listMatches(topics)) {
            m_topicList->clear();
            m_topicList->addItems(topics);
        }
    } else {
        m_topicList->clear();
        m_topicList->addItems(topics);
    }
    const int selected = m_store.selectedIndex();
    if (selected >= 0) {
        m_topicList->setCurrentRow(selected, QItemSelectionModel::ClearAndSelect);
        m_topicList->scrollToItem(m_topicList->item(selected));
    } else {
        m_topicList->clearSelection();
    }
    m_syncing = false;
}

bool TopicWorkspace::listMatches(const QStringList &topics) const
{
    if (m_topicList->count() != topics.size())
        return false;
    for (int i = 0; i < topics.size(); ++i) {
        if (m_topicList->item(i)->text() != topics.at(i))
            return false;
    }
    return true;
}

void TopicWorkspace::listSelectionChanged()
{
    if (m_syncing)
        return;
    const QList<QListWidgetItem *> selected = m_topicList->selectedItems();
    if (selected.isEmpty()) {
        // The highlight always names the entry the editors belong to.
        m_store.setSelectedIndex(m_store.currentIndex());
        if (m_store.selectedIndex() >= 0)
            syncList();
        return;
    }
    m_store.setSelectedIndex(m_topicList->row(selected.first()));
    m_pressOpened = QGuiApplication::mouseButtons() != Qt::NoButton;
    openSelectedTopic();
}

void TopicWorkspace::listPressed(const QModelIndex &index)
{
    // A click on the entry already open stores it and loads it back (and
    // so retries a file that could not be read); a press that has just
    // opened it does nothing more.
    if (m_pressOpened) {
        m_pressOpened = false;
        return;
    }
    if (QGuiApplication::mouseButtons() == Qt::LeftButton && index.row() == m_store.selectedIndex())
        openSelectedTopic();
}

void TopicWorkspace::updateTitle()
{
    Q_EMIT shownFilesChanged();
    if (!m_store.currentTopic().isEmpty())
        titleLabel->setText(m_store.currentTopic() + m_design.titleSuffix);
    else if (m_store.currentIndex() >= 0 && !Topics::isBlankTopic(m_store.topics().at(m_store.currentIndex())))
        titleLabel->setText(m_store.topics().at(m_store.currentIndex()) + m_design.titleSuffix);
    else
        titleLabel->setText(m_design.idleTitle);
}

void TopicWorkspace::showLoadErrors()
{
    QStringList errors;
    for (const QString &error : m_store.loadErrors()) {
        if (!error.isEmpty())
            errors.append(error);
    }
    if (!errors.isEmpty())
        m_services.dialogs->error(this, errors.join(QStringLiteral("\n\n")));
}

// ---- handlers -----------------------------------------------------------

void TopicWorkspace::selectTopicRow(int row)
{
    m_topicList->setCurrentRow(row);
}

QPlainTextEdit *TopicWorkspace::showTopicEditor(const QString &topicStem, int editorIndex)
{
    if (editorIndex < 0 || editorIndex >= m_editors.size())
        return nullptr;
    const QStringList &topics = m_store.topics();
    int row = -1;
    // The entry of exactly that name first, else the first whose files
    // these are.
    for (int i = 0; i < topics.size() && row < 0; ++i) {
        if (topics.at(i) == topicStem)
            row = i;
    }
    for (int i = 0; i < topics.size() && row < 0; ++i) {
        if (Topics::stripTopicName(topics.at(i)) == topicStem)
            row = i;
    }
    if (row < 0)
        return nullptr;
    if (m_store.currentTopic() != topics.at(row)) {
        m_store.setSelectedIndex(row);
        syncList();
        openSelectedTopic();
        if (m_store.currentTopic() != topics.at(row))
            return nullptr;
    }
    showEditorPage(editorIndex);
    return m_editors.at(editorIndex);
}

void TopicWorkspace::openSelectedTopic()
{
    const WriteResult opened = m_store.openSelected();
    if (!opened) {
        // Nothing switched: the highlight goes back to the topic in the
        // editors, which keep their text.
        syncList();
        showError(opened);
        return;
    }
    updateTitle();
    showLoadErrors();
}

void TopicWorkspace::addTopic()
{
    AddTopicDialog dialog(m_store, m_services.dialogs, this);
    if (m_services.dialogs->execForm(&dialog) != QDialog::Accepted)
        return;
    const QString text = dialog.typedName();
    const TopicNameCheck added = m_store.addTopic(text);
    if (added.accepted()) {
        syncList();
        m_topicList->scrollToItem(m_topicList->item(m_topicList->count() - 1));
    } else if (added.verdict == TopicNameCheck::TooLong || added.verdict == TopicNameCheck::SharesFiles) {
        showError(WriteResult::failure(added.message));
    }
    showError(m_store.saveTopicList());
}

void TopicWorkspace::renameSelectedTopic()
{
    const int entry = m_store.selectedIndex();
    if (entry < 0) {
        m_services.dialogs->message(this, tr("Select a topic to rename"));
        return;
    }
    AddTopicDialog dialog(m_store, m_services.dialogs, this);
    dialog.setRenaming(entry);
    if (m_services.dialogs->execForm(&dialog) != QDialog::Accepted)
        return;
    const QString text = dialog.typedName();
    const bool wasOpen = m_store.currentIndex() == entry && !m_store.currentTopic().isEmpty();
    const WriteResult renamed = m_store.renameSelectedTopic(text);
    syncList();
    updateTitle();
    showError(renamed);
    // Load the topic under its new name, so what the editors say about
    // their files names the files they now have.
    if (renamed && (wasOpen || m_store.currentTopic().isEmpty()))
        openSelectedTopic();
}

void TopicWorkspace::deleteSelectedTopic()
{
    // An empty list has no topic to ask about.
    if (m_store.topics().isEmpty())
        return;
    if (m_store.selectedIndex() < 0) {
        m_services.dialogs->message(this, tr("Select a topic to delete"));
        return;
    }
    const QString name = m_store.selectedTopic();
    if (!m_services.dialogs->yesNo(this, Topics::deleteQuestion(name)))
        return;
    const WriteResult deleted = m_store.deleteTopic(name);
    syncList();
    updateTitle();
    showError(deleted);
    if (deleted)
        showLoadErrors();
}

void TopicWorkspace::moveSelectedTopicUp()
{
    if (m_store.moveUp() == TopicStore::Move::NothingSelected) {
        m_services.dialogs->message(this, QStringLiteral("Select a topic to move up"));
        return;
    }
    syncList();
}

void TopicWorkspace::moveSelectedTopicDown()
{
    if (m_store.moveDown() == TopicStore::Move::NothingSelected) {
        m_services.dialogs->message(this, QStringLiteral("Select a topic to move down"));
        return;
    }
    syncList();
}

WriteResult TopicWorkspace::saveEditedTopic()
{
    return m_store.saveEdits();
}

bool TopicWorkspace::hasUnsavedEdits() const
{
    return m_store.hasUnsavedEdits();
}

WriteResult TopicWorkspace::storeAll()
{
    return m_store.storeAll();
}
