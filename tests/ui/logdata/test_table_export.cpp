#include "report.h"
#include "support/clock.h"
#include "support/file_faults.h"
#include "support/temp_folder.h"
#include "ui/components/messages.h"
#include "ui/logdata/log_table_model.h"
#include "ui/logdata/tform4.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QTableView>
#include <QTest>

#include <sstream>

using namespace quomble;
using quomble::testing::kNow;

namespace {

class LogDataExport : public ::testing::Test {
protected:
    void SetUp() override
    {
        model.LogFile_read(std::filesystem::path(QUOMBLE_TEST_DATA) / "sample.log");
        model.Statistik_aktualisieren();
        model.BC_Array_fuellen();
        form = std::make_unique<TForm4>(model, Settings{});
        form->show();
        QApplication::processEvents();
    }

    // The lines quomble-report --table boots prints after the sorts.
    QStringList reportLines(std::vector<report::Options::Sort> sorts)
    {
        report::Options options;
        options.table = "boots";
        options.sorts = std::move(sorts);
        std::ostringstream out;
        report::writeTable(out, model, options);
        return QString::fromStdString(out.str()).split(QLatin1Char('\n'));
    }

    void clickRow(int row, Qt::KeyboardModifiers modifiers = {})
    {
        QTableView* grid = form->StringAlignGrid1;
        const QRect cell = grid->visualRect(grid->model()->index(row - 1, 1));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, modifiers, cell.center());
    }

    LogModel model{fixedClock(kNow)};
    std::unique_ptr<TForm4> form;
};

}  // namespace

TEST_F(LogDataExport, CopiedBlockIsTheReportsLinesOfThoseRows)
{
    form->StringAlignGrid1FixedColClick(3);  // OnTime ascending, as --sort 3:asc
    form->StringAlignGrid1->scrollToTop();
    clickRow(2);
    clickRow(4, Qt::ShiftModifier);
    QTest::keyClick(form->StringAlignGrid1, Qt::Key_C, Qt::ControlModifier);
    const QStringList report = reportLines({{3, true}});
    EXPECT_EQ(QGuiApplication::clipboard()->text(),
              QStringList(report.mid(0, 1) + report.mid(2, 3)).join('\n') + '\n');

    // A plain click selects one row again.
    clickRow(3);
    form->CopyRows1->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), report[0] + '\n' + report[3] + '\n');

    // Ctrl+A: every row.
    QTest::keyClick(form->StringAlignGrid1, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(form->StringAlignGrid1, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), report.join('\n'));
}

TEST_F(LogDataExport, SavedTableIsTheWholeShownTable)
{
    quomble::testing::TempFolder dir;
    const QString tsv = QString::fromStdString((dir / "boots.tsv").string());
    const QString csv = QString::fromStdString((dir / "boots.csv").string());
    ASSERT_TRUE(form->saveShownTable(tsv, TableTextFormat::Tsv));
    ASSERT_TRUE(form->saveShownTable(csv, TableTextFormat::Csv));
    EXPECT_EQ(QString::fromStdString(quomble::testing::readFile(dir / "boots.tsv")),
              reportLines({}).join('\n'));
    const std::string csvText = quomble::testing::readFile(dir / "boots.csv");
    EXPECT_EQ(csvText.substr(0, csvText.find('\n') + 1),
              "Nr. .,LogIn \u00B0,LogOut \u00B0,OnTime \u00B0,OffTime \u00B0\r\n");
}

TEST_F(LogDataExport, FailedSaveSaysSoAndLeavesNoFile)
{
    quomble::testing::TempFolder dir;
    quomble::testing::ReadOnlyFolder readOnly(dir.path());
    if (!readOnly.active())
        GTEST_SKIP() << "no read-only folder on this file system";
    QStringList messages;
    const MessageHandler previous =
        setMessageHandler([&](MessageKind, const QString& text) { messages << text; });
    EXPECT_FALSE(
        form->saveShownTable(QString::fromStdString((dir / "boots.csv").string()), TableTextFormat::Csv));
    setMessageHandler(previous);
    readOnly.undo();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].startsWith("File could not be written: ")) << messages[0].toStdString();
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}
