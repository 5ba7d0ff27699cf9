#include "core/topics/topicstore.h"

#include "core/topics/topicfiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("TopicStore", text);
}

// An editor's file as the editor shows it: a list's lines joined, a
// note's text. A file that cannot be read gives no text and the reason.
Expected<QString> readEditorFile(const QString &path, TopicEditorKind kind)
{
    if (kind != TopicEditorKind::Lines)
        return TextFile::readText(path);
    const Expected<QStringList> lines = TextFile::readLines(path);
    if (!lines)
        return Expected<QString>(Result(lines));
    return Topics::joinEditorLines(lines.value);
}

// Why an editor whose file could not be read stays read-only.
QString lockedReason(const QString &readError)
{
    return tr("%1\n\nThis part of the topic is read-only and is not saved until the "
              "file can be read; choose the topic again to retry.")
        .arg(readError);
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

WriteResult TopicStore::loadTopicList()
{
    if (!TextFile::entryExists(m_setup.topicsFile)) {
        // The built-in list, until a file appears; read all the same so that
        // one made elsewhere meanwhile is noticed.
        TextFile::readBytes(m_setup.topicsFile);
        m_topicsOnDisk = m_topics;
        return {};
    }
    const Expected<QByteArray> read = TextFile::readTextBytes(m_setup.topicsFile);
    const QString &error = read.error;
    const QString &notice = read.notice;
    const QByteArray &bytes = read.value;
    if (!read) {
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
    m_topicsOnDisk = m_topics;
    m_selected = -1;
    m_currentIndex = -1;
    return {};
}

WriteResult TopicStore::saveTopicList()
{
    // Never replace a user's list that could not be read with the built-in one.
    if (m_topicsFileUnreadable)
        return {};
    const WriteResult written = TextFile::writeLines(m_setup.topicsFile, m_topics);
    if (written)
        m_topicsOnDisk = m_topics;
    return written;
}

QStringList TopicStore::shownFiles() const
{
    QStringList files{m_setup.topicsFile};
    if (!m_currentTopic.isEmpty()) {
        for (const TopicEditor &editorDef : m_setup.editors)
            files.append(topicFileName(m_currentTopic, editorDef.name));
    }
    return files;
}

WriteResult TopicStore::followDiskChanges(const QStringList &paths)
{
    const auto listed = [&paths](const QString &file) {
        return paths.contains(QDir::cleanPath(QFileInfo(file).absoluteFilePath()));
    };
    QStringList errors;
    const qsizetype editors = qMin(m_setup.editors.size(), m_storedTexts.size());
    for (int i = 0; !m_currentTopic.isEmpty() && i < editors; ++i) {
        const TopicEditor &editorDef = m_setup.editors.at(i);
        const QString path = topicFileName(m_currentTopic, editorDef.name);
        const bool locked = !m_loadErrors.value(i).isEmpty();
        if (!listed(path) || (!locked && m_editors->editorText(i) != m_storedTexts.at(i)))
            continue;
        // The program's own saves change the files too.
        if (!locked && !TextFile::changedOnDisk(path))
            continue;
        const Expected<QString> read = readEditorFile(path, editorDef.kind);
        QString text = read.value;
        QString error;
        if (!read) {
            errors.append(read.error);
            error = lockedReason(read.error);
        }
        m_editors->setEditorText(i, text);
        m_editors->setEditorLocked(i, error);
        if (i < m_loadErrors.size())
            m_loadErrors[i] = error;
        m_storedTexts[i] = m_editors->editorText(i);
    }

    if (listed(m_setup.topicsFile) && !m_topicsFileUnreadable && m_topics == m_topicsOnDisk
        && TextFile::changedOnDisk(m_setup.topicsFile)) {
        const Expected<QByteArray> read = TextFile::readBytes(m_setup.topicsFile);
        if (!read) {
            errors.append(read.error);
        } else if (!TextFile::looksDamaged(read.value)) {
            const QString selected = m_selected >= 0 ? m_topics.at(m_selected) : QString();
            m_topics = TextFile::splitLines(TextFile::decode(read.value));
            m_topicsOnDisk = m_topics;
            m_selected = selected.isEmpty() ? -1 : int(m_topics.indexOf(selected));
            if (!m_currentTopic.isEmpty())
                m_currentIndex = int(m_topics.indexOf(m_currentTopic));
            else if (m_currentIndex >= m_topics.size())
                m_currentIndex = -1;
        }
    }
    if (!errors.isEmpty())
        return WriteResult::failure(errors.join(QLatin1Char('\n')));
    return {};
}

QString TopicStore::selectedTopic() const
{
    if (m_selected >= 0)
        return m_topics.at(m_selected);
    return m_topics.isEmpty() ? QString() : m_topics.first();
}

QString TopicStore::topicFileName(const QString &topic, const QString &editorName) const
{
    return Topics::topicFileName(m_setup.folder, topic, editorName);
}

bool TopicStore::fitsFileName(const QString &topic) const
{
    QStringList names;
    for (const TopicEditor &editorDef : m_setup.editors)
        names.append(editorDef.name);
    return Topics::longestFileNameBytes(topic, names) <= Topics::kMaxFileNameBytes;
}

QString TopicStore::editorCaption(int editor) const
{
    return m_setup.editors.at(editor).caption;
}

QString TopicStore::noTopicReason()
{
    return tr("Choose a topic in the list to write here.");
}

void TopicStore::lockAll(const QString &reason)
{
    for (int i = 0; i < m_setup.editors.size(); ++i)
        m_editors->setEditorLocked(i, reason);
}

QString TopicStore::tooLongMessage(const QString &name) const
{
    QStringList names;
    for (const TopicEditor &editorDef : m_setup.editors)
        names.append(editorDef.name);
    const int bytes = Topics::longestFileNameBytes(name, names);
    QString shown = name;
    if (shown.size() > 60)
        shown = shown.left(60) + QChar(0x2026);
    return tr("The topic name \"%1\" is too long to name its files: the longest would take %2 "
              "bytes, and a file name holds at most %3. Shorten the name by at least %4 bytes "
              "(letters such as \u00e9 take two bytes, \u20ac three).")
        .arg(shown, QString::number(bytes), QString::number(Topics::kMaxFileNameBytes),
             QString::number(bytes - Topics::kMaxFileNameBytes));
}

WriteResult TopicStore::saveEditor(int editor, const QString &topic)
{
    const TopicEditor &editorDef = m_setup.editors.at(editor);
    const QString path = topicFileName(topic, editorDef.name);
    const QString text = m_editors->editorText(editor);
    const bool tracked = topic == m_currentTopic && editor < m_storedTexts.size();
    if (tracked) {
        // A file that could not be read is never replaced by its editor.
        if (!m_loadErrors.value(editor).isEmpty())
            return {};
        // Untouched since loaded or saved: the file may have been changed
        // by someone else meanwhile, and is left as it is.
        if (m_storedTexts.at(editor) == text)
            return {};
    }
    const WriteResult written = editorDef.kind == TopicEditorKind::Lines
                                    ? TextFile::writeLines(path, Topics::editorLines(text))
                                    : TextFile::writeText(path, text);
    if (written && tracked)
        m_storedTexts[editor] = text;
    return written;
}

WriteResult TopicStore::saveTopic(const QString &topic)
{
    QStringList failures;
    for (int i = 0; i < m_setup.editors.size(); ++i) {
        const WriteResult result = saveEditor(i, topic);
        if (!result) {
            const QString caption = editorCaption(i);
            failures.append(caption.isEmpty() ? result.error : caption + QStringLiteral(": ") + result.error);
        }
    }
    if (failures.isEmpty())
        return {};
    if (m_setup.editors.size() == 1)
        return WriteResult::failure(failures.first());
    return WriteResult::failure(
        tr("Not every part of the topic \"%1\" could be saved; what could not be saved is still "
           "in its editor.\n\n%2")
            .arg(topic, failures.join(QStringLiteral("\n\n"))));
}

WriteResult TopicStore::saveEdits()
{
    if (m_currentTopic.isEmpty())
        return {};
    return saveTopic(m_currentTopic);
}

bool TopicStore::hasUnsavedEdits() const
{
    if (m_currentTopic.isEmpty())
        return false;
    for (int i = 0; i < m_storedTexts.size(); ++i) {
        if (m_loadErrors.value(i).isEmpty() && m_editors->editorText(i) != m_storedTexts.at(i))
            return true;
    }
    return false;
}

WriteResult TopicStore::openTopic(const QString &topic)
{
    // Refused before anything is stored: the editors could never keep the
    // text of such a topic.
    if (!fitsFileName(topic))
        return WriteResult::failure(tooLongMessage(topic));
    if (!m_currentTopic.isEmpty()) {
        const WriteResult saved = saveTopic(m_currentTopic);
        if (!saved)
            return saved;
    }
    QStringList texts;
    QStringList errors;
    for (const TopicEditor &editorDef : std::as_const(m_setup.editors)) {
        const QString path = topicFileName(topic, editorDef.name);
        const Expected<QString> read = readEditorFile(path, editorDef.kind);
        const QString text = read.value;
        const QString error = read ? QString() : lockedReason(read.error);
        texts.append(text);
        errors.append(error);
    }
    for (int i = 0; i < texts.size(); ++i) {
        m_editors->setEditorText(i, texts.at(i));
        m_editors->setEditorLocked(i, errors.at(i));
    }
    m_currentTopic = topic;
    m_currentIndex = (m_selected >= 0 && m_topics.at(m_selected) == topic) ? m_selected
                                                                          : int(m_topics.indexOf(topic));
    m_loadErrors = errors;
    // Read back what the editors now hold: they may normalise the text.
    m_storedTexts.clear();
    for (int i = 0; i < texts.size(); ++i)
        m_storedTexts.append(m_editors->editorText(i));
    return {};
}

WriteResult TopicStore::leaveTopic(int entry, const QString &reason)
{
    if (!m_currentTopic.isEmpty()) {
        const WriteResult saved = saveTopic(m_currentTopic);
        if (!saved)
            return saved;
    }
    m_currentTopic.clear();
    m_storedTexts.clear();
    m_loadErrors.clear();
    m_currentIndex = (entry >= 0 && entry < m_topics.size()) ? entry : -1;
    for (int i = 0; i < m_setup.editors.size(); ++i)
        m_editors->setEditorText(i, QString());
    lockAll(reason);
    return {};
}

WriteResult TopicStore::openSelected()
{
    if (m_selected < 0)
        return {};
    const int entry = m_selected;
    const QString name = m_topics.at(entry);
    WriteResult result;
    if (Topics::isBlankTopic(name))
        result = leaveTopic(entry, tr("This entry has no name. Rename it to write in it, or delete it."));
    else if (!fitsFileName(name))
        result = leaveTopic(entry, tooLongMessage(name) + QLatin1Char(' ') + tr("Rename it to write in it."));
    else
        result = openTopic(name);
    if (result)
        m_currentIndex = entry;
    else
        m_selected = m_currentIndex;
    return result;
}

WriteResult TopicStore::deleteTopicFiles(const QString &topic)
{
    for (const TopicEditor &editorDef : std::as_const(m_setup.editors)) {
        const QString path = topicFileName(topic, editorDef.name);
        QFile file(path);
        if (file.exists() && !file.remove()) {
            return WriteResult::failure(tr("Could not delete the file \"%1\": %2")
                                            .arg(QFileInfo(path).absoluteFilePath(),
                                                 file.errorString()));
        }
    }
    return {};
}

WriteResult TopicStore::deleteTopic(const QString &topic)
{
    if (m_selected < 0 || m_topics.at(m_selected) != topic)
        return WriteResult::failure(tr("Select a topic to delete"));
    const int entry = m_selected;
    if (!m_currentTopic.isEmpty() && m_currentIndex != entry) {
        const WriteResult saved = saveTopic(m_currentTopic);
        if (!saved)
            return saved;
    }
    // The files go first: when one cannot be removed the entry stays, and
    // the editors still hold the open topic's text.
    const WriteResult removed = deleteTopicFiles(topic);
    if (!removed)
        return removed;
    m_topics.removeAt(entry);
    if (m_currentIndex == entry) {
        // Its text is gone with its files; nothing is written for it again.
        m_currentTopic.clear();
        m_storedTexts.clear();
        m_loadErrors.clear();
        m_currentIndex = -1;
    } else if (m_currentIndex > entry) {
        --m_currentIndex;
    }
    WriteResult opened;
    if (m_topics.isEmpty()) {
        m_selected = -1;
        opened = leaveTopic(-1, noTopicReason());
    } else {
        m_selected = 0;
        opened = openSelected();
    }
    const WriteResult listed = saveTopicList();
    return opened ? listed : opened;
}

TopicNameCheck TopicStore::checkNewName(const QString &typed, int renamed) const
{
    TopicNameCheck check;
    check.name = Topics::cleanTopicName(typed);
    if (Topics::isBlankTopic(check.name)) {
        check.verdict = TopicNameCheck::Blank;
        check.message = tr("A topic needs a name.");
        return check;
    }
    for (int i = 0; i < m_topics.size(); ++i) {
        if (i != renamed && m_topics.at(i).compare(check.name, Qt::CaseInsensitive) == 0) {
            check.verdict = TopicNameCheck::Duplicate;
            check.message = tr("There is already a topic \"%1\".").arg(m_topics.at(i));
            return check;
        }
    }
    if (!fitsFileName(check.name)) {
        check.verdict = TopicNameCheck::TooLong;
        check.message = tooLongMessage(check.name);
        return check;
    }
    // Letter case counts as the same too: the data folder may be kept on a
    // file system that ignores it.
    const QString files = Topics::stripTopicName(check.name);
    for (int i = 0; i < m_topics.size(); ++i) {
        if (i != renamed && Topics::stripTopicName(m_topics.at(i)).compare(files, Qt::CaseInsensitive) == 0) {
            check.verdict = TopicNameCheck::SharesFiles;
            check.message = tr("The name \"%1\" would keep its text in the same files as the topic "
                               "\"%2\": names that differ only in the characters \" * . / : < > ? "
                               "[ \\ ] | or in letter case share their files. Choose another name.")
                                .arg(check.name, m_topics.at(i));
            return check;
        }
    }
    return check;
}

TopicNameCheck TopicStore::addTopic(const QString &typed)
{
    const TopicNameCheck check = checkNewName(typed);
    if (check.accepted())
        m_topics.append(check.name);
    return check;
}

WriteResult TopicStore::renameSelectedTopic(const QString &typed)
{
    if (m_selected < 0)
        return WriteResult::failure(tr("Select a topic to rename"));
    const int entry = m_selected;
    const QString oldName = m_topics.at(entry);
    const QString newName = Topics::cleanTopicName(typed);
    if (newName == oldName)
        return {};
    const TopicNameCheck check = checkNewName(typed, entry);
    if (!check.accepted())
        return WriteResult::failure(check.message);

    // The open topic's edits reach its files before they move.
    const WriteResult saved = saveEdits();
    if (!saved)
        return saved;

    // Names that differ only in stripped characters keep their files.
    const bool sameFiles = Topics::stripTopicName(oldName) == Topics::stripTopicName(newName);
    struct Move
    {
        QString from;
        QString to;
    };
    QList<Move> moves;
    if (!sameFiles) {
        for (const TopicEditor &editorDef : std::as_const(m_setup.editors)) {
            const Move move{topicFileName(oldName, editorDef.name), topicFileName(newName, editorDef.name)};
            const QFileInfo from(move.from);
            if (!from.exists() && !from.isSymLink())
                continue;
            // A file left behind by some earlier topic is never replaced.
            // Only a change of letter case may find its own file there.
            const QFileInfo to(move.to);
            if ((to.exists() || to.isSymLink())
                && move.from.compare(move.to, Qt::CaseInsensitive) != 0) {
                return WriteResult::failure(
                    tr("The topic cannot be renamed: the file \"%1\" exists already. Move it away "
                       "or choose another name.")
                        .arg(to.absoluteFilePath()));
            }
            moves.append(move);
        }
    }
    QList<Move> done;
    for (const Move &move : std::as_const(moves)) {
        QFile file(move.from);
        if (file.rename(move.to)) {
            TextFile::noteMoved(move.from, move.to);
            done.append(move);
            continue;
        }
        QString message = tr("Could not rename the file \"%1\" to \"%2\": %3")
                              .arg(QFileInfo(move.from).absoluteFilePath(),
                                   QFileInfo(move.to).fileName(), file.errorString());
        // Put back what was moved, so the topic keeps all its files.
        QStringList stuck;
        for (auto it = done.crbegin(); it != done.crend(); ++it) {
            if (QFile::rename(it->to, it->from))
                TextFile::noteMoved(it->to, it->from);
            else
                stuck.append(QFileInfo(it->to).absoluteFilePath());
        }
        if (!stuck.isEmpty()) {
            message += QStringLiteral("\n\n")
                       + tr("These files already had the new name and could not be given back "
                            "the old one; rename them by hand:\n%1")
                             .arg(stuck.join(QLatin1Char('\n')));
        }
        return WriteResult::failure(message);
    }

    m_topics[entry] = newName;
    const WriteResult listed = saveTopicList();
    if (!listed) {
        // The list on disk still names the old files: give them back.
        m_topics[entry] = oldName;
        QStringList stuck;
        for (auto it = done.crbegin(); it != done.crend(); ++it) {
            if (QFile::rename(it->to, it->from))
                TextFile::noteMoved(it->to, it->from);
            else
                stuck.append(QFileInfo(it->to).absoluteFilePath());
        }
        QString message = listed.error + QStringLiteral("\n\n") + tr("The topic keeps its old name.");
        if (!stuck.isEmpty()) {
            message += QStringLiteral("\n\n")
                       + tr("These files already had the new name and could not be given back "
                            "the old one; rename them by hand:\n%1")
                             .arg(stuck.join(QLatin1Char('\n')));
        }
        return WriteResult::failure(message);
    }
    if (m_currentIndex == entry && !m_currentTopic.isEmpty())
        m_currentTopic = newName;
    return {};
}

void TopicStore::swapItems(int i, int j)
{
    m_topics.swapItemsAt(i, j);
    // The editors stay with their entry.
    if (m_currentIndex == i)
        m_currentIndex = j;
    else if (m_currentIndex == j)
        m_currentIndex = i;
}

TopicStore::Move TopicStore::moveUp()
{
    if (m_selected < 0)
        return Move::NothingSelected;
    if (m_selected == 0)
        return Move::AtEnd;
    swapItems(m_selected, m_selected - 1);
    --m_selected;
    return Move::Moved;
}

TopicStore::Move TopicStore::moveDown()
{
    if (m_selected < 0)
        return Move::NothingSelected;
    if (m_selected >= m_topics.size() - 1)
        return Move::AtEnd;
    swapItems(m_selected, m_selected + 1);
    ++m_selected;
    return Move::Moved;
}

WriteResult TopicStore::storeAll()
{
    // Both are tried: a topic that cannot be stored does not keep the
    // list's new order from its file.
    const WriteResult saved = saveEdits();
    const WriteResult listed = saveTopicList();
    if (saved && listed)
        return {};
    QStringList errors;
    for (const WriteResult &result : {saved, listed}) {
        if (!result)
            errors.append(result.error);
    }
    return WriteResult::failure(errors.join(QStringLiteral("\n\n")));
}
