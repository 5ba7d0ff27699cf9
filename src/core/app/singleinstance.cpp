#include "core/app/singleinstance.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDataStream>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>

#include <unistd.h>

namespace {

// The first words of every request, so that anything else that finds the
// socket is turned away.
const QByteArray kGreeting = QByteArrayLiteral("Vellumark 1\n");
const QByteArray kAnswer = QByteArrayLiteral("OK\n");
// A request is a handful of short texts; anything longer is not ours.
constexpr qint64 kLargestRequest = 64 * 1024;
// The longest path a local socket may have on Linux, less its final NUL.
constexpr int kLongestSocketPath = 107;

QString canonicalFolder(const QString &folder)
{
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(QDir(folder).absolutePath()) : canonical;
}

QByteArray encodeRequest(const QStringList &message)
{
    QByteArray body;
    QDataStream out(&body, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_6_0);
    out << message;
    return kGreeting + body;
}

} // namespace

SingleInstance::SingleInstance(const QString &dataRoot, QObject *parent)
    : QObject(parent)
    , m_dataRoot(dataRoot)
    , m_serverName(serverName(dataRoot))
    , m_lock(QDir(dataRoot).filePath(lockFileName()))
{
    // Only a lock whose program is gone is stale, however old it is.
    m_lock.setStaleLockTime(0);
}

SingleInstance::~SingleInstance()
{
    if (m_server)
        m_server->close();
}

QString SingleInstance::lockFileName()
{
    return QStringLiteral(".vellumark.lock");
}

QString SingleInstance::serverName(const QString &dataRoot)
{
    const QByteArray hash =
        QCryptographicHash::hash(canonicalFolder(dataRoot).toUtf8(), QCryptographicHash::Sha256).toHex();
    const QString name = QStringLiteral("vellumark-") + QString::fromLatin1(hash.left(32));
    // The runtime folder is the user's own; elsewhere the name carries the
    // user, so that two users' programs never meet.
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QFileInfo(runtime).isDir()) {
        const QString path = QDir(runtime).filePath(name);
        if (QFile::encodeName(path).size() <= kLongestSocketPath)
            return path;
    }
    return QDir(QDir::tempPath()).filePath(name + QLatin1Char('-') + QString::number(getuid()));
}

SingleInstance::Role SingleInstance::claim(const QStringList &message, int timeoutMs)
{
    m_errorString.clear();
    if (m_lock.tryLock(0)) {
        // The lock is ours, so a socket left by an earlier run is stale.
        QLocalServer::removeServer(m_serverName);
        const Result listening = listen();
        if (!listening)
            qWarning("vellumark: later starts on this data folder cannot reach this one: %s",
                     qPrintable(listening.error));
        return Role::First;
    }
    if (m_lock.error() == QLockFile::LockFailedError) {
        // A program holds the folder; it may still be starting, so its
        // socket is tried until the time is up.
        const Result handed = handOver(message, timeoutMs, true);
        if (handed)
            return Role::Handed;
        m_errorString = handed.error;
        return Role::NoAnswer;
    }
    // No lock can be made here (a read-only folder): the socket alone
    // tells whether a program is there.
    if (handOver(message, qMin(timeoutMs, 500), false))
        return Role::Handed;
    const Result listening = listen();
    if (!listening)
        qWarning("vellumark: later starts on this data folder cannot reach this one: %s",
                 qPrintable(listening.error));
    return Role::First;
}

Result SingleInstance::listen()
{
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(m_serverName)) {
        const QString reason = m_server->errorString();
        delete m_server;
        m_server = nullptr;
        return Result::failure(reason);
    }
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *socket = m_server->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readRequest(socket); });
            if (socket->bytesAvailable() > 0)
                readRequest(socket);
        }
    });
    return Result::success();
}

void SingleInstance::readRequest(QLocalSocket *socket)
{
    if (socket->property("answered").toBool())
        return;
    if (socket->bytesAvailable() > kLargestRequest) {
        socket->abort();
        return;
    }
    const QByteArray bytes = socket->peek(socket->bytesAvailable());
    if (bytes.size() < kGreeting.size()) {
        if (!kGreeting.startsWith(bytes))
            socket->abort();
        return;
    }
    if (!bytes.startsWith(kGreeting)) {
        socket->abort();
        return;
    }
    QByteArray body = bytes.mid(kGreeting.size());
    QDataStream in(&body, QIODevice::ReadOnly);
    in.setVersion(QDataStream::Qt_6_0);
    QStringList message;
    in >> message;
    if (in.status() != QDataStream::Ok)
        return; // not all of it has arrived yet
    socket->read(bytes.size());
    socket->setProperty("answered", true);
    socket->write(kAnswer);
    socket->flush();
    Q_EMIT messageReceived(message);
}

Result SingleInstance::handOver(const QStringList &message, int timeoutMs, bool retry)
{
    const QDeadlineTimer deadline(timeoutMs);
    const QByteArray request = encodeRequest(message);
    QString lastError = tr("no answer");
    do {
        QLocalSocket socket;
        socket.connectToServer(m_serverName);
        if (!socket.waitForConnected(qMax(1, static_cast<int>(deadline.remainingTime())))) {
            lastError = socket.errorString();
            if (!retry)
                break;
            QThread::msleep(50);
            continue;
        }
        socket.write(request);
        QByteArray answer;
        while (answer.size() < kAnswer.size() && !deadline.hasExpired()
               && (socket.bytesAvailable() > 0
                   || socket.waitForReadyRead(qMax(1, static_cast<int>(deadline.remainingTime())))))
            answer += socket.readAll();
        if (answer.startsWith(kAnswer))
            return Result::success();
        lastError = socket.state() == QLocalSocket::ConnectedState ? tr("no answer")
                                                                   : socket.errorString();
        break;
    } while (!deadline.hasExpired());
    return Result::failure(lastError);
}
