#include "diagrams_fixture.h"
#include "support/keys.h"
#include "support/qt_printers.h"

#include <QAccessible>
#include <QAction>
#include <QLineEdit>
#include <QScrollBar>
#include <QSlider>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace quomble;
using namespace quomble::testing;

TEST(DiagramsWindowKeys, everyControlAndPageWithoutAMouse)
{
    Settings stored;
    stored.SlotDays = 2;
    DiagramsFixture fx(weekLog(), stored);
    TForm5& f = *fx.form;
    ControlPanel& panel = *f.Panel1;
    fx.firstShow();
    activate(&f);

    // The scroll bar takes the focus and its keys show older days.
    ASSERT_TRUE(tabTo(&f, panel.ScrollBar1));
    press(&f, Qt::Key_Home);
    ASSERT_EQ(f.SlotStart, 1);
    press(&f, Qt::Key_Right);
    ASSERT_EQ(f.SlotStart, 2);
    press(&f, Qt::Key_Left);
    ASSERT_EQ(f.SlotStart, 1);
    // The track bars and their edit boxes of the time slot and the trend.
    ASSERT_TRUE(tabTo(&f, panel.TrackBar1));
    press(&f, Qt::Key_Right);
    ASSERT_EQ(f.SlotDays(), 3);
    ASSERT_TRUE(tabTo(&f, panel.Edit3));
    press(&f, Qt::Key_A, Qt::ControlModifier);
    press(&f, Qt::Key_4);
    ASSERT_EQ(f.TrendDays(), 4);
    ASSERT_TRUE(tabTo(&f, panel.TrackBar3));

    // Ctrl+Tab goes round the six pages; the daytime page's smoothing and rotation.
    for (int i = 1; i <= 4; ++i)
        press(&f, Qt::Key_Tab, Qt::ControlModifier);
    ASSERT_EQ(f.PageControl1->currentWidget(), f.PageControl1->TabSheet5);
    ASSERT_TRUE(tabTo(&f, panel.TrackBar2));
    press(&f, Qt::Key_PageUp);
    ASSERT_EQ(f.SmoothRadius(), 70);
    ASSERT_TRUE(tabTo(&f, panel.SpeedButton2));
    press(&f, Qt::Key_Space);
    ASSERT_EQ(f.RotationHours(), 1);
    ASSERT_TRUE(tabTo(&f, panel.SpeedButton1));
    press(&f, Qt::Key_Space);
    press(&f, Qt::Key_Space);
    ASSERT_EQ(f.RotationHours(), -1);
    press(&f, Qt::Key_PageDown, Qt::ControlModifier);
    press(&f, Qt::Key_PageDown, Qt::ControlModifier);
    ASSERT_EQ(f.PageControl1->currentIndex(), 0);

    // The chart takes the focus; its keys zoom and pan as the mouse does, Home shows all again.
    ChartView* chart = f.PageControl1->Chart1;
    ASSERT_TRUE(tabTo(&f, chart));
    const QCPRange all = chart->keyRange();
    press(&f, Qt::Key_Plus);
    ASSERT_DOUBLE_EQ(chart->xAxis->range().size(), all.size() / 2);
    press(&f, Qt::Key_Left);
    ASSERT_LT(chart->xAxis->range().lower, all.lower + all.size() / 4);
    press(&f, Qt::Key_Home);
    ASSERT_EQ(chart->keyRange(), all);

    // The options by their keys and by the popup menu (Shift+F10, the Menu key).
    press(&f, Qt::Key_F3);
    ASSERT_FALSE(f.PageControl1->Chart1->view3D());
    press(&f, Qt::Key_F10, Qt::ShiftModifier);
    ASSERT_EQ(openMenu(), f.PopupMenu1);
    pickFromMenu(3);  // "3D view" after "About" and "show charts"
    ASSERT_TRUE(f.PageControl1->Chart1->view3D());
    press(&f, Qt::Key_Menu);
    ASSERT_EQ(openMenu(), f.PopupMenu1);
    QTest::keyClick(openMenu(), Qt::Key_Escape);
    ASSERT_TRUE(f.isVisible());
    press(&f, Qt::Key_Escape);
    ASSERT_FALSE(f.isVisible());
}

TEST(DiagramsWindowReader, chartsAndControlsAreReadInWords)
{
    Settings stored;
    stored.SlotDays = 2;
    DiagramsFixture fx(weekLog(), stored);
    TForm5& f = *fx.form;
    QAccessibleInterface* chart = QAccessible::queryAccessibleInterface(f.PageControl1->Chart1);
    ASSERT_EQ(chart->role(), QAccessible::Chart);
    ASSERT_EQ(chart->text(QAccessible::Name), "Boots & Crashs per day");
    ASSERT_EQ(chart->text(QAccessible::Description).toStdString(),
              "2 points from Su 06.12.2026 to Mo 07.12.2026. Boots: highest 1 at Mo 07.12.2026, lowest 0 at "
              "Su 06.12.2026. BootTrend: highest 1 at Mo 07.12.2026, lowest 0 at Su 06.12.2026. Crashs: 0 "
              "throughout. CrashTrend: 0 throughout.");
    // Older days shown: the summary follows, and so does the scroll bar's.
    f.Panel1->ScrollBar1->setValue(1);
    f.PopupMenu1->CrashTrendproTag1->trigger();  // a hidden series is not read
    ASSERT_EQ(chart->text(QAccessible::Description).toStdString(),
              "2 points from Tu 01.12.2026 to We 02.12.2026. Boots: highest 2 at Tu 01.12.2026, lowest 1 at "
              "We 02.12.2026. BootTrend: highest 2 at Tu 01.12.2026, lowest 1 at We 02.12.2026. Crashs: 0 "
              "throughout.");
    ASSERT_EQ(f.Panel1->ScrollBar1->accessibleDescription(), "Shows Tu 01.12.2026 to We 02.12.2026");
    f.Panel1->SpeedButton2->click();
    ASSERT_EQ(QAccessible::queryAccessibleInterface(f.Panel1->SpeedButton2)->text(QAccessible::Description),
              "The daytime axis is turned by 1 hour");
}
