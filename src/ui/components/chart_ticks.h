#pragma once

#include <qcustomplot.h>

namespace quomble {

// Value-axis ticks for counts: whole numbers only, at steps of 1, 2, 5, 10, 20, 25, 50 and
// so on, with sub ticks only where they fall on whole numbers too. With an axis, the ticks
// get closer as the axis gets longer, about one per kPixelsPerTick.
class WholeNumberTicker : public QCPAxisTicker {
public:
    static constexpr int kPixelsPerTick = 50;

    explicit WholeNumberTicker(const QCPAxis* axis = nullptr) : axis_(axis) {}

    // The step for a step of `step` chosen for readability alone.
    static double wholeStep(double step);
    // How many sub ticks divide `step` into whole numbers (0 for a step of 1).
    static int wholeSubTicks(double step);

protected:
    double getTickStep(const QCPRange& range) override;
    int getSubTickCount(double tickStep) override;

private:
    const QCPAxis* axis_;
};

}  // namespace quomble
