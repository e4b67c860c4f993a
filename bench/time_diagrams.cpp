// Timings of the diagrams window on the large benchmark log (1,000,000 boots, about 11,000
// days): opening the window the first time, scrolling a slot of all days by one day, and
// moving the smoothing track bar. Prints the median of five runs of each. Not a test.
#include "loggen.h"
#include "support/log_builder.h"
#include "ui/components/chartview.h"
#include "ui/diagrams/tform5.h"

#include <QAction>
#include <QApplication>
#include <QScreen>
#include <QThread>
#include <QScrollBar>
#include <QSlider>
#include <QTabWidget>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

using namespace quomble;
using Steady = std::chrono::steady_clock;

namespace {

double ms(Steady::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Runs `step` and then everything it queued (the replot and the repaint).
double timed(const std::function<void()>& step)
{
    const auto t0 = Steady::now();
    step();
    QApplication::processEvents();
    QApplication::processEvents();
    return ms(Steady::now() - t0);
}

struct Analysed {
    LogModel model{fixedClock(bench::LogGenOptions{}.end)};
    Analysed(const std::string& log)
    {
        testing::readAndRefresh(model, log);
        model.BC_Array_fuellen();
    }
};

}  // namespace

// Shows all six pages of a window over a log of a few years, with 3D on and off, and saves
// what the screen shows into `dir`.
int screenshots(const QString& dir)
{
    bench::LogGenOptions options;
    options.boots = 6000;
    options.years = 3;
    Analysed a(bench::generateLog(options));
    Settings settings;
    settings.SlotDays = 60;
    settings.TrendDays = 7;
    bool pending = true;
    TForm5::Host host;
    host.firstShowPending = [&] { return pending; };
    TForm5 form(a.model, settings, host);
    form.move(0, 0);
    form.resize(1000, 620);
    form.PageControl1Change();
    pending = false;
    form.show();
    auto settle = [] {
        for (int i = 0; i < 20; ++i) {
            QApplication::processEvents();
            QThread::msleep(20);
        }
    };
    for (bool view3D : {true, false}) {
        if (form.PopupMenu1->N3DAnsicht1->isChecked() != view3D)
            form.N3DAnsicht1Click();
        for (int page = 0; page < 6; ++page) {
            form.PageControl1->setCurrentIndex(page);
            settle();
            const QPixmap shot = form.screen()->grabWindow(0);
            shot.save(QStringLiteral("%1/page%2_%3.png").arg(dir).arg(page).arg(view3D ? "3d" : "flat"));
        }
    }
    return 0;
}

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc == 3 && QString::fromLatin1(argv[1]) == QLatin1String("--shots"))
        return screenshots(QString::fromLocal8Bit(argv[2]));
    std::printf("generating the log...\n");
    const std::string log = bench::generateLog(bench::LogGenOptions{});
    const int runs = 5;

    // Opening the first time: creation (all series filled), the tab switching of the first
    // "view diagrams" and the first painting of the shown page, with the stored slot of all
    // days; and once more with the daytime page restored, which computes the on-time curve.
    for (int page : {0, 3}) {
        std::vector<double> open;
        for (int r = 0; r < runs; ++r) {
            Analysed a(log);
            Settings settings;
            settings.SlotDays = a.model.DayCount;
            settings.DiagramsPageIndex = page;
            bool pending = true;
            TForm5::Host host;
            host.firstShowPending = [&] { return pending; };
            const auto t0 = Steady::now();
            TForm5 form(a.model, settings, host);
            form.resize(1200, 800);
            form.PageControl1Change();
            pending = false;
            form.show();
            QApplication::processEvents();
            QApplication::processEvents();
            open.push_back(ms(Steady::now() - t0));
            if (r == 0)
                std::printf("days: %d\n", a.model.DayCount);
        }
        std::printf("open the window first time (page %d): median %.1f ms\n", page, median(open));
    }

    Analysed a(log);
    Settings settings;
    settings.SlotDays = a.model.DayCount - 1;
    bool pending = true;
    TForm5::Host host;
    host.firstShowPending = [&] { return pending; };
    TForm5 form(a.model, settings, host);
    form.resize(1200, 800);
    form.PageControl1Change();
    pending = false;
    form.show();
    QApplication::processEvents();

    for (int tab : {0, 1, 2}) {
        form.PageControl1->setCurrentIndex(tab);
        QApplication::processEvents();
        std::vector<double> scroll;
        for (int r = 0; r < runs; ++r)
            scroll.push_back(timed(
                [&] { form.Panel1->ScrollBar1->setValue(form.Panel1->ScrollBar1->value() == 1 ? 2 : 1); }));
        std::printf("scroll a slot of %d days by one day (tab %d): median %.1f ms\n", settings.SlotDays, tab,
                    median(scroll));
    }
    form.N3DAnsicht1Click();
    {
        form.PageControl1->setCurrentIndex(0);
        std::vector<double> scroll;
        for (int r = 0; r < runs; ++r)
            scroll.push_back(timed(
                [&] { form.Panel1->ScrollBar1->setValue(form.Panel1->ScrollBar1->value() == 1 ? 2 : 1); }));
        std::printf("the same, flat: median %.1f ms\n", median(scroll));
    }
    form.N3DAnsicht1Click();
    {
        std::vector<double> refill;
        for (int r = 0; r < runs; ++r)
            refill.push_back(timed([&] { form.ScrollBar1Change(); }));
        std::printf("refill the slot in place (tab 0): median %.1f ms\n", median(refill));
    }

    form.PageControl1->setCurrentIndex(4);
    QApplication::processEvents();
    std::vector<double> smooth;
    for (int r = 0; r < runs; ++r)
        smooth.push_back(timed(
            [&] { form.Panel1->TrackBar2->setValue(form.Panel1->TrackBar2->value() == 60 ? 61 : 60); }));
    std::printf("move the smoothing track bar by one: median %.1f ms\n", median(smooth));
    std::vector<double> smoothWide;
    for (int r = 0; r < runs; ++r)
        smoothWide.push_back(timed([&] {
            form.Panel1->TrackBar2->setValue(form.Panel1->TrackBar2->value() == 1440 ? 1439 : 1440);
        }));
    std::printf("move the smoothing track bar at its widest: median %.1f ms\n", median(smoothWide));

    std::vector<double> trend;
    form.PageControl1->setCurrentIndex(0);
    QApplication::processEvents();
    for (int r = 0; r < runs; ++r)
        trend.push_back(timed(
            [&] { form.Panel1->TrackBar3->setValue(form.Panel1->TrackBar3->value() == 30 ? 31 : 30); }));
    std::printf("move the trend track bar (slot of all days): median %.1f ms\n", median(trend));
    return 0;
}
