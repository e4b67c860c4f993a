#include "ui/components/cell_delegate.h"

#include "ui/components/scheme_widgets.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QPainter>
#include <QPen>
#include <QStyle>

namespace quomble {

void CellDelegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    makeCellColourReadable(option, index);
    if (!narrowToFit_ || option->text.isEmpty() || option->rect.isEmpty())
        return;
    const QWidget* widget = option->widget;
    const QStyle* style = widget ? widget->style() : QApplication::style();
    const qreal room =
        style->subElementRect(QStyle::SE_ItemViewItemText, option, widget).width() - 2 * kMargin;
    // The font's own width first; a few per cent narrower at a time, never below half.
    int stretch =
        option->font.stretch() == QFont::AnyStretch ? int(QFont::Unstretched) : option->font.stretch();
    while (stretch > QFont::UltraCondensed &&
           QFontMetricsF(option->font, widget).horizontalAdvance(option->text) > room) {
        stretch -= 3;
        option->font.setStretch(stretch);
    }
}

void CellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                         const QModelIndex& index) const
{
    QStyledItemDelegate::paint(painter, option, index);
    if (!(option.state & QStyle::State_HasFocus))
        return;
    const bool selected = option.state & QStyle::State_Selected;
    painter->save();
    painter->setPen(
        QPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text), 1, Qt::DotLine));
    painter->drawRect(option.rect.adjusted(0, 0, -1, -1));
    painter->restore();
}

}  // namespace quomble
