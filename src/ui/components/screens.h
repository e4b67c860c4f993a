#pragma once

#include <QPoint>
#include <QRect>

class QWidget;

namespace quomble {

// A stored window place counts only where enough of the window lies on a screen to grab
// it by its title bar again (a monitor may have gone since it was stored).
bool reachableOnSomeScreen(const QRect& frame);

// Moves the window to a stored place when that place is reachable; otherwise the window
// keeps the place the system gives it.
void moveToStoredPlace(QWidget* window, QPoint place);

// For a dialog being hidden: its next showing keeps the place it has now (where the user
// left it) instead of being centred over its parent again.
void keepPlaceForNextShowing(QWidget* dialog);

// Where a dialog that was never shown nor placed opens: centred over its parent window
// (or its screen), kept within that screen's free area.
QPoint placeOverParent(const QWidget* dialog);

}  // namespace quomble
