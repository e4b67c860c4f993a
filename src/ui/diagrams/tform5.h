#pragma once

#include "core/model.h"
#include "core/settings.h"
#include "ui/components/window_plugs.h"

#include <QDialog>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QScrollBar;
class QSlider;
class QTabWidget;
class QToolButton;

namespace quomble {

class BusyIndicator;
class ChartSeries;
class ChartView;

// The diagrams window: boots and crashes per day, boot and crash frequency, on-time per day,
// on-time per daytime, boots, shutdowns and crashes per daytime, and boots and crashes per
// day of the week, on six tab pages over a control panel with the time slot, the trend and
// smoothing widths and the rotation of the daytime axis. Created once at start-up; closing
// only hides it.
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
    static bool check4number(const QString& text);

    // --- Handlers -------------------------------------------------------------------------
    void TrackBar1Change();
    void TrackBar2Change();
    void TrackBar3Change();
    void ScrollBar1Change();
    void Edit1Change();
    void Edit2Change();
    void Edit3Change();
    void SpeedButton1Click();
    void SpeedButton2Click();
    void FormResize();
    void FormKeyDown(int key);

    void BootsproTag1Click();
    void BootTrendproTag1Click();
    void CrashsproTag1Click();
    void CrashTrendproTag1Click();
    void Bootfrequenz1Click();
    void BootfrequenzTrend1Click();
    void Crashfrequenz1Click();
    void CrashfrequenzTrend1Click();
    void EingeschaltetproTag1Click();
    void EingeschaltetproTagTrend1Click();
    void Boots1Click();
    void ShutDowns1Click();
    void Crashs1Click();
    void N3DAnsicht1Click();
    void automatischeYAchsenskalierung1Click();
    void Gestuft1Click();
    void Normiert1Click();
    void Hilfe1Click();
    void Fensterschliessen2Click();

    // The click handler of the menu item that holds an option.
    void optionClick(DiagramOption option);
    QAction* optionItem(DiagramOption option) const;

    // --- Window state -----------------------------------------------------------------------
    std::int32_t SlotStart = 1;
    std::int32_t& SlotDays() { return settings_.SlotDays; }
    std::int32_t& TrendDays() { return settings_.TrendDays; }
    std::int32_t& SmoothRadius() { return settings_.SmoothRadius; }
    std::int32_t& RotationHours() { return settings_.RotationHours; }

    // --- Controls ---------------------------------------------------------------------------
    QTabWidget* PageControl1 = nullptr;
    QWidget* TabSheet1 = nullptr;
    QWidget* TabSheet2 = nullptr;
    QWidget* TabSheet3 = nullptr;
    QWidget* TabSheet4 = nullptr;
    QWidget* TabSheet5 = nullptr;
    QWidget* TabSheet6 = nullptr;
    ChartView* Chart1 = nullptr;
    ChartView* Chart2 = nullptr;
    ChartView* Chart3 = nullptr;
    ChartView* Chart4 = nullptr;
    ChartView* Chart5 = nullptr;
    ChartView* Chart6 = nullptr;
    ChartSeries* Series1 = nullptr;
    ChartSeries* Series2 = nullptr;
    ChartSeries* Series3 = nullptr;
    ChartSeries* Series4 = nullptr;
    ChartSeries* Series5 = nullptr;
    ChartSeries* Series6 = nullptr;
    ChartSeries* Series7 = nullptr;
    ChartSeries* Series8 = nullptr;
    ChartSeries* Series9 = nullptr;
    ChartSeries* Series10 = nullptr;
    ChartSeries* Series11 = nullptr;
    ChartSeries* Series12 = nullptr;
    ChartSeries* Series13 = nullptr;
    ChartSeries* Series14 = nullptr;
    ChartSeries* Series15 = nullptr;
    ChartSeries* Series16 = nullptr;

    QWidget* Panel1 = nullptr;
    QWidget* Panel2 = nullptr;
    QWidget* Panel3 = nullptr;
    QWidget* Panel4 = nullptr;
    QWidget* Panel5 = nullptr;
    QWidget* Panel6 = nullptr;
    QWidget* Panel7 = nullptr;
    QWidget* Panel8 = nullptr;
    QScrollBar* ScrollBar1 = nullptr;
    QSlider* TrackBar1 = nullptr;
    QSlider* TrackBar2 = nullptr;
    QSlider* TrackBar3 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QLineEdit* Edit2 = nullptr;
    QLineEdit* Edit3 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label7 = nullptr;
    QToolButton* SpeedButton1 = nullptr;
    QToolButton* SpeedButton2 = nullptr;
    BusyIndicator* Animate1 = nullptr;

    QMenu* PopupMenu1 = nullptr;
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

    // The DayLabel of day d: weekday, a blank and the date.
    QString dayLabel(int d) const;
    LogModel& model() { return model_; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void FormCreate();
    void buildPages();
    void buildControlPanel();
    void buildMenu();
    void clampStoredValues();
    void layoutWindow();
    void setPanel1Height(int height);
    void clearPerDaySeries();
    void addTrendPoints();
    void computeDaytimeCurve();
    void setBothCaptions(const QString& caption);
    void setChartsFixedAxes();
    bool firstShowPending() const;
    QAction* addOption(QMenu* menu, const char* name, const QString& caption, bool checked, bool visible,
                       void (TForm5::*handler)());
    static void toggle(QAction* item);
    void showLine(QAction* item, ChartSeries* series);

    LogModel& model_;
    Settings& settings_;
    Host host_;
    QStringList dayLabels_;  // index 0 unused
    int panel1Height_ = 0;
    bool creating_ = true;
};

}  // namespace quomble
