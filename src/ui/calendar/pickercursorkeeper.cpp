#include "ui/calendar/pickercursorkeeper.h"

#include "ui/calendar/datepicker.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>

PickerCursorKeeper::PickerCursorKeeper(DatePicker *edit)
    : QObject(edit)
    , m_edit(edit)
    , m_line(edit->textField())
{
    edit->installEventFilter(this);
}

QString PickerCursorKeeper::weekdayName(const QDate &date) const
{
    const QString format = m_edit->displayFormat();
    if (format.contains(QLatin1String("dddd")))
        return m_edit->locale().dayName(date.dayOfWeek(), QLocale::LongFormat);
    if (format.contains(QLatin1String("ddd")))
        return m_edit->locale().dayName(date.dayOfWeek(), QLocale::ShortFormat);
    return {};
}

bool PickerCursorKeeper::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_edit || event->type() != QEvent::KeyPress || !m_line)
        return QObject::eventFilter(watched, event);
    const auto *key = static_cast<QKeyEvent *>(event);
    if (key->text().isEmpty() || !key->text().at(0).isPrint())
        return QObject::eventFilter(watched, event);

    const QDate before = m_edit->date();
    const QString oldText = m_line->text();
    const QString oldWeekday = weekdayName(before);
    // Where the typed character goes: the start of the selection it
    // replaces, or the cursor.
    const int typedAt = m_line->hasSelectedText() ? m_line->selectionStart() : m_line->cursorPosition();
    const qsizetype weekdayAt = oldWeekday.isEmpty() ? -1 : oldText.indexOf(oldWeekday);

    // Let the edit take the key, then look at what it did.
    m_edit->removeEventFilter(this);
    QCoreApplication::sendEvent(m_edit, event);
    m_edit->installEventFilter(this);

    const QDate after = m_edit->date();
    if (after != before && weekdayAt >= 0 && weekdayAt + oldWeekday.size() <= typedAt) {
        const int shift = static_cast<int>(weekdayName(after).size() - oldWeekday.size());
        // Right after the character typed, counted in the new text; a digit
        // that does not fit there still moves on to the next field, as the
        // edit does itself.
        if (shift != 0)
            m_line->setCursorPosition(typedAt + static_cast<int>(key->text().size()) + shift);
    }
    return true;
}
