#pragma once

class QAbstractItemView;
class QContextMenuEvent;
class QPoint;
class QTabWidget;
class QWidget;

namespace quomble {

// The keys a desktop user works a window with when there is no mouse.

// Shift+F10 and the Menu key ask the focused control for its popup menu, as a right click
// on it would: the request climbs from the control to the window, so the window's own menu
// opens unless the control has one of its own. The menu opens at the control (at the
// current cell of a table).
void addPopupMenuKeys(QWidget* window);

// Where a window's popup menu opens: at the mouse for a right click, at the focused control
// (its current cell) for a menu asked for by keyboard, wherever the mouse is.
QPoint popupPlace(QWidget* window, const QContextMenuEvent* event);

// Ctrl+Tab and Ctrl+Page Down show the next page of `pages`, Ctrl+Shift+Tab and Ctrl+Page Up
// the previous one, going round at the ends, whichever control of `window` has the focus.
void addPageKeys(QWidget* window, QTabWidget* pages);

// A table's corner button selects every row (Ctrl+A does so from the keyboard): it gets a
// name a screen reader can say.
void nameCornerButton(QAbstractItemView* view);

// For the paint of a control that takes the focus: a frame around `widget` while it has it.
void drawFocusFrame(QWidget* widget);

}  // namespace quomble
