#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

namespace quomble {

class ChartView;

// The file types a chart is saved as.
enum class ChartFileType {
    Png,    // at the chart's size on the screen
    Png2x,  // at twice that size, sharp on high-density screens and in print
    Svg,
    Pdf,
};

// The chart as it is drawn now (ranges, 3D look, shown series), at `scale` times its size.
QImage chartImage(ChartView* chart, double scale = 1.0);
// The bytes of a file of that type holding the chart as drawn now; empty if it could not
// be made.
QByteArray chartFileBytes(ChartView* chart, ChartFileType type);

}  // namespace quomble
