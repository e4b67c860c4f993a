#pragma once

class QAbstractItemView;
class QTabWidget;

namespace quomble {

// The cells of `view` whose model gives them a text colour draw it as palette::textOn over
// the view's background, so they read on a dark desktop scheme too.
void drawCellColoursReadable(QAbstractItemView* view);

// The tabs of `tabs` highlight under the mouse, in the desktop's style.
void highlightTabsUnderMouse(QTabWidget* tabs);

}  // namespace quomble
