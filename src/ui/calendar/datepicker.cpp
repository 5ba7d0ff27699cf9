#include "ui/calendar/datepicker.h"

#include "ui/calendar/pickercursorkeeper.h"

DatePicker::DatePicker(QWidget *parent)
    : QDateEdit(parent)
{
    new PickerCursorKeeper(this);
}
