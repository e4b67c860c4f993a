#include "ui/components/chart_ticks.h"

#include <algorithm>
#include <cmath>

namespace quomble {

double WholeNumberTicker::wholeStep(double step)
{
    if (!(step > 1))
        return 1;
    if (std::fabs(step - std::round(step)) < 1e-9)
        return std::round(step);
    // The next of 2, 5, 10, 20, 50, 100 ... above a fractional step such as 2.5.
    const double magnitude = std::pow(10.0, std::floor(std::log10(step)));
    for (double m : {1.0, 2.0, 5.0, 10.0})
        if (m * magnitude >= step)
            return m * magnitude;
    return 10 * magnitude;
}

int WholeNumberTicker::wholeSubTicks(double step)
{
    const auto whole = static_cast<long long>(std::llround(step));
    if (whole % 5 == 0)
        return 4;
    if (whole % 2 == 0)
        return 1;
    return 0;
}

double WholeNumberTicker::getTickStep(const QCPRange& range)
{
    if (axis_ && axis_->axisRect()) {
        const QRect area = axis_->axisRect()->rect();
        const int length = axis_->orientation() == Qt::Vertical ? area.height() : area.width();
        setTickCount(std::clamp(length / kPixelsPerTick, 2, 20));
    }
    return wholeStep(QCPAxisTicker::getTickStep(range));
}

int WholeNumberTicker::getSubTickCount(double tickStep) { return wholeSubTicks(tickStep); }

}  // namespace quomble
