#pragma once

#include <QString>

namespace quomble {

class ChartView;

// What a screen reader learns of a chart: the role of a chart, the chart's accessible name
// (its title), and as its description a short text of what it shows, made when asked, so it
// always tells the points shown now.
void installChartAccessibility();

// "7 points from Tu 01.12.2026 to Mo 07.12.2026. Boots: highest 2 at We 02.12.2026, lowest 0
// at ...": the labels of the first and last point and, for each shown series, its title, its
// highest and lowest value and where they are.
QString chartSummary(const ChartView& chart);

}  // namespace quomble
