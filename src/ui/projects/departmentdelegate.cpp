#include "ui/projects/departmentdelegate.h"

#include "core/projects/projectnames.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>

namespace {
const QColor kListBackground(0xE8, 0xF3, 0xFF);
} // namespace

QPoint DepartmentDelegate::textOffset(const QString &line)
{
    return ProjectNames::isCategoryLine(line) ? QPoint(5, 0) : QPoint(25, 2);
}

void DepartmentDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                               const QModelIndex &index) const
{
    const bool selected = option.state & QStyle::State_Selected;
    painter->save();
    painter->fillRect(option.rect, selected ? option.palette.highlight().color() : kListBackground);
    const QString line = index.data(Qt::DisplayRole).toString();
    QFont font = option.font;
    if (ProjectNames::isCategoryLine(line))
        font.setBold(true);
    painter->setFont(font);
    painter->setPen(selected ? option.palette.highlightedText().color() : QColor(Qt::black));
    const QPoint offset = textOffset(line);
    const QRect textRect = option.rect.adjusted(offset.x(), offset.y(), 0, 0);
    painter->drawText(textRect, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, line);
    if (option.state & QStyle::State_HasFocus) {
        QStyleOptionFocusRect focus;
        focus.QStyleOption::operator=(option);
        focus.backgroundColor = selected ? option.palette.highlight().color() : kListBackground;
        const QWidget *widget = option.widget;
        QStyle *style = widget ? widget->style() : QApplication::style();
        style->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, widget);
    }
    painter->restore();
}

QSize DepartmentDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &) const
{
    return QSize(option.rect.width(), kLineHeight);
}
