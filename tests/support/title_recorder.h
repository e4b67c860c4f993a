#pragma once

#include <QEvent>
#include <QStringList>
#include <QWidget>

namespace quomble::testing {

// Records a window's titles as they change.
class TitleRecorder : public QObject {
public:
    explicit TitleRecorder(QWidget* w) { w->installEventFilter(this); }
    bool eventFilter(QObject* o, QEvent* e) override
    {
        if (e->type() == QEvent::WindowTitleChange)
            titles << static_cast<QWidget*>(o)->windowTitle();
        return false;
    }
    // The titles without a repetition of the one before.
    QStringList distinct() const
    {
        QStringList out;
        for (const QString& t : titles)
            if (out.isEmpty() || out.back() != t)
                out << t;
        return out;
    }
    QStringList titles;
};

}  // namespace quomble::testing
