#pragma once

#include "core/log_lines.h"
#include "core/model.h"
#include "core/settings.h"
#include "support/log_builder.h"
#include "support/temp_folder.h"
#include "support/title_recorder.h"
#include "ui/components/chartview.h"
#include "ui/diagrams/tform5.h"

#include <QApplication>
#include <QEvent>
#include <QStringList>
#include <QWidget>

#include <memory>
#include <string>
#include <vector>

namespace quomble::testing {

// tests/data/week.log: five boots up to 07.12.2026 12:00 (a Monday): two shutdowns on day 1,
// a crash on day 2, a shutdown on day 3, nothing on days 4 to 6, the running boot on day 7.
inline std::string weekLog() { return testData("week.log"); }

// The analysed log, the main window's settings and the diagrams window over them, as the
// program creates them at start-up (the main window still before its first "view diagrams").
struct DiagramsFixture {
    explicit DiagramsFixture(const std::string& log = weekLog(), const Settings& stored = Settings{})
        : model(fixedClock(kNow)), settings(stored)
    {
        readAndRefresh(model, log);
        model.BC_Array_fuellen();
        main.setWindowTitle(QStringLiteral("QuombleView 3.9"));
        titles = std::make_unique<TitleRecorder>(&main);
        TForm5::Host host;
        host.mainWindow = &main;
        host.mainTitle = QStringLiteral("QuombleView 3.9");
        host.firstShowPending = [this] { return firstShowPending; };
        host.showAbout = [this] { ++aboutShown; };
        form = std::make_unique<TForm5>(model, settings, host);
    }

    // What the main window's "view diagrams" does before showing the window the first time.
    void firstShow()
    {
        if (firstShowPending)
            form->PageControl1Change();
        firstShowPending = false;
    }

    LogModel model;
    Settings settings;
    QWidget main;
    std::unique_ptr<TitleRecorder> titles;
    bool firstShowPending = true;
    int aboutShown = 0;
    std::unique_ptr<TForm5> form;
};

inline std::vector<double> yValues(const ChartSeries* s)
{
    std::vector<double> out;
    for (int i = 0; i < s->count(); ++i)
        out.push_back(s->yValue(i));
    return out;
}

}  // namespace quomble::testing
