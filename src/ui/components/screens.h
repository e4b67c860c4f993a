#pragma once

#include "core/settings.h"

#include <QPoint>
#include <QRect>

#include <vector>

class QWidget;

namespace quomble {

// Whether the window system tells a window's place: a Wayland session neither sets nor
// reports it (Qt 6.4 offers no capability to ask, so the platform's name decides).
bool windowPlacesKnown();

// The available areas of the screens the program runs on now.
std::vector<WindowRect> availableScreenAreas();

// A stored window place counts only where enough of the window lies on a screen to grab
// it by its title bar again (a monitor may have gone since it was stored).
bool reachableOnSomeScreen(const QRect& frame);

// Moves the window to a stored place when that place is reachable; otherwise the window
// keeps the place the system gives it.
void moveToStoredPlace(QWidget* window, QPoint place);

// Gives the window a stored size and place, bounded by the screens (frameOnScreens): never
// larger than fits on one of them, at least `minimumSize`, and at the place only when it
// is reachable.
void applyStoredFrame(QWidget* window, const WindowRect& stored, int minimumSize);

// For a dialog being hidden: its next showing keeps the place it has now (where the user
// left it) instead of being centred over its parent again.
void keepPlaceForNextShowing(QWidget* dialog);

// Where a dialog that was never shown nor placed opens: centred over its parent window
// (or its screen), kept within that screen's free area.
QPoint placeOverParent(const QWidget* dialog);

}  // namespace quomble
