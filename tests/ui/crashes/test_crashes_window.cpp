#include "report.h"
#include "support/temp_folder.h"
#include "ui/crashes/crashes_window.h"

#include <gtest/gtest.h>

#include <QAbstractItemModel>
#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTableView>
#include <QTest>

#include <sstream>

namespace quomble {
namespace {

using testing::TempFolder;

const char* const kLog = "01.12.2026 07:58:40 01.12.2026 22:10:05\r\n02.12.2026 08:03:12 \r\n"
                         "03.12.2026 09:00:00 \r\n04.12.2026 09:00:00 \r\n";
const char* const kEnds =
    "QuombleView boot ends 1\n"
    "[02.12.2026 08:03:12]\nkernel=6.1.0-28-amd64\ncause=kernel-panic\nconfidence=high\n"
    "last_entry=02.12.2026 09:03:12\nevidence=pstore: /var/lib/systemd/pstore/1/dmesg-efi-1: "
    "Kernel panic - not syncing: Fatal exception\n"
    "[03.12.2026 09:00:00]\nkernel=6.1.0-28-amd64\ncause=power-loss-or-freeze\n"
    "confidence=medium\nlast_entry=03.12.2026 10:30:00\nevidence=the journal just stops\n";

// The window over kLog and kEnds in a folder of its own, read.
struct CrashesFixture {
    CrashesFixture()
    {
        testing::writeFile(log, kLog);
        testing::writeFile(dir / "Quomble.log.ends", kEnds);
        window.reload();
    }
    TempFolder dir;
    std::filesystem::path log = dir / "Quomble.log";
    CrashesWindow window{log, fixedClock({2026, 12, 4, 12, 0, 0})};
};

// The window shows what the report prints: the same rows, the same texts, in its shown order.
TEST(CrashesWindow, ShowsAndSavesTheRecordsTheReportPrints)
{
    CrashesFixture fx;
    const auto& dir = fx.dir;
    const auto& log = fx.log;
    CrashesWindow& window = fx.window;

    QAbstractItemModel* crashes = window.crashTable()->model();
    ASSERT_EQ(crashes->rowCount(), 2);
    // Newest first until a header is pressed; the evidence of the current row below.
    window.crashTable()->sortByColumn(0, Qt::AscendingOrder);
    EXPECT_EQ(crashes->index(0, 3).data().toString(), QStringLiteral("kernel panic or oops"));
    EXPECT_EQ(crashes->index(1, 3).data().toString(), QStringLiteral("power loss or freeze"));
    window.crashTable()->setCurrentIndex(crashes->index(0, 0));
    EXPECT_TRUE(window.evidenceText()->toPlainText().contains(QStringLiteral("Kernel panic - not syncing")));
    window.crashTable()->sortByColumn(2, Qt::DescendingOrder);  // the longest on-time first
    EXPECT_EQ(crashes->index(0, 2).data().toString(), QStringLiteral("0 01:30:00"));
    EXPECT_EQ(window.kernelTable()->model()->index(1, 0).data().toString(), QStringLiteral("6.1.0-28-amd64"));
    EXPECT_EQ(window.kernelTable()->model()->index(1, 2).data().toString(), QStringLiteral("2"));

    window.crashTable()->sortByColumn(0, Qt::AscendingOrder);
    report::Options options;
    options.csv = true;
    std::ostringstream printed;
    report::writeCrashes(printed, log.string(), options, *parseTimestamp("04.12.2026 12:00:00"));
    ASSERT_TRUE(window.saveTable(QString::fromStdString((dir / "crashes.csv").string())));
    EXPECT_EQ(testing::readFile(dir / "crashes.csv"), printed.str());

    window.crashTable()->selectRow(1);
    const QString copied = window.selectedRowsText();
    EXPECT_TRUE(copied.startsWith(QStringLiteral("LogIn\tlast entry\t")));
    EXPECT_TRUE(copied.contains(QStringLiteral("03.12.2026 09:00:00\t03.12.2026 10:30:00")));
    EXPECT_FALSE(copied.contains(QStringLiteral("02.12.2026 08:03:12")));
}

// F9 sorts the focused table by its current column, the other way at the next press, as the
// header does; Shift+F10 opens the window's menu.
TEST(CrashesWindow, SortsAndOpensItsMenuFromTheKeyboard)
{
    CrashesFixture fx;
    CrashesWindow& window = fx.window;
    window.show();
    QApplication::setActiveWindow(&window);
    QTableView* table = window.crashTable();
    table->setFocus();
    table->setCurrentIndex(table->model()->index(0, 2));
    QTest::keyClick(table, Qt::Key_F9);
    EXPECT_EQ(table->horizontalHeader()->sortIndicatorSection(), 2);
    EXPECT_EQ(table->horizontalHeader()->sortIndicatorOrder(), Qt::AscendingOrder);
    EXPECT_EQ(table->model()->index(1, 2).data().toString(), QStringLiteral("0 01:30:00"));
    QTest::keyClick(table, Qt::Key_F9);
    EXPECT_EQ(table->model()->index(0, 2).data().toString(), QStringLiteral("0 01:30:00"));
    QTest::keyClick(table, Qt::Key_F10, Qt::ShiftModifier);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->parentWidget(), &window);
    menu->close();
}

}  // namespace
}  // namespace quomble
