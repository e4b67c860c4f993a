#pragma once

#include <QTimer>
#include <QWidget>

namespace quomble {

// A small busy animation: a folder with a magnifier sweeping across it. It moves on its
// own timer, so it keeps moving while the window waits for long work done elsewhere.
class BusyIndicator : public QWidget {
    Q_OBJECT
public:
    explicit BusyIndicator(QWidget* parent = nullptr);

    void start();
    void stop();
    bool isActive() const { return timer_.isActive(); }
    int frame() const { return frame_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QTimer timer_;
    int frame_ = 0;
};

}  // namespace quomble
