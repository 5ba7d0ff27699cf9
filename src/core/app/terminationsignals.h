#pragma once

#include <QObject>

class QSocketNotifier;

// Turns SIGTERM, SIGHUP and SIGINT into a Qt signal on the GUI thread. The
// handler itself only writes the signal's number into a pipe; a socket
// notifier reads it in the event loop, where saving is safe. One instance
// per process.
class TerminationSignals : public QObject
{
    Q_OBJECT
public:
    explicit TerminationSignals(QObject *parent = nullptr);
    // Puts the default handling back.
    ~TerminationSignals() override;

    // False when the pipe or a handler could not be set up.
    bool isWatching() const { return m_notifier != nullptr; }

Q_SIGNALS:
    // The process was asked to end; signalNumber is SIGTERM, SIGHUP or SIGINT.
    void terminationRequested(int signalNumber);

private:
    void readSignal();

    QSocketNotifier *m_notifier = nullptr;
};
