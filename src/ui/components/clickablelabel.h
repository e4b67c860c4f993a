#pragma once

#include <QLabel>

namespace quomble {

// A label (text or picture) that reports a click of the left mouse button, or Space or
// Enter while it has the focus; it takes the focus with Tab and shows it.
class ClickableLabel : public QLabel {
    Q_OBJECT
public:
    explicit ClickableLabel(QWidget* parent = nullptr);

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace quomble
