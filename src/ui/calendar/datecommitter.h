#pragma once

#include <QDate>
#include <QObject>

class QDateEdit;
class QTimer;

// Tells when the user has settled on a date in a date edit: on Enter, when
// the focus leaves it, on a pick from its calendar pop-up, or after a short
// pause in typing. The dates only passed through while typing a date digit
// by digit are never reported. Changes made from code (with the edit's
// signals blocked) are not reported either.
class DateCommitter : public QObject
{
    Q_OBJECT
public:
    explicit DateCommitter(QDateEdit *edit, int pauseMs = 900);

    // Forgets a change not yet reported (the date was set from code).
    void cancelPending();
    bool hasPending() const { return m_pending; }
    // Reports a pending change now.
    void commit();

Q_SIGNALS:
    void dateCommitted(const QDate &date);

private:
    void changed();

    QDateEdit *m_edit;
    QTimer *m_pause;
    bool m_pending = false;
};
