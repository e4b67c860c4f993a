#include "ui/diagrams/options_menu.h"

#include <QAction>

namespace quomble {

namespace {

constexpr unsigned kPerDayCharts = kTabPerDay | kTabFrequency | kTabOnTimePerDay | kTabPerWeekday;
// Until the first tab switch the menu shows the options of the per-day charts.
constexpr unsigned kShownAtStart = kPerDayCharts;

using M = DiagramsMenuItems;
using O = DiagramOption;

}  // namespace

// clang-format off
const std::array<DiagramOptionRow, kDiagramOptionRowCount> kDiagramOptionRows{{
    {O::BootsPerDay, &M::BootsproTag1, "BootsproTag1", "Boots per day", true, 0, kTabPerDay, nullptr, "Series1", false},
    {O::BootTrendPerDay, &M::BootTrendproTag1, "BootTrendproTag1", "BootTrend per day", true, 0, kTabPerDay, nullptr, "Series13", false},
    {O::CrashsPerDay, &M::CrashsproTag1, "CrashsproTag1", "Crashs per day", true, 0, kTabPerDay, nullptr, "Series2", false},
    {O::CrashTrendPerDay, &M::CrashTrendproTag1, "CrashTrendproTag1", "CrashTrend per day", true, 0, kTabPerDay, nullptr, "Series14", false},
    {O::BootFrequency, &M::Bootfrequenz1, "Bootfrequenz1", "Bootfrequency ", true, 0, kTabFrequency, "N7", "Series9", false},
    {O::BootFrequencyTrend, &M::BootfrequenzTrend1, "BootfrequenzTrend1", "Bootfrequency Trend", true, 0, kTabFrequency, nullptr, "Series15", false},
    {O::CrashFrequency, &M::Crashfrequenz1, "Crashfrequenz1", "Crashfrequency ", true, 0, kTabFrequency, nullptr, "Series10", false},
    {O::CrashFrequencyTrend, &M::CrashfrequenzTrend1, "CrashfrequenzTrend1", "Crashfrequency Trend", true, 0, kTabFrequency, nullptr, "Series16", false},
    {O::OnTimePerDay, &M::EingeschaltetproTag1, "EingeschaltetproTag1", "OnTime per day", true, 0, kTabOnTimePerDay, "N6", "Series5", false},
    {O::OnTimePerDayTrend, &M::EingeschaltetproTagTrend1, "EingeschaltetproTagTrend1", "OnTime per day - Trend", true, 0, kTabOnTimePerDay, nullptr, "Series3", false},
    {O::Boots, &M::Boots1, "Boots1", "Boots", true, 0, kTabPerDaytime, "N3", "Series6", true},
    {O::ShutDowns, &M::ShutDowns1, "ShutDowns1", "ShutDowns", true, 0, kTabPerDaytime, nullptr, "Series11", true},
    {O::Crashs, &M::Crashs1, "Crashs1", "Crashs", true, 0, kTabPerDaytime, nullptr, "Series12", true},
    {O::View3D, &M::N3DAnsicht1, "N3DAnsicht1", "3D view", false, Qt::Key_F3, kPerDayCharts, nullptr, nullptr, false},
    {O::AutosizeYAxis, &M::automatischeYAchsenskalierung1, "automatischeYAchsenskalierung1", "autosize Y-axis", false, (Qt::CTRL | Qt::Key_Y).toCombined(), kTabPerDay | kTabFrequency, nullptr, nullptr, false},
    {O::Stepped, &M::Gestuft1, "Gestuft1", "stepped", false, 0, kTabOnTimePerDaytime, "N4", nullptr, false},
    {std::nullopt, &M::Normiert1, "Normiert1", "standardized", false, 0, kTabOnTimePerDaytime, nullptr, nullptr, true},
}};

const std::array<DiagramCommandRow, kDiagramCommandRowCount> kDiagramCommandRows{{
    {&M::Diagrammspeichern1, "Diagrammspeichern1", "Save chart as...", (Qt::CTRL | Qt::Key_S).toCombined(), "N8", &OptionsMenu::saveChartRequested},
    {&M::Diagrammkopieren1, "Diagrammkopieren1", "Copy chart", (Qt::CTRL | Qt::Key_C).toCombined(), nullptr, &OptionsMenu::copyChartRequested},
}};
// clang-format on

OptionsMenu::OptionsMenu(QWidget* window) : QMenu(window)
{
    setObjectName(QStringLiteral("PopupMenu1"));
    auto separator = [](QMenu* menu, const char* name) {
        QAction* s = menu->addSeparator();
        s->setObjectName(QLatin1String(name));
        return s;
    };

    Hilfe1 = addAction(QStringLiteral("About"));
    Hilfe1->setObjectName(QStringLiteral("Hilfe1"));
    Hilfe1->setShortcut(QKeySequence(Qt::Key_F1));
    connect(Hilfe1, &QAction::triggered, this, &OptionsMenu::aboutRequested);
    window->addAction(Hilfe1);
    N1 = separator(this, "N1");

    Werteanzeigen2Menu = addMenu(QStringLiteral("show charts"));
    // Every separator line stays, also where the items between two of them are hidden.
    setSeparatorsCollapsible(false);
    Werteanzeigen2Menu->setSeparatorsCollapsible(false);
    Werteanzeigen2 = Werteanzeigen2Menu->menuAction();
    Werteanzeigen2->setObjectName(QStringLiteral("Werteanzeigen2"));

    for (std::size_t r = 0; r < kDiagramOptionRows.size(); ++r) {
        const DiagramOptionRow& row = kDiagramOptionRows[r];
        QMenu* menu = row.inShowCharts ? Werteanzeigen2Menu : this;
        if (row.separatorBefore)
            separator(menu, row.separatorBefore);
        QAction* item = menu->addAction(QLatin1String(row.caption));
        item->setObjectName(QLatin1String(row.name));
        item->setCheckable(true);
        item->setChecked(row.stored && kDiagramOptionKeys[static_cast<std::size_t>(*row.stored)].initial);
        item->setVisible((row.tabs & kShownAtStart) != 0);
        if (row.shortcut) {
            item->setShortcut(QKeySequence(row.shortcut));
            window->addAction(item);
        }
        connect(item, &QAction::triggered, this,
                [this, r](bool on) { emit optionSwitched(static_cast<int>(r), on); });
        this->*row.item = item;
        items_[r] = item;
    }
    N7 = findChild<QAction*>(QStringLiteral("N7"));
    N6 = findChild<QAction*>(QStringLiteral("N6"));
    N3 = findChild<QAction*>(QStringLiteral("N3"));
    N4 = findChild<QAction*>(QStringLiteral("N4"));

    N5 = separator(this, "N5");
    Fensterschliessen2 = addAction(QStringLiteral("close window"));
    Fensterschliessen2->setObjectName(QStringLiteral("Fensterschliessen2"));
    // Shown in the menu; the key itself reaches the window's key handler.
    Fensterschliessen2->setShortcut(QKeySequence(Qt::Key_Escape));
    Fensterschliessen2->setShortcutContext(Qt::WidgetShortcut);
    connect(Fensterschliessen2, &QAction::triggered, this, &OptionsMenu::closeRequested);

    for (const DiagramCommandRow& row : kDiagramCommandRows) {
        if (row.separatorBefore)
            separator(this, row.separatorBefore);
        QAction* item = addAction(QLatin1String(row.caption));
        item->setObjectName(QLatin1String(row.name));
        item->setShortcut(QKeySequence(row.shortcut));
        window->addAction(item);
        connect(item, &QAction::triggered, this, row.requested);
        this->*row.item = item;
    }
    N8 = findChild<QAction*>(QStringLiteral("N8"));
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
