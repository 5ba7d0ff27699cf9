#include "textfile.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>

namespace TextFile {

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("TextFile", text);
}

QString nativePath(const QString &path)
{
    return QFileInfo(path).absoluteFilePath();
}

// The system cuts a path at its first NUL: such a path would name another
// file than the one asked for.
bool hasNul(const QString &path)
{
    return path.contains(QChar(u'\0'));
}

QString nulReason()
{
    return tr("the name holds a NUL character");
}

WriteFault &writeFault()
{
    static WriteFault fault;
    return fault;
}

} // namespace

void setWriteFault(WriteFault fault)
{
    writeFault() = std::move(fault);
}

WriteResult writeBytes(const QString &path, const QByteArray &bytes)
{
    if (hasNul(path))
        return WriteResult::failure(tr("Could not write the file \"%1\": %2").arg(nativePath(path), nulReason()));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return WriteResult::failure(tr("Could not write the file \"%1\": %2")
                                        .arg(nativePath(path), file.errorString()));
    }
    const qint64 accepted = writeFault() ? writeFault()(path, bytes.size()) : -1;
    if (accepted >= 0 && accepted < bytes.size()) {
        file.write(bytes.constData(), accepted);
        file.cancelWriting();
        return WriteResult::failure(tr("Could not write the file \"%1\": %2")
                                        .arg(nativePath(path), tr("No space left on device")));
    }
    if (file.write(bytes) != bytes.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return WriteResult::failure(
            tr("Could not write the file \"%1\": %2").arg(nativePath(path), reason));
    }
    if (!file.commit()) {
        return WriteResult::failure(tr("Could not write the file \"%1\": %2")
                                        .arg(nativePath(path), file.errorString()));
    }
    return {};
}

bool readBytes(const QString &path, QByteArray *bytes, QString *error)
{
    bytes->clear();
    if (hasNul(path)) {
        if (error)
            *error = tr("Could not read the file \"%1\": %2").arg(nativePath(path), nulReason());
        return false;
    }
    QFile file(path);
    if (!file.exists())
        return true;
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = tr("Could not read the file \"%1\": %2").arg(nativePath(path), file.errorString());
        return false;
    }
    *bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        if (error)
            *error = tr("Could not read the file \"%1\": %2").arg(nativePath(path), file.errorString());
        return false;
    }
    return true;
}

QString decode(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (utf8.hasError()) {
        QStringDecoder ansi("windows-1252");
        if (ansi.isValid()) {
            text = ansi.decode(bytes);
        } else {
            text = QString::fromLatin1(bytes);
        }
    } else if (text.startsWith(QChar(0xFEFF))) {
        text.remove(0, 1);
    }
    return text;
}

QString normaliseLineEnds(const QString &text)
{
    if (!text.contains(QLatin1Char('\r')))
        return text;
    QString out;
    out.reserve(text.size());
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\r')) {
            out += QLatin1Char('\n');
            if (i + 1 < n && text.at(i + 1) == QLatin1Char('\n'))
                ++i;
        } else {
            out += c;
        }
    }
    return out;
}

QString readText(const QString &path, QString *error)
{
    QByteArray bytes;
    if (!readBytes(path, &bytes, error))
        return {};
    return normaliseLineEnds(decode(bytes));
}

QByteArray encodeText(const QString &text)
{
    // One pass over the text: CR LF, a lone CR, LF and the paragraph and
    // line separators (they come from rich clipboard content) all end a
    // line with CR LF. Replacing in place would move the rest of a long
    // text once per line.
    const QStringView view(text);
    const qsizetype n = view.size();
    QString crlf;
    crlf.reserve(n + n / 32 + 2);
    qsizetype runStart = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = view[i].unicode();
        if (c != u'\n' && c != u'\r' && c != QChar::ParagraphSeparator && c != QChar::LineSeparator)
            continue;
        crlf.append(view.mid(runStart, i - runStart));
        crlf.append(QLatin1String("\r\n"));
        if (c == u'\r' && i + 1 < n && view[i + 1] == QLatin1Char('\n'))
            ++i;
        runStart = i + 1;
    }
    crlf.append(view.mid(runStart));
    return crlf.toUtf8();
}

WriteResult writeText(const QString &path, const QString &text)
{
    return writeBytes(path, encodeText(text));
}

QStringList splitLines(const QString &text)
{
    const QString normal = normaliseLineEnds(text);
    if (normal.isEmpty())
        return {};
    QStringList lines = normal.split(QLatin1Char('\n'));
    if (normal.endsWith(QLatin1Char('\n')))
        lines.removeLast();
    return lines;
}

QStringList readLines(const QString &path, QString *error)
{
    QByteArray bytes;
    if (!readBytes(path, &bytes, error))
        return {};
    return splitLines(decode(bytes));
}

QByteArray encodeLines(const QStringList &lines)
{
    QByteArray out;
    for (const QString &line : lines) {
        out += line.toUtf8();
        out += "\r\n";
    }
    return out;
}

WriteResult writeLines(const QString &path, const QStringList &lines)
{
    return writeBytes(path, encodeLines(lines));
}

} // namespace TextFile
