#include "core/common/textfile.h"

#include "core/common/storedfiles.h"
#include "core/platform/clock.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>

#include <cerrno>
#include <cstring>
#include <mutex>

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

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

bool isInside(const QString &path, const QString &folder)
{
    if (folder.isEmpty())
        return false;
    if (folder == QLatin1String("/"))
        return path.startsWith(QLatin1Char('/'));
    return path.size() > folder.size() && path.startsWith(folder) && path.at(folder.size()) == QLatin1Char('/');
}

QString errnoText(int code)
{
    return QString::fromLocal8Bit(std::strerror(code));
}

// What kind of entry a mode that is not a regular file stands for.
QString entryKind(mode_t mode)
{
    if (S_ISDIR(mode))
        return tr("it is not a regular file but a folder");
    if (S_ISFIFO(mode))
        return tr("it is not a regular file but a named pipe");
    if (S_ISSOCK(mode))
        return tr("it is not a regular file but a socket");
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return tr("it is not a regular file but a device");
    return tr("it is not a regular file");
}

QString readFailure(const QString &path, const QString &reason)
{
    return tr("Could not read the file \"%1\": %2").arg(nativePath(path), reason);
}

QString writeFailure(const QString &path, const QString &reason)
{
    return tr("Could not write the file \"%1\": %2").arg(nativePath(path), reason);
}

} // namespace

namespace {

// The key under which a file's version is remembered.
QString versionKey(const QString &target)
{
    return QDir::cleanPath(QFileInfo(target).absoluteFilePath());
}

QByteArray digestOf(QByteArrayView bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha1);
}

FileVersion versionOf(const struct stat &info)
{
    FileVersion version;
    version.exists = true;
    version.size = info.st_size;
    version.modifiedNs = qint64(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
    version.changedNs = qint64(info.st_ctim.tv_sec) * 1000000000 + info.st_ctim.tv_nsec;
    version.inode = info.st_ino;
    version.device = info.st_dev;
    return version;
}

// "money (conflict 2024-01-10 0930).txt", with a number before the closing
// bracket from the second copy of the same minute on. One fixed form,
// whatever the desktop's language.
QString conflictCopyPath(const QString &target, const QDateTime &when, int number)
{
    const QFileInfo info(target);
    const QString name = info.fileName();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const bool hasSuffix = dot > 0;
    const QString base = hasSuffix ? name.left(dot) : name;
    const QString suffix = hasSuffix ? name.mid(dot) : QString();
    const QDate day = when.date();
    const QTime time = when.time();
    QString stamp = QString::asprintf("%04d-%02d-%02d %02d%02d", day.year(), day.month(), day.day(),
                                      time.hour(), time.minute());
    if (number > 1)
        stamp += QStringLiteral(" %1").arg(number);
    const QString tail = QStringLiteral(" (conflict ") + stamp + QLatin1Char(')') + suffix;
    // A name near the file system's limit gives up the end of its base, so
    // that the copy can always be made.
    constexpr qsizetype maxNameBytes = 255;
    QString shortened = base;
    while (!shortened.isEmpty() && QFile::encodeName(shortened + tail).size() > maxNameBytes)
        shortened.chop(shortened.size() > 1 && shortened.back().isLowSurrogate() ? 2 : 1);
    return info.absolutePath() + QLatin1Char('/') + shortened + tail;
}

// Writes the bytes into a new file beside the target under a conflict
// name that is still free; an existing copy is never replaced. Returns the
// copy's path, or the reason it could not be made.
Expected<QString> writeConflictCopy(const QString &target, const QByteArray &bytes, const QDateTime &when)
{
    for (int number = 1; number < 1000; ++number) {
        const QString copy = conflictCopyPath(target, when, number);
        const QByteArray native = QFile::encodeName(copy);
        const int fd = ::open(native.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666);
        if (fd < 0) {
            if (errno == EEXIST)
                continue;
            return Expected<QString>::failure(errnoText(errno));
        }
        qint64 done = 0;
        int code = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0) {
                code = n < 0 ? errno : EIO;
                break;
            }
            done += n;
        }
        if (code == 0 && ::fsync(fd) != 0 && errno != EINVAL && errno != EROFS)
            code = errno;
        if (::close(fd) != 0 && code == 0)
            code = errno;
        if (code != 0) {
            ::unlink(native.constData());
            return Expected<QString>::failure(errnoText(code));
        }
        return copy;
    }
    return Expected<QString>::failure(tr("there are too many conflict copies of it already"));
}

// Before a write over a file of a data folder: when the file on disk is no
// longer the version this program last read or wrote (changed, or made,
// by another program since), that version is kept as a conflict copy
// beside it and becomes the version known, so that a retry after a failed
// write does not copy it again. Returns the copy's path (empty when
// nothing had changed), or the reason the write must not go ahead.
Expected<QString> keepChangeMadeElsewhere(StoredFiles &folder, const QString &path, const QString &key,
                                          const QByteArray &bytes)
{
    const std::optional<FileVersion> known = folder.knownVersion(key);
    if (!known)
        return QString(); // never read: nothing to compare with
    struct stat info;
    if (::stat(QFile::encodeName(key).constData(), &info) != 0)
        return QString(); // removed meanwhile: the new text loses nothing
    if (known->exists && versionOf(info).sameEntryAs(*known))
        return QString();

    // Size or times differ: only the content can tell.
    QFile file;
    const Expected<OpenOutcome> opened = openForReading(key, &file);
    if (!opened) {
        return Expected<QString>::failure(
            writeFailure(path, tr("it was changed on disk by another program, and that version "
                                  "could not be read to keep it (%1)")
                                   .arg(opened.error)));
    }
    if (opened.value == OpenOutcome::Missing)
        return QString();
    const QByteArray other = file.readAll();
    file.close();
    const QByteArray otherDigest = digestOf(other);
    if (known->exists && otherDigest == known->digest)
        return QString(); // touched, not changed
    if (otherDigest == digestOf(bytes))
        return QString(); // the same text came from elsewhere
    if (!known->exists && other.isEmpty())
        return QString(); // an empty file made elsewhere holds nothing to keep

    const Expected<QString> copy = writeConflictCopy(key, other, folder.clock().now());
    if (!copy) {
        return Expected<QString>::failure(
            writeFailure(path, tr("it was changed on disk by another program, and that version could "
                                  "not be kept aside: %1. Your text is still in the program.")
                                   .arg(copy.error)));
    }
    FileVersion kept = versionOf(info);
    kept.digest = otherDigest;
    folder.remember(key, kept);
    return copy;
}

// Replaces the target with the bytes through a QSaveFile, or leaves it as
// it was and says why.
WriteResult replaceFile(const QString &path, const QString &target, const QByteArray &bytes,
                        const StoredFiles::WriteFault *fault)
{
    // Unbuffered: every write reaches the system at once and its failure is
    // seen here. A buffered QSaveFile flushes at commit(), and a failing
    // flush there does not stop the rename of a short file over the old one.
    QSaveFile file(target);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return WriteResult::failure(writeFailure(path, file.errorString()));
    const qint64 accepted = fault && *fault ? (*fault)(path, bytes.size()) : -1;
    if (accepted >= 0 && accepted < bytes.size()) {
        file.write(bytes.constData(), accepted);
        file.cancelWriting();
        return WriteResult::failure(writeFailure(path, tr("No space left on device")));
    }
    errno = 0;
    const qint64 written = bytes.isEmpty() ? 0 : file.write(bytes);
    if (written != bytes.size()) {
        // A short write that reports no error of its own still stopped on one.
        const int code = errno;
        const QString why = file.error() != QFileDevice::NoError ? file.errorString()
                                                                 : errnoText(code ? code : EIO);
        file.cancelWriting();
        return WriteResult::failure(writeFailure(path, why));
    }
    // commit() syncs too but passes over a failing sync; a file that did
    // not reach the disk must not replace the old one.
    if (::fsync(file.handle()) != 0) {
        const int code = errno;
        if (code != EINVAL && code != EROFS) { // a file system that cannot sync at all
            file.cancelWriting();
            return WriteResult::failure(writeFailure(path, errnoText(code)));
        }
    }
    if (!file.commit())
        return WriteResult::failure(writeFailure(path, file.errorString()));
    return {};
}

} // namespace

bool entryExists(const QString &path)
{
    struct stat info;
    return !hasNul(path) && ::lstat(QFile::encodeName(path).constData(), &info) == 0;
}

Expected<QString> resolveStoredPath(const QString &path)
{
    struct stat info;
    if (::lstat(QFile::encodeName(path).constData(), &info) != 0 || !S_ISLNK(info.st_mode))
        return path; // not a link: whatever is there is opened (or found missing) as it is
    const QFileInfo link(path);
    const QString resolved = link.canonicalFilePath();
    if (resolved.isEmpty()) {
        return Expected<QString>::failure(tr("it is a symbolic link to \"%1\", which does not exist")
                                              .arg(QDir::toNativeSeparators(link.symLinkTarget())));
    }
    const StoredFiles *folder = StoredFiles::holding(QDir::cleanPath(link.absoluteFilePath()));
    if (folder && !isInside(resolved, folder->canonicalRoot())) {
        return Expected<QString>::failure(tr("it is a symbolic link to \"%1\", outside the data folder")
                                              .arg(QDir::toNativeSeparators(resolved)));
    }
    return resolved;
}

bool changedOnDisk(const QString &path)
{
    if (hasNul(path))
        return false;
    const Expected<QString> resolved = resolveStoredPath(path);
    if (!resolved)
        return false;
    const QString key = versionKey(resolved.value);
    const StoredFiles *folder = StoredFiles::holding(key);
    if (!folder)
        return false;
    const std::optional<FileVersion> known = folder->knownVersion(key);
    if (!known)
        return false;
    struct stat info;
    if (::stat(QFile::encodeName(key).constData(), &info) != 0)
        return known->exists;
    if (!known->exists)
        return true;
    if (versionOf(info).sameEntryAs(*known))
        return false;
    QFile file;
    if (openForReading(key, &file).value != OpenOutcome::Opened)
        return true;
    return digestOf(file.readAll()) != known->digest;
}

void noteMoved(const QString &from, const QString &to)
{
    const QString fromKey = versionKey(from);
    const QString toKey = versionKey(to);
    if (StoredFiles *folder = StoredFiles::holding(fromKey); folder && folder->holds(toKey))
        folder->move(fromKey, toKey);
}

WriteResult writeBytes(const QString &path, const QByteArray &bytes)
{
    if (hasNul(path))
        return WriteResult::failure(writeFailure(path, nulReason()));
    const Expected<QString> resolved = resolveStoredPath(path);
    if (!resolved)
        return WriteResult::failure(writeFailure(path, resolved.error));
    const QString &target = resolved.value;
    // A folder, a named pipe or a device stays as it is: the rename at the
    // end would replace it with a file.
    struct stat info;
    if (::stat(QFile::encodeName(target).constData(), &info) == 0 && !S_ISREG(info.st_mode))
        return WriteResult::failure(writeFailure(path, entryKind(info.st_mode)));

    // A file changed elsewhere since it was read is kept before it is
    // replaced.
    const QString key = versionKey(target);
    StoredFiles *folder = StoredFiles::holding(key);
    QString copy;
    if (folder) {
        const Expected<QString> kept = keepChangeMadeElsewhere(*folder, path, key, bytes);
        if (!kept)
            return WriteResult::failure(kept.error);
        copy = kept.value;
    }

    WriteResult result = replaceFile(path, target, bytes, folder ? &folder->writeFault() : nullptr);
    if (!result) {
        if (!copy.isEmpty()) {
            result.error += QStringLiteral("\n\n")
                            + tr("It had been changed on disk by another program; that version is kept "
                                 "beside it as \"%1\".")
                                  .arg(QFileInfo(copy).fileName());
        }
        return result;
    }
    if (folder) {
        FileVersion written;
        if (::stat(QFile::encodeName(key).constData(), &info) == 0)
            written = versionOf(info);
        written.digest = digestOf(bytes);
        folder->remember(key, written);
        if (!copy.isEmpty()) {
            result.notice = tr("The file \"%1\" was changed on disk by another program since it was read "
                               "here. Your text is saved in it; the other version is kept beside it as "
                               "\"%2\".")
                                .arg(nativePath(path), QFileInfo(copy).fileName());
            folder->reportConflict(result.notice);
        }
    }
    return result;
}

Expected<OpenOutcome> openForReading(const QString &path, QFile *file)
{
    using Outcome = Expected<OpenOutcome>;
    if (hasNul(path))
        return Outcome::failure(readFailure(path, nulReason()));
    const Expected<QString> resolved = resolveStoredPath(path);
    if (!resolved)
        return Outcome::failure(readFailure(path, resolved.error));
    const QString &target = resolved.value;
    // Whatever is not a regular file is refused before it is opened.
    struct stat info;
    const QByteArray native = QFile::encodeName(target);
    if (::stat(native.constData(), &info) == 0 && !S_ISREG(info.st_mode))
        return Outcome::failure(readFailure(path, entryKind(info.st_mode)));
    // Non-blocking all the same, so that an entry replaced meanwhile by a
    // named pipe or a device cannot stop the program in open(); the check
    // of what was opened refuses it.
    const int fd = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        const int code = errno;
        // A name too long, or under a file instead of a folder, names
        // nothing that could exist: missing, as a plain missing file.
        if ((code == ENOENT || code == ENOTDIR || code == ENAMETOOLONG) && !entryExists(path))
            return OpenOutcome::Missing;
        return Outcome::failure(readFailure(path, errnoText(code)));
    }
    if (::fstat(fd, &info) != 0) {
        const int code = errno;
        ::close(fd);
        return Outcome::failure(readFailure(path, errnoText(code)));
    }
    if (!S_ISREG(info.st_mode)) {
        ::close(fd);
        return Outcome::failure(readFailure(path, entryKind(info.st_mode)));
    }
    // Reads of a regular file never wait for a writer; back to the plain mode.
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    file->setFileName(target);
    if (!file->open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return Outcome::failure(readFailure(path, file->errorString()));
    }
    return OpenOutcome::Opened;
}

Expected<QByteArray> peekBytes(const QString &path)
{
    QFile file;
    const Expected<OpenOutcome> opened = openForReading(path, &file);
    if (!opened)
        return Expected<QByteArray>(opened);
    if (opened.value == OpenOutcome::Missing)
        return QByteArray();
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return Expected<QByteArray>::failure(readFailure(path, file.errorString()));
    return bytes;
}

Expected<QString> peekText(const QString &path)
{
    const Expected<QByteArray> read = peekBytes(path);
    if (!read)
        return Expected<QString>(read);
    return normaliseLineEnds(decode(read.value));
}

Expected<QByteArray> readBytes(const QString &path)
{
    QFile file;
    const Expected<OpenOutcome> opened = openForReading(path, &file);
    if (!opened)
        return Expected<QByteArray>(opened);
    // What was read is remembered, so that a write can tell whether the
    // file changed on disk since.
    const bool missing = opened.value == OpenOutcome::Missing;
    // (QFile opened from a descriptor keeps no name to ask.)
    const Expected<QString> target = resolveStoredPath(path);
    const QString key = versionKey(target ? target.value : path);
    StoredFiles *folder = StoredFiles::holding(key);
    if (missing) {
        if (folder && !entryExists(key))
            folder->remember(key, FileVersion{});
        return QByteArray();
    }
    struct stat info;
    const bool stated = ::fstat(file.handle(), &info) == 0;
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return Expected<QByteArray>::failure(readFailure(path, file.errorString()));
    if (folder && stated) {
        FileVersion version = versionOf(info);
        version.digest = digestOf(bytes);
        folder->remember(key, version);
    }
    return bytes;
}

QString decode(const QByteArray &bytes)
{
    QByteArrayView view(bytes);
    if (view.startsWith("\xEF\xBB\xBF"))
        view = view.sliced(3);
    // Most files are UTF-8 throughout: one pass over the whole of it.
    if (view.isValidUtf8())
        return QString::fromUtf8(view);
    // Otherwise each line on its own: one line pasted from an older file
    // must not turn every other line into Windows-1252. Runs of lines of
    // one kind are decoded together.
    QStringDecoder ansi("windows-1252", QStringConverter::Flag::Stateless);
    QString text;
    text.reserve(view.size());
    const qsizetype n = view.size();
    qsizetype runStart = 0;
    bool runIsUtf8 = true;
    auto decodeRun = [&](qsizetype runEnd) {
        const QByteArrayView run = view.sliced(runStart, runEnd - runStart);
        if (runIsUtf8)
            text += QString::fromUtf8(run);
        else if (ansi.isValid())
            text += ansi.decode(run);
        else
            text += QString::fromLatin1(run);
    };
    qsizetype start = 0;
    while (start < n) {
        // A line with its end: CR, LF or CR LF.
        qsizetype end = start;
        while (end < n && view[end] != '\n' && view[end] != '\r')
            ++end;
        if (end < n && view[end] == '\r' && end + 1 < n && view[end + 1] == '\n')
            ++end;
        end = qMin(end + 1, n);
        const bool utf8 = view.sliced(start, end - start).isValidUtf8();
        if (utf8 != runIsUtf8) {
            decodeRun(start);
            runStart = start;
            runIsUtf8 = utf8;
        }
        start = end;
    }
    decodeRun(n);
    return text;
}

bool looksDamaged(QByteArrayView bytes)
{
    // The program writes UTF-8 only, and keeps what users type, a stray
    // control character included: such a file is text, and so is an older
    // file with a control character here and there. Bytes that are not
    // UTF-8 and of which more than one in a hundred is a control character
    // are not, and neither is a file that is mostly NUL bytes (blocks lost
    // in a crash).
    const qsizetype n = bytes.size();
    qsizetype nuls = 0;
    qsizetype controls = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        if (c >= 0x20)
            continue;
        switch (c) {
        case '\t': case '\n': case '\v': case '\f': case '\r':
        case 0x1B: // ESC, kept by text pasted from a terminal
            continue;
        case 0x1A: // an old editor's end-of-file mark
            if (i == n - 1)
                continue;
            ++controls;
            break;
        case 0:
            ++nuls;
            ++controls;
            break;
        default:
            ++controls;
            break;
        }
    }
    if (nuls * 2 > n)
        return true;
    return controls > 0 && controls * 100 > n && !bytes.isValidUtf8();
}

Expected<QString> keepDamagedAside(const QString &path)
{
    QString copy = path + QStringLiteral(".damaged");
    for (int n = 2; entryExists(copy); ++n) {
        if (n > 999)
            return Expected<QString>::failure(
                tr("There are too many damaged copies of \"%1\" already.").arg(nativePath(path)));
        copy = path + QStringLiteral(".damaged-%1").arg(n);
    }
    // Moved, never replacing an entry that appeared meanwhile; a file
    // system without that kind of rename gets a hard link and an unlink.
    const QByteArray from = QFile::encodeName(path);
    const QByteArray to = QFile::encodeName(copy);
    if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0)
        return copy;
    int code = errno;
    if (code == EINVAL || code == ENOSYS || code == ENOTSUP) {
        if (::link(from.constData(), to.constData()) == 0) {
            if (::unlink(from.constData()) == 0)
                return copy;
            code = errno;
            ::unlink(to.constData());
        } else {
            code = errno;
        }
    }
    return Expected<QString>::failure(
        tr("Could not keep \"%1\" as \"%2\": %3").arg(nativePath(path), nativePath(copy), errnoText(code)));
}

Expected<QByteArray> readTextBytes(const QString &path)
{
    Expected<QByteArray> read = readBytes(path);
    if (!read || !looksDamaged(read.value))
        return read;
    const Expected<QString> copy = keepDamagedAside(path);
    if (!copy) {
        return Expected<QByteArray>::failure(
            tr("The file \"%1\" could not be read as text. %2 It is left as it is and nothing is "
               "written over it.")
                .arg(nativePath(path), copy.error));
    }
    Expected<QByteArray> fresh{QByteArray()};
    fresh.notice = tr("The file \"%1\" could not be read as text. It is kept as \"%2\", and a new "
                      "one is started.")
                       .arg(nativePath(path), nativePath(copy.value));
    return fresh;
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

Expected<QString> readText(const QString &path)
{
    const Expected<QByteArray> read = readBytes(path);
    if (!read)
        return Expected<QString>(read);
    return normaliseLineEnds(decode(read.value));
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

Expected<QStringList> readLines(const QString &path)
{
    const Expected<QByteArray> read = readBytes(path);
    if (!read)
        return Expected<QStringList>(read);
    return splitLines(decode(read.value));
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
