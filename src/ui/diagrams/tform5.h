#pragma once

#include "core/model.h"
#include "core/settings.h"
#include "ui/components/chart_export.h"
#include "ui/components/window_plugs.h"
#include "ui/diagrams/control_panel.h"
#include "ui/diagrams/diagram_pages.h"
#include "ui/diagrams/options_menu.h"

#include <QDialog>
#include <QString>
#include <QStringList>

#include <functional>

namespace quomble {

class BusyIndicator;

// The diagrams window: boots and crashes per day, boot and crash frequency, on-time per day,
// on-time per daytime, boots, shutdowns and crashes per daytime, and boots and crashes per
// day of the week, on six tab pages over a control panel with the time slot, the trend and
// smoothing widths and the rotation of the daytime axis. Created once at start-up; closing
// only hides it. It fills the charts from the core's points and follows the control panel's
// and the menu's signals; the controls are members of the pages, the panel and the menu by their control
// names.
class TForm5 : public QDialog, public DiagramsWindow {
    Q_OBJECT
public:
    // What the window needs of the main window.
    struct Host {
        // Borrowed for the progress of the on-time curve; may be null.
        QWidget* mainWindow = nullptr;
        // The main window's caption to restore afterwards ("QuombleView " + version).
        QString mainTitle;
        // True until the main window first shows this window.
        std::function<bool()> firstShowPending;
        // Shows the About window modally.
        std::function<void()> showAbout;
    };

    // model: the analysed log (day list and tables built). settings: the main window's
    // values (RotationHours, SmoothRadius, TrendDays, SlotDays, DiagramsPageIndex), which
    // this window keeps up to date while the user changes them.
    TForm5(LogModel& model, Settings& settings, Host host, QWidget* parent = nullptr);
    ~TForm5() override;

    // The least size of the window's inside, in pixels.
    static constexpr int kMinimumWidth = 400;
    static constexpr int kMinimumHeight = 340;

    // --- The main window's plug -----------------------------------------------------------
    void ini_File_read(const std::filesystem::path& iniFile, Settings& settings) override;
    void storeSettings(Settings& settings) const override;
    void showModal() override;
    void PageControl1Change() override;

    // --- Fill operations ------------------------------------------------------------------
    void Series_fuellen();
    void Wtag_fuellen();
    void Verlauf_fuellen();
    void Verlauf_scrollen();
    // The smoothing and standardization of the analysis, with the points they add.
    void BootGlaettung_berechnen();
    void BootverlaufGlaettung_berechnen();
    void Verlauf_normieren();
    static bool check4number(const QString& text) { return ControlPanel::check4number(text); }

    // --- Handlers -------------------------------------------------------------------------
    void TrackBar1Change() { Panel1->TrackBar1Change(); }
    void TrackBar2Change() { Panel1->TrackBar2Change(); }
    void TrackBar3Change() { Panel1->TrackBar3Change(); }
    void ScrollBar1Change() { Panel1->ScrollBar1Change(); }
    void Edit1Change() { Panel1->Edit1Change(); }
    void Edit2Change() { Panel1->Edit2Change(); }
    void Edit3Change() { Panel1->Edit3Change(); }
    void SpeedButton1Click() { Panel1->SpeedButton1Click(); }
    void SpeedButton2Click() { Panel1->SpeedButton2Click(); }
    void FormResize();
    void FormKeyDown(int key);

    // Each switches its option as a click on its menu item does.
    void BootsproTag1Click() { PopupMenu1->BootsproTag1->trigger(); }
    void BootTrendproTag1Click() { PopupMenu1->BootTrendproTag1->trigger(); }
    void CrashsproTag1Click() { PopupMenu1->CrashsproTag1->trigger(); }
    void CrashTrendproTag1Click() { PopupMenu1->CrashTrendproTag1->trigger(); }
    void Bootfrequenz1Click() { PopupMenu1->Bootfrequenz1->trigger(); }
    void BootfrequenzTrend1Click() { PopupMenu1->BootfrequenzTrend1->trigger(); }
    void Crashfrequenz1Click() { PopupMenu1->Crashfrequenz1->trigger(); }
    void CrashfrequenzTrend1Click() { PopupMenu1->CrashfrequenzTrend1->trigger(); }
    void EingeschaltetproTag1Click() { PopupMenu1->EingeschaltetproTag1->trigger(); }
    void EingeschaltetproTagTrend1Click() { PopupMenu1->EingeschaltetproTagTrend1->trigger(); }
    void Boots1Click() { PopupMenu1->Boots1->trigger(); }
    void ShutDowns1Click() { PopupMenu1->ShutDowns1->trigger(); }
    void Crashs1Click() { PopupMenu1->Crashs1->trigger(); }
    void N3DAnsicht1Click() { PopupMenu1->N3DAnsicht1->trigger(); }
    void automatischeYAchsenskalierung1Click() { PopupMenu1->automatischeYAchsenskalierung1->trigger(); }
    void Gestuft1Click() { PopupMenu1->Gestuft1->trigger(); }
    void Normiert1Click() { PopupMenu1->Normiert1->trigger(); }
    void Hilfe1Click();
    void Fensterschliessen2Click() { close(); }
    // "Save chart as...": asks for a file and saves the shown page's chart by its type.
    void SaveChart1Click();
    // "Copy chart": the shown page's chart to the clipboard as an image.
    void CopyChart1Click();

    // The chart of the shown tab page.
    ChartView* shownChart() const;
    // Saves the shown chart as drawn now; false, after the error box, when it failed.
    bool saveShownChart(const QString& path, ChartFileType type);

    // The menu item that holds a stored option, and its click.
    QAction* optionItem(DiagramOption option) const { return PopupMenu1->item(option); }
    void optionClick(DiagramOption option) { optionItem(option)->trigger(); }

    // --- Window state -----------------------------------------------------------------------
    std::int32_t SlotStart = 1;
    std::int32_t& SlotDays() { return settings_.SlotDays; }
    std::int32_t& TrendDays() { return settings_.TrendDays; }
    std::int32_t& SmoothRadius() { return settings_.SmoothRadius; }
    std::int32_t& RotationHours() { return settings_.RotationHours; }

    // --- Controls (the pages, the panel and the menu hold their own by name) ---------------
    DiagramPages* PageControl1 = nullptr;
    ControlPanel* Panel1 = nullptr;
    BusyIndicator* Animate1 = nullptr;
    OptionsMenu* PopupMenu1 = nullptr;

    // The DayLabel of day d: weekday, a blank and the date.
    QString dayLabel(int d) const;
    LogModel& model() { return model_; }

protected:
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void FormCreate();
    void connectControls();
    void layoutWindow();
    void setPanel1Height(int height);
    // The control panel's and the menu's changes.
    void slotDaysChanged(int days);
    void slotStartChanged(int first);
    void trendDaysChanged(int days);
    void smoothRadiusChanged(int minutes);
    void rotate(int step);
    // Tells a screen reader the rotation at the rotation buttons.
    void describeRotation();
    void optionSwitched(int row, bool on);
    // The per-day series, all or only the trends, over the days of the time slot.
    void fillDays(bool trendsOnly);
    void computeDaytimeCurve();
    void setBothCaptions(const QString& caption);
    void setChartsFixedAxes();
    bool firstShowPending() const;

    LogModel& model_;
    Settings& settings_;
    Host host_;
    QStringList dayLabels_;  // index 0 unused
    int panel1Height_ = 0;
    bool creating_ = true;
    bool shownOnce_ = false;  // a window never shown keeps its stored place
};

}  // namespace quomble
