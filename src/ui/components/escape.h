#pragma once

#include <functional>

class QWidget;

namespace quomble {

// Escape closes the window that has the focus. Routes the Escape key pressed anywhere in
// `window` to its key handler (the window's FormKeyDown), before any control or the dialog
// itself acts on it. The router belongs to the window.
void routeEscape(QWidget* window, std::function<void(int key)> formKeyDown);

// The key handler's rule, shared by every window: Escape closes it.
void closeOnEscape(QWidget* window, int key);

}  // namespace quomble
