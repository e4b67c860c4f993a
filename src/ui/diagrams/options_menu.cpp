#include "ui/diagrams/options_menu.h"

#include "ui/components/control_name.h"

#include <QAction>

namespace quomble {

namespace {

constexpr unsigned kPerDayCharts = kTabPerDay | kTabFrequency | kTabOnTimePerDay | kTabPerWeekday;
// Until the first tab switch the menu shows the options of the per-day charts.
constexpr unsigned kShownAtStart = kPerDayCharts;

using M = DiagramsMenuItems;
using O = DiagramOption;
using P = DiagramPagesControls;

}  // namespace

// clang-format off
const std::array<DiagramOptionRow, kDiagramOptionRowCount> kDiagramOptionRows{{
    {O::BootsPerDay, QUOMBLE_CONTROL(M, BootsproTag1), "Boots per day", true, 0, kTabPerDay, nullptr, nullptr, &P::Series1, false},
    {O::BootTrendPerDay, QUOMBLE_CONTROL(M, BootTrendproTag1), "BootTrend per day", true, 0, kTabPerDay, nullptr, nullptr, &P::Series13, false},
    {O::CrashsPerDay, QUOMBLE_CONTROL(M, CrashsproTag1), "Crashs per day", true, 0, kTabPerDay, nullptr, nullptr, &P::Series2, false},
    {O::CrashTrendPerDay, QUOMBLE_CONTROL(M, CrashTrendproTag1), "CrashTrend per day", true, 0, kTabPerDay, nullptr, nullptr, &P::Series14, false},
    {O::BootFrequency, QUOMBLE_CONTROL(M, Bootfrequenz1), "Bootfrequency ", true, 0, kTabFrequency, QUOMBLE_CONTROL(M, N7), &P::Series9, false},
    {O::BootFrequencyTrend, QUOMBLE_CONTROL(M, BootfrequenzTrend1), "Bootfrequency Trend", true, 0, kTabFrequency, nullptr, nullptr, &P::Series15, false},
    {O::CrashFrequency, QUOMBLE_CONTROL(M, Crashfrequenz1), "Crashfrequency ", true, 0, kTabFrequency, nullptr, nullptr, &P::Series10, false},
    {O::CrashFrequencyTrend, QUOMBLE_CONTROL(M, CrashfrequenzTrend1), "Crashfrequency Trend", true, 0, kTabFrequency, nullptr, nullptr, &P::Series16, false},
    {O::OnTimePerDay, QUOMBLE_CONTROL(M, EingeschaltetproTag1), "OnTime per day", true, 0, kTabOnTimePerDay, QUOMBLE_CONTROL(M, N6), &P::Series5, false},
    {O::OnTimePerDayTrend, QUOMBLE_CONTROL(M, EingeschaltetproTagTrend1), "OnTime per day - Trend", true, 0, kTabOnTimePerDay, nullptr, nullptr, &P::Series3, false},
    {O::Boots, QUOMBLE_CONTROL(M, Boots1), "Boots", true, 0, kTabPerDaytime, QUOMBLE_CONTROL(M, N3), &P::Series6, true},
    {O::ShutDowns, QUOMBLE_CONTROL(M, ShutDowns1), "ShutDowns", true, 0, kTabPerDaytime, nullptr, nullptr, &P::Series11, true},
    {O::Crashs, QUOMBLE_CONTROL(M, Crashs1), "Crashs", true, 0, kTabPerDaytime, nullptr, nullptr, &P::Series12, true},
    {O::View3D, QUOMBLE_CONTROL(M, N3DAnsicht1), "3D view", false, Qt::Key_F3, kPerDayCharts, nullptr, nullptr, nullptr, false},
    {O::AutosizeYAxis, QUOMBLE_CONTROL(M, automatischeYAchsenskalierung1), "autosize Y-axis", false, (Qt::CTRL | Qt::Key_Y).toCombined(), kTabPerDay | kTabFrequency, nullptr, nullptr, nullptr, false},
    {O::Stepped, QUOMBLE_CONTROL(M, Gestuft1), "stepped", false, 0, kTabOnTimePerDaytime, QUOMBLE_CONTROL(M, N4), nullptr, false},
    {std::nullopt, QUOMBLE_CONTROL(M, Normiert1), "standardized", false, 0, kTabOnTimePerDaytime, nullptr, nullptr, nullptr, true},
}};

const std::array<DiagramCommandRow, kDiagramCommandRowCount> kDiagramCommandRows{{
    {QUOMBLE_CONTROL(M, SaveChart1), "Save chart as...", (Qt::CTRL | Qt::Key_S).toCombined(), QUOMBLE_CONTROL(M, N8), &OptionsMenu::saveChartRequested},
    {QUOMBLE_CONTROL(M, CopyChart1), "Copy chart", (Qt::CTRL | Qt::Key_C).toCombined(), nullptr, nullptr, &OptionsMenu::copyChartRequested},
}};
// clang-format on

OptionsMenu::OptionsMenu(QWidget* window) : QMenu(window)
{
    auto separator = [this](QMenu* menu, QAction* M::*member, const char* name) {
        nameControl(this, member, name, menu->addSeparator());
    };

    nameControl(this, QUOMBLE_CONTROL(M, Hilfe1), addAction(QStringLiteral("About")));
    Hilfe1->setShortcut(QKeySequence(Qt::Key_F1));
    connect(Hilfe1, &QAction::triggered, this, &OptionsMenu::aboutRequested);
    window->addAction(Hilfe1);
    separator(this, QUOMBLE_CONTROL(M, N1));

    Werteanzeigen2Menu = addMenu(QStringLiteral("show charts"));
    // Every separator line stays, also where the items between two of them are hidden.
    setSeparatorsCollapsible(false);
    Werteanzeigen2Menu->setSeparatorsCollapsible(false);
    nameControl(this, QUOMBLE_CONTROL(M, Werteanzeigen2), Werteanzeigen2Menu->menuAction());

    for (std::size_t r = 0; r < kDiagramOptionRows.size(); ++r) {
        const DiagramOptionRow& row = kDiagramOptionRows[r];
        QMenu* menu = row.inShowCharts ? Werteanzeigen2Menu : this;
        if (row.separatorBefore)
            separator(menu, row.separatorBefore, row.separatorName);
        QAction* item = nameControl(this, row.item, row.name, menu->addAction(QLatin1String(row.caption)));
        item->setCheckable(true);
        item->setChecked(row.stored && kDiagramOptionKeys[static_cast<std::size_t>(*row.stored)].initial);
        item->setVisible((row.tabs & kShownAtStart) != 0);
        if (row.shortcut) {
            item->setShortcut(QKeySequence(row.shortcut));
            window->addAction(item);
        }
        connect(item, &QAction::triggered, this,
                [this, r](bool on) { emit optionSwitched(static_cast<int>(r), on); });
        items_[r] = item;
    }

    separator(this, QUOMBLE_CONTROL(M, N5));
    nameControl(this, QUOMBLE_CONTROL(M, Fensterschliessen2), addAction(QStringLiteral("close window")));
    // Shown in the menu; the key itself reaches the window's key handler.
    Fensterschliessen2->setShortcut(QKeySequence(Qt::Key_Escape));
    Fensterschliessen2->setShortcutContext(Qt::WidgetShortcut);
    connect(Fensterschliessen2, &QAction::triggered, this, &OptionsMenu::closeRequested);

    for (const DiagramCommandRow& row : kDiagramCommandRows) {
        if (row.separatorBefore)
            separator(this, row.separatorBefore, row.separatorName);
        QAction* item = nameControl(this, row.item, row.name, addAction(QLatin1String(row.caption)));
        item->setShortcut(QKeySequence(row.shortcut));
        window->addAction(item);
        connect(item, &QAction::triggered, this, row.requested);
    }
}

QAction* OptionsMenu::item(DiagramOption option) const
{
    for (std::size_t r = 0; r < kDiagramOptionRows.size(); ++r)
        if (kDiagramOptionRows[r].stored == option)
            return items_[r];
    return nullptr;
}

void OptionsMenu::showTab(int index)
{
    for (std::size_t r = 0; r < kDiagramOptionRows.size(); ++r)
        items_[r]->setVisible((kDiagramOptionRows[r].tabs >> index & 1u) != 0);
}

}  // namespace quomble
