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

}  // namespace quomble
