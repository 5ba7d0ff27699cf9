#pragma once

#include <QDateEdit>

class QLineEdit;

// The week's date picker: a date edit whose text cursor stays in the field
// the user types in (PickerCursorKeeper).
class DatePicker : public QDateEdit
{
    Q_OBJECT
public:
    explicit DatePicker(QWidget *parent = nullptr);

    // The edit's own text field, where the typing happens.
    QLineEdit *textField() const { return lineEdit(); }
};
