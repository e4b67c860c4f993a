#include "diagrams_fixture.h"
#include "ui/components/chart3d.h"

#include <QAction>
#include <QMouseEvent>

#include <gtest/gtest.h>

#include <cmath>

namespace quomble {
namespace {

using testing::DiagramsFixture;

const QColor kLime(0, 255, 0);
const QColor kRed(255, 0, 0);
const QColor kWall(178, 178, 178);

// Shows the chart's page in a window of the given size and renders what it shows.
QImage render(TForm5& f, ChartView* chart, int w, int h)
{
    f.PageControl1->setCurrentWidget(chart->parentWidget());
    f.show();
    f.resize(w, h);
    QApplication::processEvents();
    chart->replot();
    return chart->toPixmap().toImage();
}

// How many pixels of `color` the column x shows between the value axis' 0 and its top.
int pixelsInColumn(const QImage& img, ChartView* chart, int x, const QColor& color)
{
    const QRect area = chart->axisRect()->rect();
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        if (img.pixelColor(x, y) == color)
            ++n;
    return n;
}

TEST(ChartPixels, FlatBarsShowTheSeriesColourOnlyWhereADayHasBoots)
{
    Settings stored;
    stored.SlotDays = 7;
    DiagramsFixture fx(testing::weekLog(), stored);
    TForm5& f = *fx.form;
    f.PopupMenu1->N3DAnsicht1->trigger();
    f.PopupMenu1->BootTrendproTag1->trigger();
    f.PopupMenu1->CrashTrendproTag1->trigger();
    ASSERT_FALSE(f.PageControl1->Chart1->view3D());
    const QImage img = render(f, f.PageControl1->Chart1, 700, 500);
    for (int i = 0; i < 7; ++i) {
        const DayRecord& d = fx.model.day(i + 1);
        const int x = int(std::lround(f.PageControl1->Chart1->xAxis->coordToPixel(i)));
        const int lime = pixelsInColumn(img, f.PageControl1->Chart1, x, kLime);
        const int red = pixelsInColumn(img, f.PageControl1->Chart1, x, kRed);
        SCOPED_TRACE(i);
        if (d.Boots == 0 && d.Crashs == 0) {
            EXPECT_EQ(lime + red, 0);
            continue;
        }
        // The bar reaches from 0 to its value on the fixed axis (0..MaxBootsPerDay).
        const double height = f.PageControl1->Chart1->yAxis->coordToPixel(0) -
                              f.PageControl1->Chart1->yAxis->coordToPixel(d.Boots);
        EXPECT_NEAR(lime + red, height, 1.5);
        if (d.Crashs == 0)
            EXPECT_GT(lime, 0);
        else
            EXPECT_GT(red, 0);  // the crash bar is drawn over the boots bar
    }
}

TEST(ChartPixels, ThreeDimensionalLookHasGreyWallsAndBoxes)
{
    Settings stored;
    stored.SlotDays = 7;
    DiagramsFixture fx(testing::weekLog(), stored);
    TForm5& f = *fx.form;
    ASSERT_TRUE(f.PageControl1->Chart1->view3D());
    const QImage img = render(f, f.PageControl1->Chart1, 700, 500);
    const int d = f.PageControl1->Chart1->fittingDepth();
    ASSERT_EQ(d, kChartDepthMax);
    const QRect area = f.PageControl1->Chart1->axisRect()->rect();
    // Side wall left of the plot, floor below an empty day.
    int wall = 0;
    for (int y = area.top(); y < area.bottom() - d; ++y)
        wall += img.pixelColor(area.left() + 2, y) == kWall;
    EXPECT_GT(wall, (area.height() - d) * 8 / 10);
    const int emptyDay = int(std::lround(f.PageControl1->Chart1->xAxis->coordToPixel(4)));
    EXPECT_EQ(img.pixelColor(emptyDay, area.bottom() + 1 - d / 2), kWall);
    // Day 1's box: a lime front, a lighter top above it.
    const int x = int(std::lround(f.PageControl1->Chart1->xAxis->coordToPixel(0)));
    const double top = f.PageControl1->Chart1->yAxis->coordToPixel(2);
    EXPECT_EQ(img.pixelColor(x - 3, int(top) + 5), kLime);
    const QColor lid = img.pixelColor(x + d / 2 - 3, int(top) - d / 2);
    EXPECT_EQ(lid.green(), 255);
    EXPECT_GT(lid.red(), 100);

    // Off: no walls.
    f.PopupMenu1->N3DAnsicht1->trigger();
    const QImage flat = render(f, f.PageControl1->Chart1, 700, 500);
    const QRect a2 = f.PageControl1->Chart1->axisRect()->rect();
    for (int y = a2.top(); y < a2.bottom(); ++y)
        ASSERT_NE(flat.pixelColor(a2.left() + 2, y), kWall);
}

// Sixty days side by side: a box may not reach over its lower neighbour (its top would read
// as that day's value), and the trend line, although created first, lies in front.
TEST(ChartPixels, DenseBoxesStayInTheirColumnsBehindTheTrendLine)
{
    const QColor kGreen(0, 128, 0);
    ChartView chart;
    ChartSeries* trend = chart.addSeries(SeriesKind::Line, "Trend", kGreen, "T");
    ChartSeries* bars = chart.addSeries(SeriesKind::Bar, "Boots", kLime, "B");
    for (int i = 0; i < 60; ++i) {
        bars->add(i, i % 2 == 0 ? 10 : 2, QString::number(i));
        trend->add(i, 5, QString::number(i));
    }
    chart.setValueAxisFixed(10);
    chart.setView3D(true);
    chart.resize(620, 300);
    chart.show();
    QApplication::processEvents();
    chart.replot();
    const QImage img = chart.toPixmap().toImage();
    const QRect area = chart.axisRect()->rect();
    const int lineY = int(std::lround(chart.yAxis->coordToPixel(5)));
    const int lowTop = int(chart.yAxis->coordToPixel(2));
    for (int i = 0; i < 60; ++i) {
        SCOPED_TRACE(i);
        const int x = int(std::lround(chart.xAxis->coordToPixel(i)));
        EXPECT_TRUE(img.pixelColor(x, lineY) == kGreen || img.pixelColor(x, lineY - 1) == kGreen);
        if (i % 2 == 0)
            continue;
        int boxPixels = 0;  // front, top or side of any box above the low bar
        for (int y = area.top(); y < lowTop - chart.depthPixels(); ++y) {
            const QColor c = img.pixelColor(x, y);
            boxPixels += c.green() >= 159 && c.red() != c.green();
        }
        EXPECT_EQ(boxPixels, 0);
    }
}

TEST(ChartPixels, WeekdayBarsStandSideBySideOnTheirNames)
{
    DiagramsFixture fx;
    TForm5& f = *fx.form;
    f.PopupMenu1->N3DAnsicht1->trigger();
    const QImage img = render(f, f.PageControl1->Chart2, 700, 500);
    EXPECT_EQ(f.PageControl1->Chart2->shownLabels(),
              QStringList({"Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday", "Sunday"}));
    for (int k = 0; k < 7; ++k) {
        const int x = int(std::lround(f.PageControl1->Chart2->xAxis->coordToPixel(k + 1)));
        const bool any = fx.model.WeekdayTable[k].Boots + fx.model.WeekdayTable[k].Crashs > 0;
        EXPECT_EQ(pixelsInColumn(img, f.PageControl1->Chart2, x, kLime) +
                          pixelsInColumn(img, f.PageControl1->Chart2, x, kRed) >
                      0,
                  any)
            << k;
    }
}

// Boots and crashes of a week in one box per day: whatever the window's size, each box's
// front ends at its value on the value axis, its top reaches back exactly to the back wall,
// where the grid line of a value stands as far above its tick as the boxes are deep, and no
// crash top shows inside a taller boots box.
TEST(ChartPixels, BoxesReadTheirValuesOnTheAxisAndTheGridAtEverySize)
{
    const QColor kLimeTop(127, 255, 127);
    const QColor kRedTop(255, 127, 127);
    const QColor kGrid(150, 150, 150);
    const double boots[] = {3, 5, 0, 1, 5, 2, 4};
    const double crashs[] = {0, 1, 0, 1, 5, 0, 2};
    ChartView chart;
    ChartSeries* b = chart.addSeries(SeriesKind::Bar, "Boots", kLime, "B");
    ChartSeries* c = chart.addSeries(SeriesKind::Bar, "Crashs", kRed, "C");
    for (int i = 0; i < 7; ++i) {
        b->add(i, boots[i], QString::number(i));
        c->add(i, crashs[i], QString::number(i));
    }
    chart.setValueAxisFixed(6);
    chart.setView3D(true);
    chart.show();
    for (const QSize size : {QSize(380, 220), QSize(1800, 1000)}) {
        SCOPED_TRACE(size.width());
        chart.resize(size);
        QApplication::processEvents();
        chart.replot();
        const QImage img = chart.toPixmap().toImage();
        const int d = chart.fittingDepth();
        ASSERT_GE(d, kChartDepthMin);
        ASSERT_LE(d, kChartDepthMax);
        for (int i = 0; i < 7; ++i) {
            if (boots[i] == 0)
                continue;
            SCOPED_TRACE(i);
            const int x = int(std::lround(chart.xAxis->coordToPixel(i)));
            const double value = std::max(boots[i], crashs[i]);
            const int top = int(std::lround(chart.yAxis->coordToPixel(value)));
            const QColor front = crashs[i] >= boots[i] ? kRed : kLime;
            int firstFront = -1;
            for (int y = chart.axisRect()->top() - d; y < img.height() && firstFront < 0; ++y)
                if (img.pixelColor(x, y) == front)
                    firstFront = y;
            EXPECT_NEAR(firstFront, top, 1);
            const QColor lid = crashs[i] >= boots[i] ? kRedTop : kLimeTop;
            EXPECT_EQ(img.pixelColor(x, top - d + 1), lid);
            EXPECT_NE(img.pixelColor(x, top - d - 2), lid);
            int crashTops = 0;
            for (int y = top; y < chart.yAxis->coordToPixel(0); ++y)
                crashTops += img.pixelColor(x, y) == kRedTop;
            EXPECT_EQ(crashTops, 0);
        }
        // The grid on the back wall, in the gap right of the last box.
        const int wallX = int(chart.xAxis->coordToPixel(6.5)) + d - 2;
        for (double t : chart.yAxis->tickVector()) {
            if (t <= 0 || t >= 6)
                continue;
            const int row = int(std::lround(chart.yAxis->coordToPixel(t))) - d;
            int grid = 0;
            for (int x = wallX - 6; x <= wallX; ++x)
                grid += img.pixelColor(x, row) == kGrid;
            EXPECT_GT(grid, 0) << t;
        }
    }
}

// Counts of boots and crashes get whole-number ticks only, at a small and a large size.
TEST(ChartAxes, CountsShowWholeNumbers)
{
    Settings stored;
    stored.SlotDays = 7;
    DiagramsFixture fx(testing::weekLog(), stored);
    TForm5& f = *fx.form;
    ASSERT_LE(fx.model.MaxBootsPerDay, 3);  // the default ticks would step by halves
    for (ChartView* chart : {f.PageControl1->Chart1, f.PageControl1->Chart2, f.PageControl1->Chart5}) {
        for (const QSize size : {QSize(620, 420), QSize(1800, 1100)}) {
            SCOPED_TRACE(chart->objectName().toStdString() + " " + std::to_string(size.height()));
            render(f, chart, size.width(), size.height());
            QVector<double> ticks;
            QVector<double> subTicks;
            chart->yAxis->ticker()->generate(chart->yAxis->range(), QLocale::c(), 'g', 6, ticks, &subTicks,
                                             nullptr);
            ASSERT_EQ(ticks, chart->yAxis->tickVector());
            ASSERT_GE(ticks.size(), 2);
            for (double t : ticks + subTicks)
                EXPECT_EQ(t, std::round(t));
            for (const QString& label : chart->yAxis->tickVectorLabels())
                EXPECT_FALSE(label.contains(QLatin1Char('.'))) << label.toStdString();
        }
    }
    // A long axis gets a tick for every count up to a dozen.
    render(f, f.PageControl1->Chart1, 1800, 1100);
    EXPECT_EQ(f.PageControl1->Chart1->yAxis->tickVector().size(), fx.model.MaxBootsPerDay + 1);
}

// At the window's least size every chart shows each legend title whole, inside the chart,
// and keeps room for its plot.
TEST(ChartLegend, TitlesWholeAtTheSmallestWindow)
{
    DiagramsFixture fx;
    TForm5& f = *fx.form;
    for (ChartView* chart : {f.PageControl1->Chart1, f.PageControl1->Chart6, f.PageControl1->Chart3,
                             f.PageControl1->Chart4, f.PageControl1->Chart5, f.PageControl1->Chart2}) {
        SCOPED_TRACE(chart->objectName().toStdString());
        render(f, chart, 1, 1);
        ASSERT_EQ(f.size(), f.minimumSize());
        ASSERT_EQ(chart->legend->itemCount() >= 1, true);
        int titles = 0;
        for (int i = 0; i < chart->legend->itemCount(); ++i) {
            const QCPAbstractLegendItem* item = chart->legend->item(i);
            if (!item)
                continue;
            ++titles;
            EXPECT_GE(item->outerRect().width(), item->minimumOuterSizeHint().width());
            EXPECT_TRUE(chart->rect().contains(item->outerRect()));
        }
        EXPECT_EQ(titles, chart->legendTitles().size());
        EXPECT_GE(chart->axisRect()->height(), 60);
    }
}

TEST(ChartLabels, AsManyAsFitWithoutOverlapping)
{
    DiagramsFixture fx;
    TForm5& f = *fx.form;
    render(f, f.PageControl1->Chart4, 800, 500);
    const QStringList shown = f.PageControl1->Chart4->shownLabels();
    const int fontHeight = QFontMetrics(f.PageControl1->Chart4->xAxis->tickLabelFont()).height();
    const int width = f.PageControl1->Chart4->axisRect()->width();
    EXPECT_GE(shown.size(), 10);
    EXPECT_LE(shown.size(), width / fontHeight + 1);
    EXPECT_EQ(shown.first(), "00:00");
    // Evenly spaced, far enough apart.
    const QVector<double> ticks = f.PageControl1->Chart4->xAxis->tickVector();
    for (int i = 1; i < ticks.size(); ++i) {
        const double gap = f.PageControl1->Chart4->xAxis->coordToPixel(ticks[i]) -
                           f.PageControl1->Chart4->xAxis->coordToPixel(ticks[i - 1]);
        EXPECT_GE(gap, fontHeight);
    }
    // Enough room: every day of a short slot gets its label.
    Settings stored;
    stored.SlotDays = 7;
    DiagramsFixture week(testing::weekLog(), stored);
    render(*week.form, week.form->PageControl1->Chart1, 800, 500);
    EXPECT_EQ(week.form->PageControl1->Chart1->shownLabels().size(), 7);
    EXPECT_EQ(week.form->PageControl1->Chart1->shownLabels().last(), "Mo 07.12.2026");

    EXPECT_EQ(ChartLabelTicker::stepFor(10, 14), 2);
    EXPECT_EQ(ChartLabelTicker::stepFor(0.75, 14), 20);
    EXPECT_EQ(ChartLabelTicker::stepFor(0.01, 14), 1440);
    EXPECT_EQ(ChartLabelTicker::stepFor(0.001, 14), 20000);
}

TEST(ChartLabels, ChosenAgainWhenTheWindowIsResized)
{
    DiagramsFixture fx;
    TForm5& f = *fx.form;
    render(f, f.PageControl1->Chart4, 900, 500);
    const int wide = static_cast<int>(f.PageControl1->Chart4->shownLabels().size());
    f.resize(400, 500);
    QApplication::processEvents();  // the resize's own replot only
    const int fontHeight = QFontMetrics(f.PageControl1->Chart4->xAxis->tickLabelFont()).height();
    const QVector<double> ticks = f.PageControl1->Chart4->xAxis->tickVector();
    ASSERT_GE(ticks.size(), 2);
    EXPECT_LT(ticks.size(), wide);
    EXPECT_GE(f.PageControl1->Chart4->xAxis->coordToPixel(ticks[1]) -
                  f.PageControl1->Chart4->xAxis->coordToPixel(ticks[0]),
              fontHeight);
}

TEST(ChartView, ZoomIsUndoneByADoubleClickAndByNewPoints)
{
    ChartView chart;
    ChartSeries* s = chart.addSeries(SeriesKind::Bar, "Boots", kLime, "S");
    for (int i = 0; i < 10; ++i)
        s->add(i, i, QString::number(i));
    chart.resize(500, 300);
    chart.show();
    QApplication::processEvents();
    chart.replot();
    EXPECT_EQ(chart.keyRange(), QCPRange(-0.5, 9.5));
    EXPECT_EQ(chart.valueRange(), QCPRange(0, 9));
    chart.xAxis->setRange(2, 4);
    chart.replot();
    EXPECT_EQ(chart.keyRange(), QCPRange(2, 4));
    QMouseEvent dbl(QEvent::MouseButtonDblClick, QPointF(200, 150), QPointF(200, 150), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&chart, &dbl);
    EXPECT_EQ(chart.keyRange(), QCPRange(-0.5, 9.5));

    chart.setValueAxisFixed(0);  // degenerate maximum still gives a drawable axis
    EXPECT_GT(chart.valueRange().upper, 0);
    s->setActive(false);
    chart.setValueAxisAutomatic(true);
    EXPECT_EQ(chart.valueRange(), QCPRange(0, 1));
}

// The charts' texts follow the window's font, not the desktop's: a large desktop font
// leaves the plot its size and draws the axis labels as the window's other texts.
TEST(ChartFonts, FollowTheWindowNotTheDesktop)
{
    auto plotSize = [] {
        Settings stored;
        stored.SlotDays = 7;
        DiagramsFixture fx(testing::weekLog(), stored);
        ChartView* chart = fx.form->PageControl1->Chart1;
        render(*fx.form, chart, 620, 420);
        EXPECT_EQ(chart->yAxis->tickLabelFont().pixelSize(), fx.form->font().pixelSize());
        EXPECT_EQ(chart->legend->font().pixelSize(), fx.form->font().pixelSize());
        return chart->axisRect()->rect().size();
    };
    const QFont desktop = QApplication::font();
    const QSize usual = plotSize();
    QFont large = desktop;
    large.setPointSize(14);
    QApplication::setFont(large);
    const QSize withLargeFont = plotSize();
    QApplication::setFont(desktop);
    EXPECT_EQ(withLargeFont, usual);
    EXPECT_GT(usual.height(), 100);
}

}  // namespace
}  // namespace quomble
