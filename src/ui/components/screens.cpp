#include "ui/components/screens.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace quomble {

bool windowPlacesKnown() { return !QGuiApplication::platformName().startsWith(QLatin1String("wayland")); }

std::vector<WindowRect> availableScreenAreas()
{
    std::vector<WindowRect> areas;
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QRect r = screen->availableGeometry();
        areas.push_back(WindowRect{r.x(), r.y(), r.width(), r.height()});
    }
    return areas;
}

bool reachableOnSomeScreen(const QRect& frame)
{
    const WindowRect stored{frame.x(), frame.y(), frame.width(), frame.height()};
    return frameOnScreens(stored, availableScreenAreas()).placeUsable;
}

void moveToStoredPlace(QWidget* window, QPoint place)
{
    const QSize size = window->frameGeometry().size().expandedTo(window->size());
    if (reachableOnSomeScreen(QRect(place, size)))
        window->move(place);
}

void applyStoredFrame(QWidget* window, const WindowRect& stored, int minimumSize)
{
    const FrameOnScreens bounded = frameOnScreens(stored, availableScreenAreas(), minimumSize);
    window->resize(bounded.frame.width, bounded.frame.height);
    if (bounded.placeUsable)
        window->move(bounded.frame.left, bounded.frame.top);
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
