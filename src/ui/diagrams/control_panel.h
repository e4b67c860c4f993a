#pragma once

#include <QString>
#include <QWidget>

class QLabel;
class QLineEdit;
class QScrollBar;
class QSlider;
class QToolButton;

namespace quomble {

// The controls of the diagrams window's control panel, by their control names.
struct ControlPanelControls {
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
};

// The panel under the diagrams (Panel1): the scroll bar of the time slot, the track bars
// and edit boxes of the slot, trend and smoothing widths, and the rotation buttons, in rows
// that the tab pages show or hide. A track bar shows its value in its edit box; a typed
// value goes to the track bar when it is a number within the bar's range. It reports the
// user's changes by its signals and computes nothing.
class ControlPanel : public QWidget, public ControlPanelControls {
    Q_OBJECT
public:
    // The rows a tab page shows.
    enum class Rows { TimeSlot, SmoothingAndRotation, Rotation, None };

    explicit ControlPanel(QWidget* parent);

    // The ranges and positions at start; the changes signal as the user's would.
    void setUp(int dayCount, int slotDays, int smoothRadius, int trendDays);
    // The scroll positions of a slot of `slotDays` days.
    void setSlotPositions(int dayCount, int slotDays);
    // Shows the rows of a tab page; returns the height the panel then needs.
    int showRows(Rows rows);
    // Shares the rows' widths in halves of the panel's width.
    void layoutRows();

    // True for a text of digits only (at least one).
    static bool check4number(const QString& text);

    void TrackBar1Change();
    void TrackBar2Change();
    void TrackBar3Change();
    void ScrollBar1Change();
    void Edit1Change();
    void Edit2Change();
    void Edit3Change();
    void SpeedButton1Click();
    void SpeedButton2Click();

signals:
    void slotDaysChanged(int days);
    void slotStartChanged(int first);
    void smoothRadiusChanged(int minutes);
    void trendDaysChanged(int days);
    // -1: one hour to the left ("<"), +1: to the right (">").
    void rotated(int step);
};

}  // namespace quomble
