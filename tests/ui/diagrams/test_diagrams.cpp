#include "diagrams_fixture.h"
#include "ui/components/busyindicator.h"
#include "support/places.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QScrollBar>
#include <QSlider>
#include <QTabWidget>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QFile>
#include <QToolButton>

#include <gtest/gtest.h>

namespace quomble {
namespace {

using testing::DiagramsFixture;
using testing::logText;
using testing::yValues;

std::vector<ChartSeries*> perDay(TForm5& f)
{
    return {f.PageControl1->Series1,  f.PageControl1->Series2,  f.PageControl1->Series3,
            f.PageControl1->Series5,  f.PageControl1->Series9,  f.PageControl1->Series10,
            f.PageControl1->Series13, f.PageControl1->Series14, f.PageControl1->Series15,
            f.PageControl1->Series16};
}

// Each of the ten per-day series holds exactly the days first..last of the day list.
void expectSlot(TForm5& f, int first, int last)
{
    const int n = last - first + 1;
    for (ChartSeries* s : perDay(f)) {
        ASSERT_EQ(s->count(), n) << s->objectName().toStdString();
        for (int i = 0; i < n; ++i) {
            ASSERT_EQ(s->xValue(i), i);
            ASSERT_EQ(s->label(i), f.dayLabel(first + i)) << s->objectName().toStdString() << " point " << i;
        }
    }
    for (int i = 0; i < n; ++i) {
        const DayRecord& d = f.model().day(first + i);
        EXPECT_EQ(f.PageControl1->Series1->yValue(i), d.Boots);
        EXPECT_EQ(f.PageControl1->Series2->yValue(i), d.Crashs);
        EXPECT_DOUBLE_EQ(f.PageControl1->Series5->yValue(i), d.OnTime / 3600.0);
        EXPECT_DOUBLE_EQ(f.PageControl1->Series3->yValue(i), d.OnTimeTrend / 3600.0);
        EXPECT_EQ(f.PageControl1->Series13->yValue(i), double(d.BootTrend));
        EXPECT_EQ(f.PageControl1->Series9->yValue(i), double(d.BootFrequency));
        EXPECT_EQ(f.PageControl1->Series16->yValue(i), double(d.CrashFrequencyTrend));
    }
}

std::string ini(std::initializer_list<const char*> lines, QTemporaryDir& dir)
{
    const QString path = dir.filePath(QStringLiteral("Quomble.ini"));
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    for (const char* l : lines) {
        file.write(l);
        file.write("\r\n");
    }
    return path.toStdString();
}

// A log whose boots log in at the given minutes of 01.12.2026, all shut down after a minute.
std::string loginsAt(std::initializer_list<const char*> times)
{
    std::string text;
    for (const char* t : times)
        text += std::string("01.12.2026 ") + t + ":00 01.12.2026 " + t + ":30\r\n";
    return text + "07.12.2026 11:00:00 \r\n";
}

// --- Window, pages, series ------------------------------------------------------------------

TEST(DiagramsWindow, PagesChartsAndSeriesAsDesigned)
{
    DiagramsFixture fx;
    TForm5& f = *fx.form;
    EXPECT_EQ(f.windowTitle(), "Diagrams");
    EXPECT_TRUE(f.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_FALSE(f.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_TRUE(f.isModal());

    const QStringList captions = {"Boots && Crashs per day",
                                  "Boot- && Crashfrequency",
                                  "OnTime per day",
                                  "OnTime per daytime",
                                  "Boots && Shutdowns && Crashs per daytime",
                                  "Boots && Crashs per day of week"};
    const QStringList sheets = {"TabSheet1", "TabSheet6", "TabSheet3", "TabSheet4", "TabSheet5", "TabSheet2"};
    const QStringList charts = {"Chart1", "Chart6", "Chart3", "Chart4", "Chart5", "Chart2"};
    ASSERT_EQ(f.PageControl1->count(), 6);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(f.PageControl1->tabText(i), captions[i]);
        EXPECT_EQ(f.PageControl1->widget(i)->objectName(), sheets[i]);
        EXPECT_NE(f.PageControl1->widget(i)->findChild<ChartView*>(charts[i]), nullptr);
    }

    struct Expected {
        ChartView* chart;
        QStringList names, titles;
        std::vector<QColor> colors;
        std::vector<SeriesKind> kinds;
    };
    const QColor lime(0, 255, 0), green(0, 128, 0), red(255, 0, 0), pink(255, 0, 128), blue(0, 0, 255);
    using K = SeriesKind;
    const Expected expected[] = {
        {f.PageControl1->Chart1,
         {"Series1", "Series13", "Series2", "Series14"},
         {"Boots", "BootTrend", "Crashs", "CrashTrend"},
         {lime, green, red, pink},
         {K::Bar, K::Line, K::Bar, K::Line}},
        {f.PageControl1->Chart6,
         {"Series9", "Series15", "Series10", "Series16"},
         {"Bootfrequency", "BootfrequencyTrend", "Crashfrequency", "CrashfrequenyTrend"},
         {lime, green, red, pink},
         {K::Bar, K::Line, K::Bar, K::Line}},
        {f.PageControl1->Chart3,
         {"Series5", "Series3"},
         {"OnTime per day", "Trend"},
         {lime, green},
         {K::Bar, K::Line}},
        {f.PageControl1->Chart4, {"Series7"}, {"OnTime per daytime"}, {lime}, {K::Area}},
        {f.PageControl1->Chart5,
         {"Series6", "Series11", "Series12"},
         {"Boots", "Shutdowns", "Crashs"},
         {green, blue, red},
         {K::FastLine, K::FastLine, K::FastLine}},
        {f.PageControl1->Chart2, {"Series4", "Series8"}, {"Boots", "Crashs"}, {lime, red}, {K::Bar, K::Bar}},
    };
    for (const Expected& e : expected) {
        const auto& list = e.chart->seriesList();
        ASSERT_EQ(list.size(), std::size_t(e.names.size()));
        for (std::size_t i = 0; i < list.size(); ++i) {
            EXPECT_EQ(list[i]->objectName(), e.names[int(i)]);
            EXPECT_EQ(list[i]->title(), e.titles[int(i)]);
            EXPECT_EQ(list[i]->color(), e.colors[i]);
            EXPECT_EQ(list[i]->kind(), e.kinds[i]);
        }
        e.chart->replot();
        EXPECT_EQ(e.chart->legendTitles(), e.titles);
        EXPECT_EQ(e.chart->legendColor(), QApplication::palette().color(QPalette::Button));
        EXPECT_EQ(e.chart->labelsRotated(), e.chart != f.PageControl1->Chart2);
        EXPECT_EQ(e.chart->view3D(), e.chart != f.PageControl1->Chart4 && e.chart != f.PageControl1->Chart5);
    }
    EXPECT_TRUE(f.PageControl1->Series7->isStepped());
}

TEST(DiagramsWindow, CreationFillsTheNewestSlotAndTheFixedTables)
{
    Settings stored;
    stored.SlotDays = 3;
    DiagramsFixture fx(testing::weekLog(), stored);
    TForm5& f = *fx.form;
    ASSERT_EQ(fx.model.DayCount, 7);
    EXPECT_EQ(f.Panel1->ScrollBar1->minimum(), 1);
    EXPECT_EQ(f.Panel1->ScrollBar1->maximum(), 5);
    EXPECT_EQ(f.Panel1->ScrollBar1->value(), 5);
    EXPECT_EQ(f.SlotStart, 5);
    expectSlot(f, 5, 7);
    EXPECT_EQ(f.PageControl1->Series1->label(2), "Mo 07.12.2026");

    EXPECT_EQ(f.PageControl1->Series7->count(), 1441);
    EXPECT_EQ(f.PageControl1->Series6->count(), 1441);
    EXPECT_EQ(f.PageControl1->Series11->count(), 1441);
    EXPECT_EQ(f.PageControl1->Series12->count(), 1441);
    ASSERT_EQ(f.PageControl1->Series4->count(), 7);
    ASSERT_EQ(f.PageControl1->Series8->count(), 7);
    for (int k = 0; k < 7; ++k) {
        EXPECT_EQ(f.PageControl1->Series4->xValue(k), k + 1);
        EXPECT_EQ(f.PageControl1->Series4->label(k),
                  QString::fromLatin1(fx.model.WeekdayTable[k].Name.str().c_str()));
        EXPECT_EQ(f.PageControl1->Series4->yValue(k), fx.model.WeekdayTable[k].Boots);
        EXPECT_EQ(f.PageControl1->Series8->yValue(k), fx.model.WeekdayTable[k].Crashs);
    }
    EXPECT_EQ(f.PageControl1->Series4->label(0), "Monday");

    // The value axes and the controls.
    EXPECT_EQ(f.PageControl1->Chart1->valueRange(), QCPRange(0, fx.model.MaxBootsPerDay));
    EXPECT_EQ(f.PageControl1->Chart3->valueRange(), QCPRange(0, 24));
    EXPECT_EQ(f.Panel1->TrackBar1->maximum(), 7);
    EXPECT_EQ(f.Panel1->TrackBar1->value(), 3);
    EXPECT_EQ(f.Panel1->TrackBar2->maximum(), 1440);
    EXPECT_EQ(f.Panel1->TrackBar2->value(), 60);
    EXPECT_EQ(f.Panel1->TrackBar3->maximum(), 7);
    EXPECT_EQ(f.Panel1->Edit1->text(), "3");
    EXPECT_EQ(f.Panel1->Edit2->text(), "60");
    EXPECT_EQ(f.Panel1->Edit3->text(), "1");
    // At least the design's 8 pixels a digit and 2, and the widest digits fit whole inside.
    const std::pair<QLineEdit*, int> edits[] = {
        {f.Panel1->Edit1, 1}, {f.Panel1->Edit2, 4}, {f.Panel1->Edit3, 1}};
    for (const auto& [edit, digits] : edits) {
        EXPECT_GE(edit->width(), 8 * digits + 2);
        const int text = QFontMetrics(edit->font()).horizontalAdvance(QString(digits, QLatin1Char('8')));
        EXPECT_LT(text, edit->width() - 4) << edit->objectName().toStdString();
    }
    EXPECT_EQ(f.Panel1->Panel4->y(), f.Panel1->Panel7->y());
    EXPECT_EQ(f.Panel1->height(), 54);
    EXPECT_EQ(f.PageControl1->currentWidget(), f.PageControl1->TabSheet1);
}

TEST(DiagramsWindow, SingleDayLogShowsTodayOnly)
{
    DiagramsFixture fx(logText({"07.12.2026 11:00:00 "}));
    TForm5& f = *fx.form;
    ASSERT_EQ(fx.model.DayCount, 1);
    expectSlot(f, 1, 1);
    EXPECT_EQ(f.PageControl1->Series1->label(0), "Mo 07.12.2026");
    EXPECT_EQ(f.Panel1->ScrollBar1->minimum(), 1);
    EXPECT_EQ(f.Panel1->ScrollBar1->maximum(), 1);
}

TEST(DiagramsWindow, StoredValuesOutOfRangeAreClamped)
{
    Settings stored;
    stored.SlotDays = 500;
    stored.TrendDays = -3;
    stored.SmoothRadius = 5000;
    stored.RotationHours = 99;
    stored.DiagramsPageIndex = 9;
    DiagramsFixture fx(testing::weekLog(), stored);
    EXPECT_EQ(fx.settings.SlotDays, 7);
    EXPECT_EQ(fx.settings.TrendDays, 1);
    EXPECT_EQ(fx.settings.SmoothRadius, 1440);
    EXPECT_EQ(fx.settings.RotationHours, 23);
    EXPECT_EQ(fx.form->PageControl1->currentIndex(), 0);
    expectSlot(*fx.form, 1, 7);
}

TEST(DiagramsWindow, StoredTrendWiderThanTheLogIsUsedWhileTheTrackBarShowsItsMaximum)
{
    Settings stored;
    stored.TrendDays = 30;
    stored.SlotDays = 7;
    DiagramsFixture fx(testing::weekLog(), stored);
    TForm5& f = *fx.form;
    EXPECT_EQ(f.Panel1->TrackBar3->value(), 7);
    EXPECT_EQ(f.Panel1->Edit3->text(), "7");
    EXPECT_EQ(fx.settings.TrendDays, 30);
    // Day 1 has two boots: its trend over 30 days is 2 / 30.
    EXPECT_FLOAT_EQ(f.PageControl1->Series13->yValue(0), 2.0f / 30);
}

// --- Time slot, scrolling, trend ------------------------------------------------------------------

TEST(TimeSlot, GuardedUntilTheFirstShowing)
{
    DiagramsFixture fx;
    TForm5& f = *fx.form;
    f.Panel1->TrackBar1->setValue(4);
    EXPECT_EQ(f.Panel1->Edit1->text(), "4");
    EXPECT_EQ(fx.settings.SlotDays, 1);
    EXPECT_EQ(f.PageControl1->Series1->count(), 1);
    f.Panel1->TrackBar2->setValue(0);
    EXPECT_EQ(fx.settings.SmoothRadius, 60);
    // The rotation buttons and the scroll bar have no such guard.
    f.Panel1->SpeedButton2->click();
    EXPECT_EQ(fx.settings.RotationHours, 1);
}

TEST(TimeSlot, LargerSlotShowsTheNewestDaysAndScrollingMovesEveryPoint)
{
    DiagramsFixture fx;
    fx.firstShow();
    TForm5& f = *fx.form;
    expectSlot(f, 7, 7);
    f.Panel1->TrackBar1->setValue(4);
    EXPECT_EQ(fx.settings.SlotDays, 4);
    EXPECT_EQ(f.Panel1->ScrollBar1->maximum(), 4);
    EXPECT_EQ(f.Panel1->ScrollBar1->value(), 4);
    expectSlot(f, 4, 7);

    f.Panel1->ScrollBar1->setValue(3);
    expectSlot(f, 3, 6);
    EXPECT_EQ(f.PageControl1->Series1->label(1), f.dayLabel(4));

    // A smaller slot again shows the newest days.
    f.Panel1->TrackBar1->setValue(2);
    expectSlot(f, 6, 7);

    // The whole log: one scroll position, and scrolling changes nothing.
    f.Panel1->TrackBar1->setValue(7);
    EXPECT_EQ(f.Panel1->ScrollBar1->minimum(), 1);
    EXPECT_EQ(f.Panel1->ScrollBar1->maximum(), 1);
    f.Panel1->ScrollBar1->setValue(2);
    expectSlot(f, 1, 7);
}

TEST(TimeSlot, FixedValueAxisKeepsItsMaximumAndAutosizeFollowsTheShownDays)
{
    DiagramsFixture fx;
    fx.firstShow();
    TForm5& f = *fx.form;
    ASSERT_EQ(fx.model.MaxBootsPerDay, 2);
    f.Panel1->TrackBar1->setValue(3);  // days 5..7: at most one boot
    EXPECT_EQ(f.PageControl1->Chart1->valueRange(), QCPRange(0, 2));
    EXPECT_EQ(f.PageControl1->Chart6->valueRange(), QCPRange(0, fx.model.MaxBootFrequency));

    f.PopupMenu1->automatischeYAchsenskalierung1->trigger();
    EXPECT_TRUE(f.PopupMenu1->automatischeYAchsenskalierung1->isChecked());
    EXPECT_EQ(f.PageControl1->Chart1->valueRange().upper, 1);
    f.Panel1->ScrollBar1->setValue(1);  // day 1 has two boots
    EXPECT_EQ(f.PageControl1->Chart1->valueRange().upper, 2);

    f.PopupMenu1->automatischeYAchsenskalierung1->trigger();
    f.Panel1->ScrollBar1->setValue(5);
    EXPECT_EQ(f.PageControl1->Chart1->valueRange(), QCPRange(0, 2));
}

TEST(TimeSlot, ScrollBarHasTheSmallThumbAndATrackClickStepsFive)
{
    Settings stored;
    stored.SlotDays = 1;
    DiagramsFixture fx(testing::weekLog(), stored);
    fx.firstShow();
    TForm5& f = *fx.form;
    f.show();
    ASSERT_EQ(f.Panel1->ScrollBar1->maximum(), 7);
    f.Panel1->ScrollBar1->setValue(1);
    // With a thumb sized by the page, a quarter of the track would lie under it.
    const QPoint quarter(f.Panel1->ScrollBar1->width() / 4, f.Panel1->ScrollBar1->height() / 2);
    QTest::mouseClick(f.Panel1->ScrollBar1, Qt::LeftButton, {}, quarter);
    EXPECT_EQ(f.Panel1->ScrollBar1->value(), 6);
    EXPECT_EQ(f.PageControl1->Series1->label(0), f.dayLabel(6));
}

TEST(Trend, WidthChangeRedrawsOnlyTheTrendLines)
{
    Settings stored;
    stored.SlotDays = 7;
    DiagramsFixture fx(testing::weekLog(), stored);
    fx.firstShow();
    TForm5& f = *fx.form;
    const auto boots = yValues(f.PageControl1->Series1);
    const auto onTime = yValues(f.PageControl1->Series5);
    f.Panel1->TrackBar3->setValue(2);
    EXPECT_EQ(fx.settings.TrendDays, 2);
    EXPECT_EQ(yValues(f.PageControl1->Series1), boots);
    EXPECT_EQ(yValues(f.PageControl1->Series5), onTime);
    expectSlot(f, 1, 7);
    // Day 1 two boots, day 2 one: the two-day trend of day 2 is 1.5, of day 1 is 1.
    EXPECT_FLOAT_EQ(f.PageControl1->Series13->yValue(0), 1.0f);
    EXPECT_FLOAT_EQ(f.PageControl1->Series13->yValue(1), 1.5f);
    EXPECT_EQ(f.PageControl1->Series3->yValue(0), (fx.model.day(1).OnTime / 2) / 3600.0);
}

TEST(TypedValues, DigitsWithinRangeApplyEverythingElseIsReplaced)
{
    DiagramsFixture fx;
    fx.firstShow();
    TForm5& f = *fx.form;
    f.Panel1->Edit1->setText("0");
    EXPECT_EQ(f.Panel1->Edit1->text(), "1");
    EXPECT_EQ(fx.settings.SlotDays, 1);

    f.Panel1->Edit1->setText("");
    EXPECT_EQ(f.Panel1->Edit1->text(), "1");
    f.Panel1->Edit1->setText("x");
    EXPECT_EQ(f.Panel1->Edit1->text(), "1");
    f.Panel1->Edit1->setText("-3");
    EXPECT_EQ(f.Panel1->Edit1->text(), "1");
    f.Panel1->Edit1->setText("99999999999999");
    EXPECT_EQ(f.Panel1->Edit1->text(), "1");
    f.Panel1->Edit1->setText("8");  // beyond DayCount
    EXPECT_EQ(f.Panel1->Edit1->text(), "1");

    f.Panel1->Edit3->setText("007");
    EXPECT_EQ(fx.settings.TrendDays, 7);
    EXPECT_EQ(f.Panel1->Edit3->text(), "7");

    f.Panel1->Edit1->setText("5");
    EXPECT_EQ(fx.settings.SlotDays, 5);
    expectSlot(f, 3, 7);

    EXPECT_TRUE(TForm5::check4number("0123456789"));
    EXPECT_FALSE(TForm5::check4number(" 1"));
    EXPECT_FALSE(TForm5::check4number("+1"));
}

TEST(TypedValues, SmoothingZeroShowsTheUnsmoothedCounts)
{
    DiagramsFixture fx;
    fx.firstShow();
    TForm5& f = *fx.form;
    f.Panel1->Edit2->setText("0");
    EXPECT_EQ(fx.settings.SmoothRadius, 0);
    EXPECT_EQ(f.Panel1->TrackBar2->value(), 0);
    ASSERT_EQ(f.PageControl1->Series6->count(), 1441);
    for (int m = 0; m <= 1440; ++m) {
        ASSERT_EQ(f.PageControl1->Series6->yValue(m), fx.model.Bootverlauf[m].Value) << m;
        ASSERT_EQ(f.PageControl1->Series11->yValue(m), fx.model.Shutdownverlauf[m].Value) << m;
        ASSERT_EQ(f.PageControl1->Series12->yValue(m), fx.model.Crashverlauf[m].Value) << m;
    }
    EXPECT_EQ(f.PageControl1->Series6->yValue(8 * 60), 1);
}

// --- Rotation ---------------------------------------------------------------------------------------

TEST(Rotation, PointsAndLabelsFollowTheShift)
{
    DiagramsFixture fx(loginsAt({"00:00", "01:00", "23:00"}));
    fx.firstShow();
    TForm5& f = *fx.form;
    f.Panel1->TrackBar2->setValue(0);
    const MinuteTable& boots = fx.model.BootverlaufGlatt;
    auto entryShownAt = [&](int m) {
        // The label and value of point m of Series6 name the table entry it shows.
        for (int p = 0; p <= 1440; ++p)
            if (QString::fromLatin1(boots[p].TimeText.str().c_str()) == f.PageControl1->Series6->label(m))
                return p;
        return -1;
    };

    EXPECT_EQ(f.PageControl1->Series7->label(0), "00:00");
    EXPECT_EQ(f.PageControl1->Series7->label(1440), "24:00");
    EXPECT_EQ(f.PageControl1->Series6->yValue(0), 1);

    f.Panel1->SpeedButton2->click();  // ">": one hour to the right
    EXPECT_EQ(fx.settings.RotationHours, 1);
    EXPECT_EQ(f.PageControl1->Series7->label(0), "23:00");
    EXPECT_EQ(f.PageControl1->Series7->label(1440), "23:00");
    EXPECT_EQ(f.PageControl1->Series6->yValue(0), 1);
    EXPECT_EQ(f.PageControl1->Series6->yValue(1440), 1);
    EXPECT_EQ(f.PageControl1->Series6->yValue(60), 1);  // 00:00
    EXPECT_FALSE(f.PageControl1->Series7->labels().contains("24:00"));

    f.Panel1->SpeedButton1->click();
    f.Panel1->SpeedButton1->click();  // -1
    EXPECT_EQ(fx.settings.RotationHours, -1);
    EXPECT_EQ(f.PageControl1->Series7->label(0), "01:00");
    EXPECT_EQ(f.PageControl1->Series7->labels().count("01:00"), 2);
    EXPECT_FALSE(f.PageControl1->Series7->labels().contains("00:00"));

    for (int hours : {-23, 23}) {
        fx.settings.RotationHours = hours;
        f.Verlauf_scrollen();
        for (int m = 0; m <= 1440; ++m) {
            const int p = entryShownAt(m);
            ASSERT_GE(p, 0);
            ASSERT_EQ(f.PageControl1->Series6->yValue(m), boots[p].Value);
        }
    }
    EXPECT_EQ(f.PageControl1->Series7->label(0), "01:00");  // +23 hours: entry 60
}

TEST(Rotation, ButtonsWrapAtADay)
{
    DiagramsFixture fx;
    TForm5& f = *fx.form;
    std::vector<int> seen;
    for (int i = 0; i < 24; ++i) {
        f.SpeedButton2Click();
        seen.push_back(fx.settings.RotationHours);
    }
    EXPECT_EQ(seen.front(), 1);
    EXPECT_EQ(seen[22], 23);
    EXPECT_EQ(seen.back(), 0);
    for (int i = 0; i < 24; ++i)
        f.SpeedButton1Click();
    EXPECT_EQ(fx.settings.RotationHours, 0);
    f.SpeedButton1Click();
    EXPECT_EQ(fx.settings.RotationHours, -1);
    EXPECT_EQ(f.PageControl1->Series7->label(0), "01:00");
}

TEST(Rotation, ALineSwitchedOffKeepsItsOldRotation)
{
    DiagramsFixture fx(loginsAt({"02:00"}));
    fx.firstShow();
    TForm5& f = *fx.form;
    f.PopupMenu1->Boots1->trigger();
    EXPECT_FALSE(f.PopupMenu1->Boots1->isChecked());
    EXPECT_FALSE(f.PageControl1->Series6->isActive());
    const QStringList before = f.PageControl1->Series6->labels();
    f.Panel1->SpeedButton2->click();
    f.Panel1->SpeedButton2->click();
    EXPECT_EQ(f.PageControl1->Series6->labels(), before);
    EXPECT_EQ(f.PageControl1->Series11->label(0), "22:00");

    // Smoothing refills the hidden line unrotated.
    f.Panel1->TrackBar2->setValue(0);
    EXPECT_EQ(f.PageControl1->Series6->label(0), "00:00");
    EXPECT_EQ(f.PageControl1->Series6->yValue(120), 1);

    f.PopupMenu1->Boots1->trigger();
    EXPECT_TRUE(f.PageControl1->Series6->isActive());
    EXPECT_EQ(f.PageControl1->Series6->label(0), "22:00");
    EXPECT_EQ(f.PageControl1->Series6->yValue(240), 1);  // 02:00 shown two hours later
}

// --- Menu, tabs, settings -----------------------------------------------------------------------

TEST(Menu, ItemsCaptionsShortcutsAndStartStates)
{
    DiagramsFixture fx;
    TForm5& f = *fx.form;
    QStringList top;
    for (QAction* a : f.PopupMenu1->actions())
        top << a->objectName();
    EXPECT_EQ(top, QStringList({"Hilfe1", "N1", "Werteanzeigen2", "N3DAnsicht1",
                                "automatischeYAchsenskalierung1", "N4", "Gestuft1", "Normiert1", "N5",
                                "Fensterschliessen2", "N8", "SaveChart1", "CopyChart1"}));
    QStringList sub;
    for (QAction* a : f.PopupMenu1->Werteanzeigen2Menu->actions())
        sub << a->text();
    EXPECT_EQ(sub, QStringList({"Boots per day", "BootTrend per day", "Crashs per day", "CrashTrend per day",
                                "", "Bootfrequency ", "Bootfrequency Trend", "Crashfrequency ",
                                "Crashfrequency Trend", "", "OnTime per day", "OnTime per day - Trend", "",
                                "Boots", "ShutDowns", "Crashs"}));
    EXPECT_EQ(f.PopupMenu1->Hilfe1->shortcut(), QKeySequence(Qt::Key_F1));
    EXPECT_EQ(f.PopupMenu1->N3DAnsicht1->shortcut(), QKeySequence(Qt::Key_F3));
    EXPECT_EQ(f.PopupMenu1->automatischeYAchsenskalierung1->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Y));
    EXPECT_EQ(f.PopupMenu1->Fensterschliessen2->shortcut(), QKeySequence(Qt::Key_Escape));
    EXPECT_TRUE(f.PopupMenu1->N8->isSeparator());
    EXPECT_EQ(f.PopupMenu1->SaveChart1->text(), "Save chart as...");
    EXPECT_EQ(f.PopupMenu1->SaveChart1->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_S));
    EXPECT_EQ(f.PopupMenu1->CopyChart1->text(), "Copy chart");
    EXPECT_EQ(f.PopupMenu1->CopyChart1->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_C));
    for (int i = 0; i < kDiagramOptionCount; ++i)
        EXPECT_EQ(f.optionItem(DiagramOption(i))->isChecked(), kDiagramOptionKeys[i].initial) << i;
    EXPECT_FALSE(f.PopupMenu1->Normiert1->isChecked());
    EXPECT_FALSE(f.PopupMenu1->Boots1->isVisible());
    EXPECT_FALSE(f.PopupMenu1->Gestuft1->isVisible());
    EXPECT_TRUE(f.PopupMenu1->BootsproTag1->isVisible());

    f.PopupMenu1->Hilfe1->trigger();
    EXPECT_EQ(fx.aboutShown, 1);
}

TEST(Menu, ShowItemsThreeDAndStepped)
{
    DiagramsFixture fx;
    TForm5& f = *fx.form;
    const std::pair<QAction*, ChartSeries*> pairs[] = {
        {f.PopupMenu1->BootsproTag1, f.PageControl1->Series1},
        {f.PopupMenu1->BootTrendproTag1, f.PageControl1->Series13},
        {f.PopupMenu1->CrashsproTag1, f.PageControl1->Series2},
        {f.PopupMenu1->CrashTrendproTag1, f.PageControl1->Series14},
        {f.PopupMenu1->Bootfrequenz1, f.PageControl1->Series9},
        {f.PopupMenu1->BootfrequenzTrend1, f.PageControl1->Series15},
        {f.PopupMenu1->Crashfrequenz1, f.PageControl1->Series10},
        {f.PopupMenu1->CrashfrequenzTrend1, f.PageControl1->Series16},
        {f.PopupMenu1->EingeschaltetproTag1, f.PageControl1->Series5},
        {f.PopupMenu1->EingeschaltetproTagTrend1, f.PageControl1->Series3},
        {f.PopupMenu1->Boots1, f.PageControl1->Series6},
        {f.PopupMenu1->ShutDowns1, f.PageControl1->Series11},
        {f.PopupMenu1->Crashs1, f.PageControl1->Series12},
    };
    for (const auto& [item, series] : pairs) {
        item->trigger();
        EXPECT_FALSE(item->isChecked());
        EXPECT_FALSE(series->isActive()) << series->objectName().toStdString();
        EXPECT_EQ(series->count() > 0, true);  // hidden, not emptied
        item->trigger();
        EXPECT_TRUE(series->isActive());
    }
    f.PopupMenu1->BootsproTag1->trigger();
    f.PageControl1->Chart1->replot();
    EXPECT_EQ(f.PageControl1->Chart1->legendTitles(), QStringList({"BootTrend", "Crashs", "CrashTrend"}));

    f.PopupMenu1->N3DAnsicht1->trigger();
    for (ChartView* c :
         {f.PageControl1->Chart1, f.PageControl1->Chart2, f.PageControl1->Chart3, f.PageControl1->Chart6})
        EXPECT_FALSE(c->view3D());
    f.N3DAnsicht1Click();
    EXPECT_TRUE(f.PageControl1->Chart2->view3D());
    EXPECT_FALSE(f.PageControl1->Chart4->view3D());

    f.PopupMenu1->Gestuft1->trigger();
    EXPECT_FALSE(f.PageControl1->Series7->isStepped());
}

TEST(Menu, OpensOnARightClickAnywhereInTheWindow)
{
    DiagramsFixture fx;
    fx.firstShow();
    TForm5& f = *fx.form;
    f.show();
    auto rightClick = [&](QWidget* page, QWidget* target) {
        f.PageControl1->setCurrentWidget(page);
        const QPoint at(target->width() / 2, target->height() / 2);
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, target->mapToGlobal(at));
        QApplication::sendEvent(target, &event);
        const bool opened = f.PopupMenu1->isVisible();
        f.PopupMenu1->hide();
        return opened;
    };
    for (QWidget* target :
         {static_cast<QWidget*>(f.PageControl1->Chart1), static_cast<QWidget*>(f.Panel1->ScrollBar1),
          static_cast<QWidget*>(f.Panel1->Edit1), static_cast<QWidget*>(f.Panel1->Edit3)})
        EXPECT_TRUE(rightClick(f.PageControl1->TabSheet1, target)) << target->objectName().toStdString();
    EXPECT_TRUE(rightClick(f.PageControl1->TabSheet6, f.PageControl1->Chart6));
    EXPECT_TRUE(rightClick(f.PageControl1->TabSheet3, f.PageControl1->Chart3));
    EXPECT_TRUE(rightClick(f.PageControl1->TabSheet4, f.PageControl1->Chart4));
    EXPECT_TRUE(rightClick(f.PageControl1->TabSheet5, f.PageControl1->Chart5));
    EXPECT_TRUE(rightClick(f.PageControl1->TabSheet5, f.Panel1->Edit2));
    EXPECT_TRUE(rightClick(f.PageControl1->TabSheet2, f.PageControl1->Chart2));
    EXPECT_TRUE(rightClick(f.PageControl1->TabSheet2, f.PageControl1->tabBar()));
}

TEST(Menu, KeepsEverySeparatorWhereTheItemsBetweenAreHidden)
{
    DiagramsFixture fx;
    fx.firstShow();
    TForm5& f = *fx.form;
    // The weekday page hides every item between N4 and N5 and every item of "show charts".
    f.PageControl1->setCurrentWidget(f.PageControl1->TabSheet2);
    for (QAction* s : {f.PopupMenu1->N1, f.PopupMenu1->N4, f.PopupMenu1->N5})
        EXPECT_FALSE(f.PopupMenu1->actionGeometry(s).isEmpty()) << s->objectName().toStdString();
    for (QAction* s : {f.PopupMenu1->N7, f.PopupMenu1->N6, f.PopupMenu1->N3})
        EXPECT_FALSE(f.PopupMenu1->Werteanzeigen2Menu->actionGeometry(s).isEmpty())
            << s->objectName().toStdString();
}

TEST(Tabs, RowsPanelHeightsAndVisibleItemsPerPage)
{
    DiagramsFixture fx;
    TForm5& f = *fx.form;
    f.resize(800, 600);
    struct Page {
        QWidget* sheet;
        bool p7, p4, p5;
        int height;
        std::vector<QAction*> shown;
    };
    const Page pages[] = {
        {f.PageControl1->TabSheet1,
         true,
         false,
         false,
         54,
         {f.PopupMenu1->N3DAnsicht1, f.PopupMenu1->BootsproTag1, f.PopupMenu1->BootTrendproTag1,
          f.PopupMenu1->CrashsproTag1, f.PopupMenu1->CrashTrendproTag1,
          f.PopupMenu1->automatischeYAchsenskalierung1}},
        {f.PageControl1->TabSheet6,
         true,
         false,
         false,
         54,
         {f.PopupMenu1->N3DAnsicht1, f.PopupMenu1->Bootfrequenz1, f.PopupMenu1->BootfrequenzTrend1,
          f.PopupMenu1->Crashfrequenz1, f.PopupMenu1->CrashfrequenzTrend1,
          f.PopupMenu1->automatischeYAchsenskalierung1}},
        {f.PageControl1->TabSheet3,
         true,
         false,
         false,
         54,
         {f.PopupMenu1->N3DAnsicht1, f.PopupMenu1->EingeschaltetproTag1,
          f.PopupMenu1->EingeschaltetproTagTrend1}},
        {f.PageControl1->TabSheet4,
         false,
         false,
         true,
         32,
         {f.PopupMenu1->Gestuft1, f.PopupMenu1->Normiert1}},
        {f.PageControl1->TabSheet5,
         false,
         true,
         true,
         32,
         {f.PopupMenu1->Boots1, f.PopupMenu1->ShutDowns1, f.PopupMenu1->Crashs1}},
        {f.PageControl1->TabSheet2, false, false, false, 0, {f.PopupMenu1->N3DAnsicht1}},
    };
    const std::vector<QAction*> all = {f.PopupMenu1->BootsproTag1,
                                       f.PopupMenu1->BootTrendproTag1,
                                       f.PopupMenu1->CrashsproTag1,
                                       f.PopupMenu1->CrashTrendproTag1,
                                       f.PopupMenu1->Bootfrequenz1,
                                       f.PopupMenu1->BootfrequenzTrend1,
                                       f.PopupMenu1->Crashfrequenz1,
                                       f.PopupMenu1->CrashfrequenzTrend1,
                                       f.PopupMenu1->EingeschaltetproTag1,
                                       f.PopupMenu1->EingeschaltetproTagTrend1,
                                       f.PopupMenu1->Boots1,
                                       f.PopupMenu1->ShutDowns1,
                                       f.PopupMenu1->Crashs1,
                                       f.PopupMenu1->N3DAnsicht1,
                                       f.PopupMenu1->automatischeYAchsenskalierung1,
                                       f.PopupMenu1->Gestuft1,
                                       f.PopupMenu1->Normiert1};
    fx.firstShow();
    for (const Page& p : pages) {
        f.PageControl1->setCurrentWidget(p.sheet);  // the user's selection runs the tab switching
        EXPECT_EQ(f.Panel1->Panel7->isVisibleTo(&f), p.p7) << p.sheet->objectName().toStdString();
        EXPECT_EQ(f.Panel1->Panel4->isVisibleTo(&f), p.p4);
        EXPECT_EQ(f.Panel1->Panel5->isVisibleTo(&f), p.p5);
        EXPECT_EQ(f.Panel1->height(), p.height);
        EXPECT_EQ(f.PageControl1->height(), 600 - p.height);
        for (QAction* a : all) {
            const bool expected = std::find(p.shown.begin(), p.shown.end(), a) != p.shown.end();
            EXPECT_EQ(a->isVisible(), expected) << a->objectName().toStdString();
        }
        for (QAction* a : {f.PopupMenu1->Hilfe1, f.PopupMenu1->Werteanzeigen2,
                           f.PopupMenu1->Fensterschliessen2, f.PopupMenu1->N1, f.PopupMenu1->N5})
            EXPECT_TRUE(a->isVisible());
    }
}

TEST(Tabs, LayoutSharesEachRowInHalves)
{
    DiagramsFixture fx;
    TForm5& f = *fx.form;
    f.show();
    f.resize(900, 500);
    // The fixed places; the edit boxes and the labels follow their texts.
    const int h = 446;
    EXPECT_EQ(f.Panel1->width(), 900);
    testing::expectPlaces(*f.Panel1, {
                                         {"Panel7", 4, 4, 892},
                                         {"Panel6", 0, 0, h},
                                         {"Panel8", h, 0, h},
                                         {"Panel4", 4, 4, h},
                                         {"Panel5", h, 4, h},
                                         {"SpeedButton1", h - 46, 2, 20, 20},
                                         {"SpeedButton2", h - 26, 2, 20, 20},
                                     });
    EXPECT_EQ(f.Panel1->Edit1->x(), h - f.Panel1->Edit1->width() - 8);
    EXPECT_EQ(f.Panel1->TrackBar1->x() + f.Panel1->TrackBar1->width(), f.Panel1->Edit1->x() - 4);
    EXPECT_EQ(f.Panel1->TrackBar3->x() + f.Panel1->TrackBar3->width(), f.Panel1->Edit3->x() - 4);
    EXPECT_EQ(f.Panel1->Label7->x() + f.Panel1->Label7->width(), f.Panel1->SpeedButton1->x() - 12);
}

TEST(DaytimeCurve, ComputedOnceOnTheFirstSelectionWithProgressInBothCaptions)
{
    DiagramsFixture fx(logText({"01.12.2026 08:30:15 01.12.2026 09:30:15", "02.12.2026 10:00:00 ",
                                "02.12.2026 10:10:00 02.12.2026 10:20:00", "07.12.2026 11:00:00 "}));
    TForm5& f = *fx.form;
    testing::TitleRecorder own(&f);
    fx.firstShow();
    EXPECT_TRUE(fx.model.DaytimePending);
    EXPECT_EQ(f.PageControl1->Series7->yValue(511), 0);

    f.PageControl1->setCurrentWidget(f.PageControl1->TabSheet4);
    EXPECT_FALSE(fx.model.DaytimePending);
    EXPECT_EQ(fx.titles->titles,
              QStringList({"calculating diagrams... 0%", "calculating diagrams... 25%",
                           "calculating diagrams... 50%", "calculating diagrams... 75%", "QuombleView 3.9"}));
    EXPECT_EQ(own.titles.last(), "Diagrams");
    EXPECT_EQ(f.windowTitle(), "Diagrams");
    EXPECT_TRUE(f.PageControl1->isVisibleTo(&f));
    EXPECT_TRUE(f.Panel1->isVisibleTo(&f));
    EXPECT_FALSE(f.Animate1->isActive());
    for (int m = 0; m <= 1440; ++m)
        ASSERT_EQ(f.PageControl1->Series7->yValue(m), fx.model.Verlauf[m].Value);
    EXPECT_GE(f.PageControl1->Series7->yValue(511), 1);

    // Standardized: lowered by the curve's minimum, labels from the curve.
    f.PopupMenu1->Normiert1->trigger();
    for (int m = 0; m <= 1440; ++m)
        ASSERT_EQ(f.PageControl1->Series7->yValue(m), fx.model.VerlaufNormiert[m].Value);
    EXPECT_EQ(f.PageControl1->Series7->label(0), "00:00");
    f.PopupMenu1->Normiert1->trigger();

    const std::vector<double> curve = yValues(f.PageControl1->Series7);
    fx.titles->titles.clear();
    f.PageControl1->setCurrentWidget(f.PageControl1->TabSheet1);
    f.PageControl1->setCurrentWidget(f.PageControl1->TabSheet4);
    EXPECT_TRUE(fx.titles->titles.isEmpty());
    EXPECT_EQ(yValues(f.PageControl1->Series7), curve);
}

TEST(DaytimeCurve, RestoredDaytimePageIsComputedBeforeTheFirstShowing)
{
    Settings stored;
    stored.DiagramsPageIndex = 3;
    DiagramsFixture fx(testing::weekLog(), stored);
    EXPECT_EQ(fx.form->PageControl1->currentWidget(), fx.form->PageControl1->TabSheet4);
    EXPECT_TRUE(fx.model.DaytimePending);  // creation does not switch tabs
    fx.firstShow();
    EXPECT_FALSE(fx.model.DaytimePending);
    EXPECT_EQ(fx.form->Panel1->height(), 32);
}

TEST(Settings, OptionLinesFlipTheirItemsWithAllEffects)
{
    QTemporaryDir dir;
    DiagramsFixture fx;
    TForm5& f = *fx.form;
    const std::string path = ini({"[QuombleView 3.9]", "pos_d_x=30", "pos_d_y=40", "pos_d_h=500",
                                  "pos_d_w=700", "op_d_3d=0", "op_d_b_=0", "op_d_b_=0", "op_d_bo=0",
                                  "op_d_ay=1", "op_d_ct=1", "op_d_gs=0 ", "OP_D_CR=0", "op_d_cf=0"},
                                 dir);
    f.ini_File_read(path, fx.settings);
    EXPECT_EQ(f.pos(), QPoint(30, 40));
    EXPECT_EQ(f.size(), QSize(700, 500));
    for (ChartView* c :
         {f.PageControl1->Chart1, f.PageControl1->Chart2, f.PageControl1->Chart3, f.PageControl1->Chart6})
        EXPECT_FALSE(c->view3D());
    EXPECT_FALSE(f.PopupMenu1->N3DAnsicht1->isChecked());
    EXPECT_TRUE(f.PopupMenu1->BootsproTag1->isChecked());  // flipped twice
    EXPECT_TRUE(f.PageControl1->Series1->isActive());
    EXPECT_FALSE(f.PopupMenu1->Boots1->isChecked());
    EXPECT_FALSE(f.PageControl1->Series6->isActive());
    EXPECT_TRUE(f.PopupMenu1->automatischeYAchsenskalierung1->isChecked());
    EXPECT_TRUE(f.PopupMenu1->CrashTrendproTag1->isChecked());  // "=1" is the start state
    EXPECT_TRUE(f.PopupMenu1->Gestuft1->isChecked());           // trailing blank: no match
    EXPECT_TRUE(f.PopupMenu1->Crashs1->isChecked());            // other case: no match
    EXPECT_FALSE(f.PageControl1->Series10->isActive());

    Settings out = fx.settings;
    f.storeSettings(out);
    EXPECT_FALSE(out.option(DiagramOption::View3D));
    EXPECT_TRUE(out.option(DiagramOption::BootsPerDay));
    EXPECT_FALSE(out.option(DiagramOption::Boots));
    EXPECT_TRUE(out.option(DiagramOption::AutosizeYAxis));
    EXPECT_EQ(out.DiagramsRect, (WindowRect{30, 40, 700, 500}));
    EXPECT_NE(out.text("3.9").find("op_d_3d=0\r\n"), std::string::npos);

    // Boots switched on again on the daytime page shows the current rotation and smoothing.
    fx.firstShow();
    f.PageControl1->setCurrentWidget(f.PageControl1->TabSheet5);
    f.Panel1->SpeedButton2->click();
    f.PopupMenu1->Boots1->trigger();
    EXPECT_TRUE(f.PageControl1->Series6->isActive());
    EXPECT_EQ(f.PageControl1->Series6->label(0), "23:00");
}

TEST(Settings, NoFileKeepsTheStartPlacementAndOptions)
{
    DiagramsFixture fx;
    TForm5& f = *fx.form;
    f.move(100, 100);
    f.resize(300, 300);
    f.ini_File_read("/nonexistent/Quomble.ini", fx.settings);
    EXPECT_EQ(f.pos(), QPoint(0, 0));
    EXPECT_EQ(f.size(), QSize(620, 420));
    for (int i = 0; i < kDiagramOptionCount; ++i)
        EXPECT_EQ(f.optionItem(DiagramOption(i))->isChecked(), kDiagramOptionKeys[i].initial);
    f.PageControl1->setCurrentIndex(4);
    Settings out;
    f.storeSettings(out);
    EXPECT_EQ(out.DiagramsPageIndex, 4);
}

// A window never shown keeps a stored place it could not take (its screen is gone); where
// the system does not tell places, a shown window keeps it too, and only its size is taken.
TEST(Settings, PlaceNotSeenStaysAsStored)
{
    QTemporaryDir dir;
    DiagramsFixture fx;
    TForm5& f = *fx.form;
    f.ini_File_read(ini({"pos_d_x=-20000", "pos_d_y=40", "pos_d_w=700", "pos_d_h=500"}, dir), fx.settings);
    f.storeSettings(fx.settings);
    EXPECT_EQ(fx.settings.DiagramsRect, (WindowRect{-20000, 40, 700, 500}));

    fx.settings.PlacesKnown = false;
    fx.firstShow();
    f.show();
    f.move(300, 200);
    f.resize(640, 480);
    f.storeSettings(fx.settings);
    EXPECT_EQ(fx.settings.DiagramsRect, (WindowRect{-20000, 40, 640, 480}));
}

TEST(Keys, EscapeAndCloseItemHideTheWindow)
{
    DiagramsFixture fx;
    TForm5& f = *fx.form;
    f.show();
    ASSERT_TRUE(f.isVisible());
    QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(&f, &esc);
    EXPECT_FALSE(f.isVisible());
    f.show();
    f.PopupMenu1->Fensterschliessen2->trigger();
    EXPECT_FALSE(f.isVisible());
    EXPECT_EQ(f.PageControl1->Series1->count(), 1);  // hidden, not destroyed
}

}  // namespace
}  // namespace quomble
