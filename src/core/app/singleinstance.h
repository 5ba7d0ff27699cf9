#pragma once

#include "core/common/result.h"

#include <QLockFile>
#include <QObject>
#include <QStringList>

class QLocalServer;
class QLocalSocket;

// One program per data folder. The first program on a folder holds a lock
// file in it (a lock left by a program that died is taken over) and listens
// on a local socket whose name comes from the folder's canonical path. A
// later start on the same folder hands its message (its command line, as
// far as the first one needs it) to that socket and ends; the first program
// answers at once and receives the message through messageReceived.
class SingleInstance : public QObject
{
    Q_OBJECT
public:
    // dataRoot: the data folder, which must exist.
    explicit SingleInstance(const QString &dataRoot, QObject *parent = nullptr);
    ~SingleInstance() override;

    // The lock file's name inside the data folder.
    static QString lockFileName();
    // The local socket's full path for a data folder.
    static QString serverName(const QString &dataRoot);

    enum class Role {
        // This program owns the data folder and listens for later starts.
        First,
        // Another program owns the folder and took the message.
        Handed,
        // Another program owns the folder but did not answer in time.
        NoAnswer,
    };

    // Claims the data folder, or hands the message to the program that
    // holds it, waiting at most timeoutMs for its answer. errorString()
    // then tells the reason for NoAnswer.
    Role claim(const QStringList &message, int timeoutMs);
    // Why the last claim got no answer.
    QString errorString() const { return m_errorString; }

Q_SIGNALS:
    // A later start on this data folder handed its message over.
    void messageReceived(const QStringList &message);

private:
    Result listen();
    Result handOver(const QStringList &message, int timeoutMs, bool retry);
    void readRequest(QLocalSocket *socket);

    QString m_dataRoot;
    QString m_serverName;
    QLockFile m_lock;
    QLocalServer *m_server = nullptr;
    QString m_errorString;
};
