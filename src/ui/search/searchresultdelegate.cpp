#include "ui/search/searchresultdelegate.h"

#include "ui/search/searchresultsmodel.h"

#include <QApplication>
#include <QPainter>
#include <QTextLayout>

namespace {

constexpr int kPadding = 6;

// The place line: a little smaller than the text (the window's fonts are
// set in pixels, a desktop's in points).
QFont placeFont(const QFont &base)
{
    QFont font = base;
    if (base.pixelSize() > 0)
        font.setPixelSize(qMax(9, base.pixelSize() - 2));
    else
        font.setPointSizeF(qMax(7.0, base.pointSizeF() - 1.5));
    return font;
}

} // namespace

void SearchResultDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                                 const QModelIndex &index) const
{
    QStyleOptionViewItem background = option;
    initStyleOption(&background, index);
    background.text.clear();
    const QWidget *widget = option.widget;
    QStyle *style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &background, painter, widget);

    const bool selected = option.state & QStyle::State_Selected;
    const QPalette::ColorGroup group = option.state & QStyle::State_Active ? QPalette::Active : QPalette::Inactive;
    const QColor textColor = option.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text);
    const QRect area = option.rect.adjusted(kPadding, kPadding / 2, -kPadding, -kPadding / 2);

    painter->save();
    const QFont smaller = placeFont(option.font);
    painter->setFont(smaller);
    QColor placeColor = textColor;
    if (!selected)
        placeColor = option.palette.color(group, QPalette::PlaceholderText);
    painter->setPen(placeColor);
    const QFontMetrics placeMetrics(smaller);
    const QString place = placeMetrics.elidedText(index.data(SearchResultsModel::PlaceRole).toString(),
                                                  Qt::ElideRight, area.width());
    painter->drawText(QRect(area.left(), area.top(), area.width(), placeMetrics.height()),
                      Qt::AlignLeft | Qt::AlignVCenter, place);

    // The line, on one row, with the matches marked.
    const QString line = index.data(SearchResultsModel::LineRole).toString();
    const auto ranges = index.data(SearchResultsModel::HighlightsRole).value<QList<QPair<int, int>>>();
    QTextLayout layout(line, option.font, painter->device());
    QTextOption textOption;
    textOption.setWrapMode(QTextOption::NoWrap);
    layout.setTextOption(textOption);
    QList<QTextLayout::FormatRange> formats;
    for (const auto &range : ranges) {
        QTextLayout::FormatRange format;
        format.start = range.first;
        format.length = range.second;
        format.format.setFontWeight(QFont::Bold);
        if (!selected)
            format.format.setBackground(QColor(0xFF, 0xE8, 0x80));
        formats.append(format);
    }
    layout.setFormats(formats);
    layout.beginLayout();
    QTextLine textLine = layout.createLine();
    if (textLine.isValid())
        textLine.setLineWidth(1e6);
    layout.endLayout();
    painter->setPen(textColor);
    painter->setClipRect(area);
    layout.draw(painter, QPointF(area.left(), area.top() + placeMetrics.height()));
    painter->restore();
}

QSize SearchResultDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &) const
{
    const QFontMetrics lineMetrics(option.font);
    const QFontMetrics placeMetrics(placeFont(option.font));
    return {200, placeMetrics.height() + lineMetrics.height() + kPadding};
}
