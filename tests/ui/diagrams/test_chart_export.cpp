#include "diagrams_fixture.h"

#include <QAction>
#include <QClipboard>
#include <QImage>

#include <gtest/gtest.h>

#include <cmath>

namespace quomble {
namespace {

using testing::DiagramsFixture;

const QColor kLime(0, 255, 0);

TEST(ChartExport, SavedPngOfTheFirstPageHasTheBootBarsColourWhereADayHasBoots)
{
    Settings stored;
    stored.SlotDays = 7;
    DiagramsFixture fx(testing::weekLog(), stored);
    TForm5& f = *fx.form;
    f.PopupMenu1->N3DAnsicht1->trigger();  // flat bars, without the trend lines over them
    f.PopupMenu1->BootTrendproTag1->trigger();
    f.PopupMenu1->CrashTrendproTag1->trigger();
    f.PageControl1->setCurrentIndex(0);
    f.show();
    f.resize(700, 500);
    QApplication::processEvents();
    ASSERT_EQ(f.shownChart(), f.PageControl1->Chart1);

    testing::TempFolder dir;
    const QString png = QString::fromStdString((dir / "chart.png").string());
    const QString png2x = QString::fromStdString((dir / "chart2x.png").string());
    ASSERT_TRUE(f.saveShownChart(png, ChartFileType::Png));
    ASSERT_TRUE(f.saveShownChart(png2x, ChartFileType::Png2x));
    const QImage img(png);
    ASSERT_EQ(img.size(), f.PageControl1->Chart1->size());
    EXPECT_EQ(QImage(png2x).size(), f.PageControl1->Chart1->size() * 2);

    const QRect area = f.PageControl1->Chart1->axisRect()->rect();
    for (int i = 0; i < 7; ++i) {
        const DayRecord& d = fx.model.day(i + 1);
        const int x = int(std::lround(f.PageControl1->Chart1->xAxis->coordToPixel(i)));
        int lime = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            lime += img.pixelColor(x, y) == kLime;
        SCOPED_TRACE(i);
        EXPECT_EQ(lime > 0, d.Boots > d.Crashs);
    }

    f.PopupMenu1->CopyChart1->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->image().size(), f.PageControl1->Chart1->size());
}

TEST(ChartExport, SvgAndPdfAreWritten)
{
    DiagramsFixture fx;
    TForm5& f = *fx.form;
    f.show();
    QApplication::processEvents();
    testing::TempFolder dir;
    const QString svg = QString::fromStdString((dir / "chart.svg").string());
    const QString pdf = QString::fromStdString((dir / "chart.pdf").string());
    ASSERT_TRUE(f.saveShownChart(svg, ChartFileType::Svg));
    ASSERT_TRUE(f.saveShownChart(pdf, ChartFileType::Pdf));
    const std::string svgText = testing::readFile(dir / "chart.svg");
    EXPECT_NE(svgText.find("<svg"), std::string::npos);
    EXPECT_NE(svgText.find("Boots"), std::string::npos);  // the legend's text
    EXPECT_EQ(testing::readFile(dir / "chart.pdf").substr(0, 5), "%PDF-");
}

}  // namespace
}  // namespace quomble
