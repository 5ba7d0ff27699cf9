#include "core/tracker/listviewstream.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QtEndian>

#include <algorithm>

namespace {

// A stored string: UTF-8, or Windows-1252 when the bytes are not valid
// UTF-8. Unlike a whole file, a string keeps a leading byte-order mark, so
// that what is read is written back unchanged.
QString decodeString(const QByteArray &bytes)
{
    const auto flags = QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom;
    QStringDecoder utf8(QStringConverter::Utf8, flags);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    QStringDecoder ansi("windows-1252", flags);
    return ansi.isValid() ? QString(ansi.decode(bytes)) : QString::fromLatin1(bytes);
}

} // namespace

void writeByte(QByteArray &out, quint8 value)
{
    out.append(static_cast<char>(value));
}

void writeInt(QByteArray &out, qint32 value)
{
    char bytes[4];
    qToLittleEndian(value, bytes);
    out.append(bytes, 4);
}

void writeStr(QByteArray &out, const QString &text)
{
    const QByteArray utf8 = text.toUtf8();
    writeInt(out, static_cast<qint32>(utf8.size()));
    if (!utf8.isEmpty())
        out.append(utf8);
}

int ListViewReader::readByte()
{
    if (atEnd()) {
        m_damaged = true;
        return -1;
    }
    return static_cast<unsigned char>(m_bytes.at(m_pos++));
}

qint32 ListViewReader::readInt()
{
    if (remaining() < 4) {
        // The few bytes left belong to nothing any more.
        m_pos = m_bytes.size();
        m_damaged = true;
        return -1;
    }
    const qint32 value = qFromLittleEndian<qint32>(m_bytes.constData() + m_pos);
    m_pos += 4;
    return value;
}

QString ListViewReader::readStr()
{
    const qint32 length = readInt();
    if (length < 0)
        m_damaged = true;
    if (length <= 0)
        return QString();
    qsizetype take = length;
    if (take > remaining()) {
        take = remaining();
        m_damaged = true;
    }
    const QByteArray text = m_bytes.mid(m_pos, take);
    m_pos += take;
    return decodeString(text);
}

QByteArray encodeListView(const ListViewData &list)
{
    QByteArray out;
    writeByte(out, list.checkBoxes ? 1 : 0);
    writeInt(out, static_cast<qint32>(list.items.size()));
    for (const ListViewItem &item : list.items) {
        if (list.checkBoxes)
            writeByte(out, item.checked ? 1 : 0);
        writeStr(out, item.caption);
        writeInt(out, static_cast<qint32>(item.subItems.size()));
        for (const QString &sub : item.subItems)
            writeStr(out, sub);
    }
    return out;
}

ListViewLoad decodeListView(const QByteArray &bytes, ListViewData *list)
{
    list->items.clear();
    ListViewReader in(bytes);
    // A missing flag byte reads as -1, which is "not 0": check boxes shown.
    list->checkBoxes = in.readByte() != 0;
    const qint32 count = in.readInt();
    for (qint32 i = 0; i < count && !in.atEnd(); ++i) {
        ListViewItem item;
        if (list->checkBoxes)
            item.checked = in.readByte() > 0;
        item.caption = in.readStr();
        const qint32 subCount = in.readInt();
        for (qint32 k = 0; k < subCount && !in.atEnd(); ++k)
            item.subItems.append(in.readStr());
        if (subCount < 0 || item.subItems.size() < subCount)
            in.markDamaged();
        list->items.append(item);
    }
    if (count < 0 || list->items.size() < count || !in.atEnd())
        in.markDamaged();

    ListViewLoad result;
    if (in.damaged()) {
        result.clean = false;
        result.error = QStringLiteral("The list is damaged: %1 of %2 entries could be read.")
                           .arg(list->items.size())
                           .arg(std::max<qint32>(count, 0));
    }
    return result;
}

WriteResult saveListView(const ListViewData &list, const QString &path)
{
    return TextFile::writeBytes(path, encodeListView(list));
}

ListViewLoad loadListView(ListViewData *list, const QString &path)
{
    ListViewLoad result;
    QFile file;
    const Expected<TextFile::OpenOutcome> opened = TextFile::openForReading(path, &file);
    const QString &openError = opened.error;
    if (opened.value != TextFile::OpenOutcome::Opened) {
        list->items.clear();
        result.ok = false;
        result.clean = false;
        result.error = openError.isEmpty()
                           ? QStringLiteral("Could not read \"%1\": %2")
                                 .arg(QDir::toNativeSeparators(path), QStringLiteral("No such file or directory"))
                           : openError;
        return result;
    }
    if (file.size() > MaxListViewFileSize) {
        list->items.clear();
        result.clean = false;
        result.error = QStringLiteral("\"%1\" is too large to be an alarm list (%2 bytes).")
                           .arg(QDir::toNativeSeparators(path))
                           .arg(file.size());
        return result;
    }
    file.close();
    // Read through TextFile, which remembers the version read: a save over
    // a list changed elsewhere since keeps that version beside it.
    const Expected<QByteArray> read = TextFile::readBytes(path);
    if (!read) {
        list->items.clear();
        result.ok = false;
        result.clean = false;
        result.error = read.error;
        return result;
    }
    const QByteArray &bytes = read.value;
    result = decodeListView(bytes, list);
    if (!result.clean)
        result.error = QStringLiteral("\"%1\" is damaged: %2")
                           .arg(QDir::toNativeSeparators(path), result.error);
    return result;
}

Expected<QString> keepDamagedCopy(const QString &path)
{
    QString copy = path + QStringLiteral(".damaged");
    for (int n = 2; TextFile::entryExists(copy); ++n) {
        if (n > 999) {
            return Expected<QString>::failure(
                QStringLiteral("Too many damaged copies of \"%1\".").arg(QDir::toNativeSeparators(path)));
        }
        copy = path + QStringLiteral(".damaged-%1").arg(n);
    }
    // Read under the rules of every stored file: a named pipe or a link
    // leading out of the data folder is not read for a copy either.
    const Expected<QByteArray> readCopy = TextFile::readBytes(path);
    const QByteArray &bytes = readCopy.value;
    QString reason = readCopy.error;
    bool read = readCopy.ok;
    if (read && !TextFile::entryExists(path)) {
        read = false;
        reason = QStringLiteral("No such file or directory");
    }
    const WriteResult written = read ? TextFile::writeBytes(copy, bytes) : WriteResult::failure(reason);
    if (!written) {
        return Expected<QString>::failure(
            QStringLiteral("Could not keep a copy of \"%1\" as \"%2\": %3")
                .arg(QDir::toNativeSeparators(path), QDir::toNativeSeparators(copy), written.error));
    }
    return copy;
}
