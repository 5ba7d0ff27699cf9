#pragma once

#include <QStyledItemDelegate>

// Draws the lines of the project list: category lines (holding "@") bold
// at 5 px from the left, every other line in the list's font at 25 px and
// 2 px down, so projects sit indented under their category. Lines are 22 px
// high.
class DepartmentDelegate final : public QStyledItemDelegate
{
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    static constexpr int kLineHeight = 22;

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

    // Where a line's text starts inside its rectangle.
    static QPoint textOffset(const QString &line);
};
