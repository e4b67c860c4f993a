#include "ui/components/screens.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

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

void keepPlaceForNextShowing(QWidget* dialog)
{
    // A dialog without this mark is centred over its parent at every showing.
    dialog->setAttribute(Qt::WA_Moved);
}

QPoint placeOverParent(const QWidget* dialog)
{
    const QWidget* parent = dialog->parentWidget() ? dialog->parentWidget()->window() : nullptr;
    const QScreen* screen = parent ? parent->screen() : dialog->screen();
    const QRect free = screen ? screen->availableGeometry() : QRect();
    const QPoint centre = parent ? parent->frameGeometry().center() : free.center();
    QRect place(QPoint(0, 0), dialog->frameGeometry().size().expandedTo(dialog->size()));
    place.moveCenter(centre);
    if (free.isValid()) {
        place.moveRight(std::min(place.right(), free.right()));
        place.moveLeft(std::max(place.left(), free.left()));
        place.moveBottom(std::min(place.bottom(), free.bottom()));
        place.moveTop(std::max(place.top(), free.top()));
    }
    return place.topLeft();
}

}  // namespace quomble
