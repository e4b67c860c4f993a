#include "ui/components/keyboard.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QKeySequence>
#include <QPainter>
#include <QStyle>
#include <QTabWidget>

namespace quomble {

namespace {

// Where a menu asked for by keyboard opens: at the current cell of a table, else in the
// middle of the control.
QPoint menuPlace(QWidget* control)
{
    if (auto* view = qobject_cast<QAbstractItemView*>(control)) {
        const QRect cell = view->visualRect(view->currentIndex());
        if (cell.isValid() && view->viewport()->rect().intersects(cell))
            return view->viewport()->mapTo(view, cell.center());
    }
    return control->rect().center();
}

void requestMenu(QWidget* window)
{
    QWidget* control = window->focusWidget();
    if (!control || !control->isVisible())
        control = window;
    const QPoint place = menuPlace(control);
    QContextMenuEvent request(QContextMenuEvent::Keyboard, place, control->mapToGlobal(place));
    QApplication::sendEvent(control, &request);
}

QAction* windowKeys(QWidget* window, const QList<QKeySequence>& keys)
{
    auto* action = new QAction(window);
    action->setShortcuts(keys);
    action->setShortcutContext(Qt::WindowShortcut);
    window->addAction(action);
    return action;
}

}  // namespace

void nameCornerButton(QAbstractItemView* view)
{
    if (auto* corner = view->findChild<QAbstractButton*>(QString(), Qt::FindDirectChildrenOnly))
        corner->setAccessibleName(QStringLiteral("Select all rows"));
}

void addPopupMenuKeys(QWidget* window)
{
    QAction* keys = windowKeys(window, {QKeySequence(Qt::SHIFT | Qt::Key_F10), QKeySequence(Qt::Key_Menu)});
    QObject::connect(keys, &QAction::triggered, window, [window] { requestMenu(window); });
}

void addPageKeys(QWidget* window, QTabWidget* pages)
{
    auto step = [pages](int by) {
        const int count = pages->count();
        if (count > 1)
            pages->setCurrentIndex((pages->currentIndex() + by + count) % count);
    };
    QAction* next =
        windowKeys(window, {QKeySequence(Qt::CTRL | Qt::Key_Tab), QKeySequence(Qt::CTRL | Qt::Key_PageDown)});
    QAction* previous = windowKeys(window, {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab),
                                            QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab),
                                            QKeySequence(Qt::CTRL | Qt::Key_PageUp)});
    QObject::connect(next, &QAction::triggered, pages, [step] { step(+1); });
    QObject::connect(previous, &QAction::triggered, pages, [step] { step(-1); });
}

void drawFocusFrame(QWidget* widget)
{
    if (!widget->hasFocus())
        return;
    // The style's own frame is too faint to find on a panel; this one is the selection's colour.
    QPainter painter(widget);
    painter.setPen(QPen(widget->palette().color(QPalette::Highlight), 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(widget->rect()).adjusted(1, 1, -1, -1));
}

QPoint popupPlace(QWidget* window, const QContextMenuEvent* event)
{
    if (event->reason() != QContextMenuEvent::Keyboard)
        return event->globalPos();
    QWidget* control = window->focusWidget();
    if (!control || !control->isVisible())
        control = window;
    return control->mapToGlobal(menuPlace(control));
}

}  // namespace quomble
