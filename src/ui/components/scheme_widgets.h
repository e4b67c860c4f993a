#pragma once

class QModelIndex;
class QStyleOptionViewItem;
class QTabWidget;

namespace quomble {

// For an item delegate: a cell whose model gives it a text colour draws it as palette::textOn
// over the view's background, so it reads on a dark desktop scheme too.
void makeCellColourReadable(QStyleOptionViewItem* option, const QModelIndex& index);

// The tabs of `tabs` highlight under the mouse, in the desktop's style.
void highlightTabsUnderMouse(QTabWidget* tabs);

}  // namespace quomble
