#include "diagrams_fixture.h"
#include "support/keys.h"

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
