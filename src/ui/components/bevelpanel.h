#pragma once

#include <QWidget>

namespace quomble {

// A panel framed by up to two one-pixel bevels: the outer one first, the inner one inside
// it. Raised draws light above and left, dark below and right; lowered the other way.
// Children are placed in the panel's own coordinates, frame included.
class BevelPanel : public QWidget {
public:
    enum class Bevel { None, Lowered, Raised };

    BevelPanel(Bevel outer, Bevel inner, QWidget* parent = nullptr);
    // Without a fill the panel only draws its frame (a bevel around other controls).
    void setFilled(bool filled) { filled_ = filled; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Bevel outer_;
    Bevel inner_;
    bool filled_ = true;
};

}  // namespace quomble
