#include "core/log_lines.h"
#include "support/log_builder.h"
#include "ui/components/busyindicator.h"
#include "ui/logdata/log_table_model.h"
#include "ui/logdata/tform4.h"

#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QTest>
#include <QHeaderView>
#include <QTabWidget>
#include <QTableView>
#include <QProcess>
#include <QWindow>

#include <filesystem>
#include <fstream>

using namespace quomble;
using quomble::testing::kNow;

namespace {

// A log of one boot, still running, read and analysed into `model`.
void readOneRunningBoot(LogModel& model)
{
    quomble::testing::readAndRefresh(model, quomble::testing::logText({"07.12.2026 08:00:00 "}));
    model.BC_Array_fuellen();
}

class LogDataWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        model.LogFile_read(std::filesystem::path(QUOMBLE_TEST_DATA) / "sample.log");
        model.Statistik_aktualisieren();
        model.BC_Array_fuellen();
    }

    QString cell(QTableView* grid, int row, int column, int role = Qt::DisplayRole)
    {
        return grid->model()->index(row - 1, column).data(role).toString();
    }
    int selectedRow(QTableView* grid) { return grid->selectionModel()->currentIndex().row() + 1; }
    QString header(QTableView* grid, int column)
    {
        return grid->model()->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
    }

    LogModel model{fixedClock(kNow)};
};

}  // namespace

TEST_F(LogDataWindow, TableModelKeepsTheItemModelRulesThroughRefillsAndSorts)
{
    for (LogTable table : {LogTable::Boots, LogTable::Days}) {
        LogTableModel tableModel(model, table);
        QAbstractItemModelTester tester(&tableModel, QAbstractItemModelTester::FailureReportingMode::Fatal);
        tableModel.fill();
        tableModel.order().press(model, 1);
        tableModel.rowsReordered();
        tableModel.fill();
    }
}

TEST_F(LogDataWindow, ShowsBothTablesAsLaidOut)
{
    TForm4 form(model, Settings{});
    form.show();
    EXPECT_EQ(form.windowTitle(), "LogData");
    ASSERT_EQ(form.PageControl1->count(), 2);
    EXPECT_EQ(form.PageControl1->tabText(0), "Boots");
    EXPECT_EQ(form.PageControl1->tabText(1), "Days");
    EXPECT_EQ(form.StringAlignGrid1->objectName(), "StringAlignGrid1");

    QTableView* boots = form.StringAlignGrid1;
    ASSERT_EQ(boots->model()->rowCount(), 10);
    ASSERT_EQ(boots->model()->columnCount(), 5);
    const int widths[] = {42, 110, 110, 80, 80};
    for (int c = 0; c < 5; ++c)
        EXPECT_EQ(boots->columnWidth(c), widths[c]);
    EXPECT_EQ(header(boots, 0), " Nr. .");
    EXPECT_EQ(header(boots, 4), " OffTime \u00B0");
    EXPECT_EQ(cell(boots, 3, 2), " ");  // a crash
    EXPECT_EQ(cell(boots, 3, 4), " ");
    EXPECT_EQ(cell(boots, 10, 2), "07.12.2026 12:00:00 ");
    EXPECT_EQ(cell(boots, 6, 4), "1 / 09:30:00 ");
    EXPECT_EQ(boots->model()->index(0, 1).data(Qt::ForegroundRole).value<QColor>(), QColor(0, 128, 0));
    EXPECT_EQ(boots->model()->index(0, 2).data(Qt::ForegroundRole).value<QColor>(), QColor(255, 0, 0));
    EXPECT_EQ(selectedRow(boots), 10);  // the running boot

    QTableView* days = form.StringAlignGrid2;
    ASSERT_EQ(days->model()->rowCount(), model.DayCount);
    EXPECT_EQ(header(days, 1), " DayofWeek \u00B0");
    EXPECT_EQ(cell(days, 1, 1), "Saturday");
    EXPECT_EQ(cell(days, 1, 2), "28.11.2026 ");
    EXPECT_EQ(days->model()->index(0, 1).data(Qt::TextAlignmentRole).toInt() & Qt::AlignLeft, Qt::AlignLeft);
    EXPECT_EQ(days->model()->index(0, 5).data(Qt::ForegroundRole).value<QColor>(), QColor(0, 0, 128));
    EXPECT_EQ(selectedRow(days), model.DayCount);
}

TEST_F(LogDataWindow, PageDecidesTheWidth)
{
    Settings onDays;
    onDays.LogDataPageIndex = 1;
    TForm4 form(model, onDays);
    EXPECT_EQ(form.PageControl1->currentIndex(), 1);
    const int days = form.width();
    form.PageControl1->setCurrentIndex(0);
    const int boots = form.width();
    EXPECT_EQ(boots - days, TForm4::kBootsWidth - TForm4::kDaysWidth);
    EXPECT_EQ(boots, TForm4::kBootsWidth - 8);

    Settings settings;
    form.move(120, 80);
    form.storeSettings(settings);
    EXPECT_EQ(settings.LogDataPageIndex, 0);
    ASSERT_TRUE(settings.LogDataPlace);
    EXPECT_EQ(settings.LogDataPlace->left, 120);
}

TEST_F(LogDataWindow, HeaderPressSortsKeepsTheSelectionAndReopeningUndoesIt)
{
    TForm4 form(model, Settings{});
    form.show();
    QTableView* boots = form.StringAlignGrid1;
    form.StringAlignGrid1FixedColClick(0);  // Nr.: descending first
    EXPECT_EQ(header(boots, 0), " Nr. \u00B0");
    EXPECT_EQ(cell(boots, 1, 0), "10 ");
    EXPECT_EQ(selectedRow(boots), 1);  // the running boot moved to the top
    EXPECT_EQ(form.windowTitle(), "LogData");
    EXPECT_TRUE(boots->isVisible());
    EXPECT_FALSE(form.Animate1->isVisible());

    form.StringAlignGrid1FixedColClick(3);  // OnTime ascending
    EXPECT_EQ(header(boots, 3), " OnTime .");
    EXPECT_EQ(cell(boots, 1, 3), "0 / 00:00:00 ");
    EXPECT_EQ(cell(boots, 10, 3), "0 / 20:30:00 ");

    form.hide();
    form.show();
    EXPECT_EQ(cell(boots, 1, 0), "1 ");
    EXPECT_EQ(header(boots, 0), " Nr. .");
    EXPECT_EQ(header(boots, 3), " OnTime \u00B0");
    EXPECT_EQ(selectedRow(boots), 10);

    form.StringAlignGrid2FixedColClick(1);  // DayofWeek: Mondays first
    EXPECT_EQ(cell(form.StringAlignGrid2, 1, 1), "Monday");
    EXPECT_EQ(cell(form.StringAlignGrid2, model.DayCount, 1), "Sunday");
}

TEST(LogDataCells, WrittenOncePerShowing)
{
    quomble::testing::SettableClock clock;
    LogModel live{clock.clock()};
    quomble::testing::readAndRefresh(
        live, quomble::testing::logText({"07.12.2026 05:00:00 07.12.2026 07:15:00", "07.12.2026 10:00:00 "}));
    live.BC_Array_fuellen();
    TForm4 form(live, Settings{});
    form.show();
    QAbstractItemModel* boots = form.StringAlignGrid1->model();
    auto cell = [&](int row, int column) { return boots->index(row - 1, column).data().toString(); };
    EXPECT_EQ(cell(2, 2), "07.12.2026 12:00:00 ");
    EXPECT_EQ(cell(2, 3), "0 / 02:00:00 ");

    // The live refresh while the window is open changes no cell, nor the order of a sort.
    clock.set({2026, 12, 7, 12, 30, 5});
    live.Statistik_aktualisieren();
    EXPECT_EQ(cell(2, 2), "07.12.2026 12:00:00 ");
    EXPECT_EQ(cell(2, 3), "0 / 02:00:00 ");
    form.StringAlignGrid1FixedColClick(3);  // OnTime ascending: the 2 h shown before 2 h 15
    EXPECT_EQ(cell(1, 0), "2 ");
    EXPECT_EQ(cell(1, 3), "0 / 02:00:00 ");

    form.hide();
    form.show();
    EXPECT_EQ(cell(2, 2), "07.12.2026 12:30:05 ");
    EXPECT_EQ(cell(2, 3), "0 / 02:30:05 ");
}

TEST(LogDataPlace, NeverOpenedOverTheMainWindowAndReopenedWhereTheUserLeftIt)
{
    LogModel one{fixedClock(kNow)};
    readOneRunningBoot(one);
    QWidget main;
    main.setGeometry(100, 100, 600, 500);
    TForm4 form(one, Settings{}, &main);
    Settings settings;
    form.storeSettings(settings);
    ASSERT_TRUE(settings.LogDataPlace);
    const QPoint centred(settings.LogDataPlace->left, settings.LogDataPlace->top);
    EXPECT_EQ(QRect(centred, form.size()).center(), main.geometry().center());

    form.show();
    QApplication::processEvents();
    EXPECT_LE((form.pos() - centred).manhattanLength(), 4);  // the frame's width apart
    // The user moves it: the system moves the window, not the program.
    form.windowHandle()->setPosition(240, 130);
    QApplication::processEvents();
    const QPoint left = form.pos();
    form.hide();
    form.show();
    QApplication::processEvents();
    EXPECT_EQ(form.pos(), left);
    form.storeSettings(settings);
    EXPECT_EQ(settings.LogDataPlace, (WindowPlace{left.x(), left.y()}));
}

// A stored place the window could not take (its screen is gone) stays while the window is
// never shown; where the system does not tell places it stays after a showing too.
TEST(LogDataPlace, NotSeenStaysAsStored)
{
    LogModel one{fixedClock(kNow)};
    readOneRunningBoot(one);
    QWidget main;
    main.setGeometry(100, 100, 600, 500);
    TForm4 form(one, Settings{}, &main);
    Settings settings;
    settings.LogDataPlace = WindowPlace{-20000, 5};
    form.storeSettings(settings);
    EXPECT_EQ(settings.LogDataPlace, (WindowPlace{-20000, 5}));

    settings.PlacesKnown = false;
    form.show();
    form.move(240, 130);
    form.storeSettings(settings);
    EXPECT_EQ(settings.LogDataPlace, (WindowPlace{-20000, 5}));
}

TEST_F(LogDataWindow, SingleRowOnlyTurnsTheMark)
{
    LogModel one{fixedClock(kNow)};
    readOneRunningBoot(one);
    TForm4 form(one, Settings{});
    form.show();
    form.StringAlignGrid1FixedColClick(1);
    EXPECT_EQ(header(form.StringAlignGrid1, 1), " LogIn .");
    EXPECT_EQ(cell(form.StringAlignGrid1, 1, 0), "1 ");
}

TEST(BusyIndicator, MovesWhileStarted)
{
    BusyIndicator busy;
    busy.start();
    const int first = busy.frame();
    QTest::qWait(200);
    EXPECT_NE(busy.frame(), first);
    busy.stop();
    EXPECT_FALSE(busy.isVisible());
}

namespace {

// The free device pixels left and right of the ink of every shown cell of `grid` (the
// selection cleared), the worst of all cells; {-1, -1} when a cell's ink is cut at its edge.
struct CellMargins {
    double left = 1e9;
    double right = 1e9;
    QString worst;
};
CellMargins cellMargins(QTableView* grid)
{
    grid->clearSelection();
    grid->setCurrentIndex({});
    QApplication::processEvents();
    const QImage image = grid->viewport()->grab().toImage();
    const double d = image.devicePixelRatio();
    const QColor base = grid->palette().color(QPalette::Base);
    auto ink = [&](int x, int y) {
        const QColor c = image.pixelColor(x, y);
        return std::max({std::abs(c.red() - base.red()), std::abs(c.green() - base.green()),
                         std::abs(c.blue() - base.blue())}) > 60;
    };
    CellMargins m;
    for (int row = 0;
         row < grid->model()->rowCount() && grid->rowViewportPosition(row) < grid->viewport()->height() - 20;
         ++row)
        for (int column = 0; column < grid->model()->columnCount(); ++column) {
            const QRect cell = grid->visualRect(grid->model()->index(row, column));
            // Inside the grid lines: the line left of the cell ends at its left edge, its own
            // line is its last logical column; one device pixel of guard on each side.
            const int x0 = static_cast<int>(std::ceil(cell.left() * d)) + 1;
            const int x1 = static_cast<int>(std::floor((cell.right()) * d)) - 2;
            const int y0 = static_cast<int>(std::ceil(cell.top() * d)) + 1;
            const int y1 = static_cast<int>(std::floor(cell.bottom() * d)) - 2;
            int first = -1;
            int last = -1;
            for (int x = x0; x <= x1; ++x)
                for (int y = y0; y <= y1; ++y)
                    if (ink(x, y)) {
                        if (first < 0)
                            first = x;
                        last = x;
                        break;
                    }
            if (first < 0)
                continue;  // an empty cell
            const double left = (first - x0) / d;
            const double right = (x1 - last) / d;
            if (std::min(left, right) < std::min(m.left, m.right))
                m.worst = QStringLiteral("row %1 column %2 \"%3\"")
                              .arg(row + 1)
                              .arg(column)
                              .arg(grid->model()->index(row, column).data().toString());
            m.left = std::min(m.left, left);
            m.right = std::min(m.right, right);
        }
    return m;
}

}  // namespace

// The cells' texts, measured in the pixels drawn: none cut off, none touching a grid line,
// at the scale factors 1, 1.5 and 2 (the other two in a copy of this program, since a scale
// factor is fixed when the application starts).
TEST_F(LogDataWindow, CellTextsStandWholeAndClearOfTheGridLinesAtEveryScale)
{
    TForm4 form(model, Settings{});
    form.show();
    for (QTableView* grid : {form.StringAlignGrid1, form.StringAlignGrid2}) {
        form.PageControl1->setCurrentIndex(grid == form.StringAlignGrid1 ? 0 : 1);
        const CellMargins m = cellMargins(grid);
        const QString where = grid->objectName() + QStringLiteral(" at scale ") +
                              QString::fromLocal8Bit(qgetenv("QT_SCALE_FACTOR")) + QStringLiteral(": ") +
                              m.worst;
        EXPECT_GE(m.left, 1.0) << qPrintable(where);
        EXPECT_GE(m.right, 1.0) << qPrintable(where);
    }
    if (qEnvironmentVariableIsSet("QT_SCALE_FACTOR"))
        return;
    for (const char* scale : {"1.5", "2"}) {
        QProcess copy;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_SCALE_FACTOR"), QString::fromLatin1(scale));
        copy.setProcessEnvironment(env);
        copy.setProcessChannelMode(QProcess::MergedChannels);
        copy.start(
            QCoreApplication::applicationFilePath(),
            {QStringLiteral(
                "--gtest_filter=LogDataWindow.CellTextsStandWholeAndClearOfTheGridLinesAtEveryScale")});
        ASSERT_TRUE(copy.waitForFinished(60000));
        EXPECT_EQ(copy.exitCode(), 0) << "scale " << scale << ":\n" << copy.readAll().toStdString();
    }
}

// A large desktop font leaves the window's texts as they are: every header text, drawn in
// the font the header paints it with, fits its column.
TEST_F(LogDataWindow, HeadersKeepTheWindowFontUnderALargeDesktopFont)
{
    const QFont desktop = QApplication::font();
    QFont large = desktop;
    large.setPointSize(14);
    QApplication::setFont(large);
    TForm4 form(model, Settings{});
    form.show();
    for (QTableView* grid : {form.StringAlignGrid1, form.StringAlignGrid2}) {
        const QHeaderView* header = grid->horizontalHeader();
        for (int c = 0; c < grid->model()->columnCount(); ++c) {
            const QVariant role = grid->model()->headerData(c, Qt::Horizontal, Qt::FontRole);
            const QFont font = role.isValid() ? role.value<QFont>() : header->font();
            const QString text = grid->model()->headerData(c, Qt::Horizontal).toString();
            EXPECT_LE(QFontMetrics(font).horizontalAdvance(text), header->sectionSize(c) - 4)
                << qPrintable(text);
            EXPECT_TRUE(font.bold());
        }
    }
    QApplication::setFont(desktop);
}
