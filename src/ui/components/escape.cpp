#include "ui/components/escape.h"

#include <QEvent>
#include <QKeyEvent>
#include <QObject>
#include <QWidget>

namespace quomble {

namespace {

class EscapeRouter : public QObject {
public:
    EscapeRouter(QWidget* window, std::function<void(int)> formKeyDown)
        : QObject(window), formKeyDown_(std::move(formKeyDown))
    {
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
            formKeyDown_(Qt::Key_Escape);
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void(int)> formKeyDown_;
};

}  // namespace

void routeEscape(QWidget* window, std::function<void(int key)> formKeyDown)
{
    window->installEventFilter(new EscapeRouter(window, std::move(formKeyDown)));
}

void closeOnEscape(QWidget* window, int key)
{
    if (key == Qt::Key_Escape)
        window->close();
}

}  // namespace quomble
