#include "ui/components/screens.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace quomble {

namespace {
constexpr int kGripWidth = 40;
constexpr int kGripHeight = 20;
}  // namespace

bool reachableOnSomeScreen(const QRect& frame)
{
    const QRect titleBar(frame.topLeft(), QSize(frame.width(), kGripHeight));
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QRect common = screen->availableGeometry().intersected(titleBar);
        if (common.width() >= std::min(kGripWidth, frame.width()) && common.height() >= kGripHeight / 2)
            return true;
    }
    return false;
}

void moveToStoredPlace(QWidget* window, QPoint place)
{
    const QSize size = window->frameGeometry().size().expandedTo(window->size());
    if (reachableOnSomeScreen(QRect(place, size)))
        window->move(place);
}

}  // namespace quomble
