#pragma once

#include <QApplication>
#include <QMenu>
#include <QTest>
#include <QWidget>

namespace quomble::testing {

// Makes `window` the active window, as a click on it would (the offscreen platform does not
// hand the activation back by itself).
inline void activate(QWidget* window)
{
    window->show();
    QApplication::setActiveWindow(window);
}

// A key pressed where the keyboard sends it: to the control with the focus, else the window.
inline void press(QWidget* window, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QWidget* focus = QApplication::focusWidget();
    QTest::keyClick(focus && window->isAncestorOf(focus) ? focus : window, key, modifiers);
}

// Presses Tab until `target` has the focus; false when it never gets it.
inline bool tabTo(QWidget* window, QWidget* target, int limit = 40)
{
    for (int i = 0; i < limit; ++i) {
        if (QApplication::focusWidget() == target)
            return true;
        press(window, Qt::Key_Tab);
    }
    return QApplication::focusWidget() == target;
}

// The popup menu that is open now, or null.
inline QMenu* openMenu() { return qobject_cast<QMenu*>(QApplication::activePopupWidget()); }

// Picks the item `steps` places down an open menu (separators and hidden items are
// passed over) with the arrow keys and Return.
inline void pickFromMenu(int steps)
{
    QMenu* menu = openMenu();
    if (!menu)
        return;
    for (int i = 0; i < steps; ++i)
        QTest::keyClick(menu, Qt::Key_Down);
    QTest::keyClick(menu, Qt::Key_Return);
}

}  // namespace quomble::testing
