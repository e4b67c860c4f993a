// Times the log data window on the benchmark log: opening it (the fill of both tables,
// the last row selected and shown) and one header press per column, median of 5.

#include "core/log_lines.h"
#include "core/model.h"
#include "loggen.h"
#include "ui/logdata/tform4.h"

#include <QApplication>
#include <QTableView>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

using namespace quomble;

namespace {

template <typename F>
double medianMs(F&& work)
{
    std::vector<double> ms;
    for (int i = 0; i < 5; ++i) {
        const auto start = std::chrono::steady_clock::now();
        work();
        ms.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(ms.begin(), ms.end());
    return ms[2];
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const std::string log = bench::generateLog(bench::LogGenOptions{});
    LogModel model(fixedClock(bench::LogGenOptions{}.end));
    LogLineReader lines{std::string_view(log)};
    model.LogFile_read(lines);
    model.Statistik_aktualisieren();
    model.BC_Array_fuellen();

    TForm4 form(model, Settings{});
    const double open = medianMs([&] {
        form.show();
        QApplication::processEvents();
        form.hide();
    });
    std::printf("open the window (1,000,000 boots, %d days): %.1f ms\n", model.DayCount, open);
    form.show();
    QApplication::processEvents();
    for (int column = 0; column < 5; ++column) {
        const double press = medianMs([&] {
            form.StringAlignGrid1FixedColClick(column);
            QApplication::processEvents();
        });
        std::printf("boots table, press on column %d: %.1f ms\n", column, press);
    }
    return 0;
}
