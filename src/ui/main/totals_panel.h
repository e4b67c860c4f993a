#pragma once

#include "ui/components/bevelpanel.h"

namespace quomble {

class ClickableLabel;
class LabelSet;
class LogModel;

// The main window's totals: four sentences with the boot, day and crash counts and the
// ratios, each flowing from left to right, and the program icon (Image1) in its frame
// (Bevel1) at the right.
class TotalsPanel : public BevelPanel {
    Q_OBJECT
public:
    TotalsPanel(LabelSet& labels, QWidget* parent);

    void showTotals(const LogModel& model);
    ClickableLabel* icon() const { return icon_; }
    BevelPanel* iconFrame() const { return frame_; }

signals:
    void iconClicked();

private:
    void relayout();

    LabelSet& labels_;
    ClickableLabel* icon_ = nullptr;
    BevelPanel* frame_ = nullptr;
};

}  // namespace quomble
