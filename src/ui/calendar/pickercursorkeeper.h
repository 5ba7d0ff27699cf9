#pragma once

#include <QDate>
#include <QObject>

class DatePicker;
class QLineEdit;

// Keeps the text cursor of a date edit in the field the user types in.
// A date edit whose format shows the weekday name re-formats its whole text
// after every digit; when the weekday's name changes length ("Friday" to
// "Tuesday"), the edit keeps the cursor at the same character index, which
// now lies one field off, and the next digit lands in the month or the
// year. This filter moves the cursor (or the selection) by the change in
// length of a weekday name that stands before it.
class PickerCursorKeeper : public QObject
{
    Q_OBJECT
public:
    explicit PickerCursorKeeper(DatePicker *edit);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QString weekdayName(const QDate &date) const;

    DatePicker *m_edit;
    QLineEdit *m_line = nullptr;
};
