#include "ui/components/whole_text_delegate.h"

#include "ui/components/scheme_widgets.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QStyle>

namespace quomble {

void WholeTextDelegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    makeCellColourReadable(option, index);
    if (option->text.isEmpty() || option->rect.isEmpty())
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

}  // namespace quomble
