#include "support/keys.h"
#include "support/log_builder.h"
#include "ui/logdata/tform4.h"

#include <QAbstractItemModel>
#include <QClipboard>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>

#include <gtest/gtest.h>

#include <filesystem>

using namespace quomble;
using namespace quomble::testing;

namespace {

QStringList column(QTableView* grid, int c)
{
    QStringList out;
    for (int r = 0; r < grid->model()->rowCount(); ++r)
        out << grid->model()->index(r, c).data().toString();
    return out;
}

QString header(QTableView* grid, int c, int role = Qt::DisplayRole)
{
    return grid->model()->headerData(c, Qt::Horizontal, role).toString();
}

}  // namespace

TEST(LogDataWindowKeys, pagesSortsAndMenuWithoutAMouse)
{
    LogModel model(fixedClock(kNow));
    model.LogFile_read(std::filesystem::path(QUOMBLE_TEST_DATA) / "sample.log");
    model.Statistik_aktualisieren();
    model.BC_Array_fuellen();
    TForm4 form(model, Settings{});
    TForm4 clicked(model, Settings{});  // sorted by header presses, to compare with
    clicked.show();
    activate(&form);
    ASSERT_EQ(QApplication::focusWidget(), form.StringAlignGrid1);

    // Tab leaves the table for the tabs and comes back to it.
    press(&form, Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), form.PageControl1->tabBar());
    press(&form, Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), form.StringAlignGrid1);

    // F9 sorts by the column of the current cell as a press on its header does, twice; the
    // table keeps the focus, and its header tells the order in words.
    press(&form, Qt::Key_Right);
    press(&form, Qt::Key_Right);
    for (int round = 0; round < 2; ++round) {
        press(&form, Qt::Key_F9);
        clicked.StringAlignGrid1FixedColClick(2);
        ASSERT_EQ(column(form.StringAlignGrid1, 0), column(clicked.StringAlignGrid1, 0)) << round;
        ASSERT_EQ(header(form.StringAlignGrid1, 2), header(clicked.StringAlignGrid1, 2));
        ASSERT_EQ(QApplication::focusWidget(), form.StringAlignGrid1);
    }
    ASSERT_EQ(header(form.StringAlignGrid1, 2, Qt::AccessibleTextRole), "LogOut, sorted descending");
    ASSERT_EQ(header(form.StringAlignGrid1, 1, Qt::AccessibleTextRole), "LogIn");

    // Ctrl+Tab and Ctrl+Page Down go to the next page, from inside the table too; the Shift
    // and Page Up keys back.
    press(&form, Qt::Key_Tab, Qt::ControlModifier);
    ASSERT_EQ(form.PageControl1->currentIndex(), 1);
    press(&form, Qt::Key_PageUp, Qt::ControlModifier);
    ASSERT_EQ(form.PageControl1->currentIndex(), 0);
    press(&form, Qt::Key_PageDown, Qt::ControlModifier);
    ASSERT_EQ(form.PageControl1->currentIndex(), 1);
    press(&form, Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    ASSERT_EQ(form.PageControl1->currentIndex(), 0);
    ASSERT_EQ(form.width(), TForm4::kBootsWidth - 8);

    // The popup menu by Shift+F10 or the Menu key: "Copy" copies the selected row.
    press(&form, Qt::Key_F10, Qt::ShiftModifier);
    ASSERT_EQ(openMenu(), form.PopupMenu1);
    QGuiApplication::clipboard()->clear();
    pickFromMenu(1);
    ASSERT_EQ(QGuiApplication::clipboard()->text(), form.selectedRowsText());
    press(&form, Qt::Key_Menu);
    ASSERT_EQ(openMenu(), form.PopupMenu1);
    QTest::keyClick(openMenu(), Qt::Key_Escape);
    ASSERT_EQ(openMenu(), nullptr);
    ASSERT_TRUE(form.isVisible());
    press(&form, Qt::Key_Escape);
    ASSERT_FALSE(form.isVisible());
}
