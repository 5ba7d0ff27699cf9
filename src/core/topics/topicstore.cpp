#include "topicstore.h"

#include "topicfiles.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("TopicStore", text);
}

} // namespace

TopicStore::TopicStore(TopicWorkspaceSetup setup, ITopicEditors *editors)
    : m_setup(std::move(setup))
    , m_editors(editors)
    , m_topics(m_setup.builtInTopics)
{
}

void TopicStore::setSelectedIndex(int index)
{
    m_selected = (index >= 0 && index < m_topics.size()) ? index : -1;
}

WriteResult TopicStore::LoadTopicList()
{
    if (!TextFile::entryExists(m_setup.topicsFile))
        return {};
    QString error;
    QString notice;
    QByteArray bytes;
    if (!TextFile::readTextBytes(m_setup.topicsFile, &bytes, &error, &notice)) {
        m_topicsFileUnreadable = true;
        return WriteResult::failure(
            tr("%1\n\nThe built-in topics are shown instead; changes to the list are not saved "
               "until the program is started again.")
                .arg(error));
    }
    if (!notice.isEmpty()) {
        // The file did not hold text and was moved aside: the built-in
        // list starts a new one.
        return WriteResult::failure(notice);
    }
    m_topics = TextFile::splitLines(TextFile::decode(bytes));
    m_selected = -1;
    return {};
}

WriteResult TopicStore::SaveTopicList()
{
    // Never replace a user's list that could not be read with the built-in one.
    if (m_topicsFileUnreadable)
        return {};
    return TextFile::writeLines(m_setup.topicsFile, m_topics);
}

QString TopicStore::SelectedTopic() const
{
    if (m_selected >= 0)
        return m_topics.at(m_selected);
    return m_topics.isEmpty() ? QString() : m_topics.first();
}

QString TopicStore::TopicFileName(const QString &topic, const QString &editorName) const
{
    return Topics::TopicFileName(m_setup.folder, topic, editorName);
}

WriteResult TopicStore::SaveEditor(int editor, const QString &topic)
{
    const TopicEditor &editorDef = m_setup.editors.at(editor);
    const QString path = TopicFileName(topic, editorDef.name);
    const QString text = m_editors->editorText(editor);
    const bool tracked = topic == m_currentTopic && editor < m_storedTexts.size();
    if (tracked && m_storedTexts.at(editor) == text && QFileInfo::exists(path))
        return {};
    const WriteResult written = editorDef.kind == TopicEditorKind::Lines
                                    ? TextFile::writeLines(path, Topics::EditorLines(text))
                                    : TextFile::writeText(path, text);
    if (written && tracked)
        m_storedTexts[editor] = text;
    return written;
}

WriteResult TopicStore::SaveTopic(const QString &topic)
{
    for (int i = 0; i < m_setup.editors.size(); ++i) {
        const WriteResult result = SaveEditor(i, topic);
        if (!result)
            return result;
    }
    return {};
}

WriteResult TopicStore::OpenTopic(const QString &topic)
{
    if (!m_currentTopic.isEmpty()) {
        const WriteResult saved = SaveTopic(m_currentTopic);
        if (!saved)
            return saved;
    }
    // Read everything first, so an unreadable file leaves the editors as
    // they were instead of half replaced.
    QStringList texts;
    for (const TopicEditor &editorDef : std::as_const(m_setup.editors)) {
        const QString path = TopicFileName(topic, editorDef.name);
        QString error;
        QString text;
        if (editorDef.kind == TopicEditorKind::Lines)
            text = Topics::EditorText(TextFile::readLines(path, &error));
        else
            text = TextFile::readText(path, &error);
        if (!error.isEmpty())
            return WriteResult::failure(error);
        texts.append(text);
    }
    for (int i = 0; i < texts.size(); ++i)
        m_editors->setEditorText(i, texts.at(i));
    m_currentTopic = topic;
    // Read back what the editors now hold: they may normalise the text.
    m_storedTexts.clear();
    for (int i = 0; i < texts.size(); ++i)
        m_storedTexts.append(m_editors->editorText(i));
    return {};
}

WriteResult TopicStore::DeleteTopicFiles(const QString &topic)
{
    for (const TopicEditor &editorDef : std::as_const(m_setup.editors)) {
        const QString path = TopicFileName(topic, editorDef.name);
        QFile file(path);
        if (file.exists() && !file.remove()) {
            return WriteResult::failure(tr("Could not delete the file \"%1\": %2")
                                            .arg(QFileInfo(path).absoluteFilePath(),
                                                 file.errorString()));
        }
    }
    return {};
}

WriteResult TopicStore::DeleteTopic(const QString &topic)
{
    if (!m_currentTopic.isEmpty() && m_currentTopic != topic) {
        const WriteResult saved = SaveTopic(m_currentTopic);
        if (!saved)
            return saved;
    }
    // The files go first: when one cannot be removed the entry stays, and
    // the editors still hold the open topic's text.
    const WriteResult removed = DeleteTopicFiles(topic);
    if (!removed)
        return removed;
    if (m_selected >= 0) {
        m_topics.removeAt(m_selected);
        m_selected = -1;
    }
    m_currentTopic.clear();
    m_storedTexts.clear();
    // What the editors hold now belongs to no topic.
    for (int i = 0; i < m_setup.editors.size(); ++i)
        m_editors->setEditorText(i, QString());
    if (!m_topics.isEmpty()) {
        const WriteResult opened = OpenTopic(SelectedTopic());
        if (!opened) {
            // Keep the list on disk in step with what is shown.
            SaveTopicList();
            return opened;
        }
    }
    return SaveTopicList();
}

bool TopicStore::AddTopic(const QString &name)
{
    if (name.isEmpty() || m_topics.contains(name, Qt::CaseInsensitive))
        return false;
    m_topics.append(name);
    return true;
}

void TopicStore::SwapItems(int i, int j)
{
    m_topics.swapItemsAt(i, j);
}

TopicStore::Move TopicStore::MoveUp()
{
    if (m_selected < 0)
        return Move::NothingSelected;
    if (m_selected == 0)
        return Move::AtEnd;
    SwapItems(m_selected, m_selected - 1);
    --m_selected;
    return Move::Moved;
}

TopicStore::Move TopicStore::MoveDown()
{
    if (m_selected < 0)
        return Move::NothingSelected;
    if (m_selected >= m_topics.size() - 1)
        return Move::AtEnd;
    SwapItems(m_selected, m_selected + 1);
    ++m_selected;
    return Move::Moved;
}

WriteResult TopicStore::Close()
{
    if (!m_currentTopic.isEmpty()) {
        const WriteResult saved = SaveTopic(m_currentTopic);
        if (!saved)
            return saved;
    }
    return SaveTopicList();
}
