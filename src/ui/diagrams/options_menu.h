#pragma once

#include "core/settings.h"
#include "ui/diagrams/diagram_pages.h"

#include <QMenu>

#include <array>
#include <optional>

class QAction;

namespace quomble {

// The tab pages of the diagrams window, one bit each (kDiagramPageRows).
enum DiagramTab : unsigned {
    kTabPerDay = pageBit(DiagramPage::PerDay),
    kTabFrequency = pageBit(DiagramPage::Frequency),
    kTabOnTimePerDay = pageBit(DiagramPage::OnTimePerDay),
    kTabOnTimePerDaytime = pageBit(DiagramPage::OnTimePerDaytime),
    kTabPerDaytime = pageBit(DiagramPage::PerDaytime),
    kTabPerWeekday = pageBit(DiagramPage::PerWeekday),
};

// The items of the popup menu, by their control names.
struct DiagramsMenuItems {
    QMenu* Werteanzeigen2Menu = nullptr;
    QAction* Hilfe1 = nullptr;
    QAction* N1 = nullptr;
    QAction* Werteanzeigen2 = nullptr;
    QAction* BootsproTag1 = nullptr;
    QAction* BootTrendproTag1 = nullptr;
    QAction* CrashsproTag1 = nullptr;
    QAction* CrashTrendproTag1 = nullptr;
    QAction* N7 = nullptr;
    QAction* Bootfrequenz1 = nullptr;
    QAction* BootfrequenzTrend1 = nullptr;
    QAction* Crashfrequenz1 = nullptr;
    QAction* CrashfrequenzTrend1 = nullptr;
    QAction* N6 = nullptr;
    QAction* EingeschaltetproTag1 = nullptr;
    QAction* EingeschaltetproTagTrend1 = nullptr;
    QAction* N3 = nullptr;
    QAction* Boots1 = nullptr;
    QAction* ShutDowns1 = nullptr;
    QAction* Crashs1 = nullptr;
    QAction* N3DAnsicht1 = nullptr;
    QAction* automatischeYAchsenskalierung1 = nullptr;
    QAction* N4 = nullptr;
    QAction* Gestuft1 = nullptr;
    QAction* Normiert1 = nullptr;
    QAction* N5 = nullptr;
    QAction* Fensterschliessen2 = nullptr;
    QAction* N8 = nullptr;
    QAction* SaveChart1 = nullptr;
    QAction* CopyChart1 = nullptr;
};

// One switchable option of the diagrams window: its menu item and what it switches.
struct DiagramOptionRow {
    // Its settings line (key and start state live in core/settings); none: off at start and
    // never stored.
    std::optional<DiagramOption> stored;
    QAction* DiagramsMenuItems::*item;
    const char* name;  // control name of the menu item
    const char* caption;
    bool inShowCharts;  // in the "show charts" submenu, else in the popup menu itself
    int shortcut;       // key and modifiers; 0: none
    unsigned tabs;      // DiagramTab bits of the pages on which the item shows
    QAction* DiagramsMenuItems::*separatorBefore;  // a separator line above the item, or null
    const char* separatorName;
    ChartSeries* DiagramPagesControls::*series;  // the series the option shows or hides, or null
    bool redrawsDaytime;                         // switching it refills the daytime lines
};

// The options in menu order: the single table from which both menus, their check marks and
// the stored values are made.
inline constexpr std::size_t kDiagramOptionRowCount = kDiagramOptionCount + 1;  // and "standardized"
extern const std::array<DiagramOptionRow, kDiagramOptionRowCount> kDiagramOptionRows;

// The diagrams window's popup menu (PopupMenu1): "About", the "show charts" submenu, the
// options of the table above and "close window". Shows on each tab page only the options
// that belong to it; reports a switched option by its row.
class OptionsMenu : public QMenu, public DiagramsMenuItems {
    Q_OBJECT
public:
    // The items with a shortcut also go to `window`, so that the keys work while the menu is
    // closed.
    explicit OptionsMenu(QWidget* window);

    QAction* item(DiagramOption option) const;
    // Shows the options of the tab page at `index`, hides the others.
    void showTab(int index);

signals:
    void optionSwitched(int row, bool on);
    void aboutRequested();
    void closeRequested();
    void saveChartRequested();
    void copyChartRequested();

private:
    std::array<QAction*, kDiagramOptionRowCount> items_{};
};

// One command of the popup menu below "close window": its item, the key that works while
// the menu is closed, and the signal it sends.
struct DiagramCommandRow {
    QAction* DiagramsMenuItems::*item;
    const char* name;  // control name of the menu item
    const char* caption;
    int shortcut;                                  // key and modifiers
    QAction* DiagramsMenuItems::*separatorBefore;  // a separator line above the item, or null
    const char* separatorName;
    void (OptionsMenu::*requested)();
};

// The commands in menu order, after the options and "close window".
inline constexpr std::size_t kDiagramCommandRowCount = 2;
extern const std::array<DiagramCommandRow, kDiagramCommandRowCount> kDiagramCommandRows;

}  // namespace quomble
