#pragma once

#include "core/datetime.h"
#include "core/model.h"
#include "core/paths.h"
#include "core/settings.h"
#include "core/validation.h"
#include "ui/main/label_set.h"

#include <QString>
#include <QWidget>

#include <functional>

#include <map>
#include <optional>
#include <string>

class QAction;
class QLabel;
class QMenu;
class QTimer;

namespace quomble {

class BevelPanel;
class ClickableLabel;
class DiagramsWindow;
class DurationGrid;
class FiguresPanel;
class SecondaryWindow;
class TForm2;
class TotalsPanel;

// The main window: the date line, the figures panel with its duration table, the totals
// panel, the one-second live update and the popup menu. It owns the log data and the
// settings; closing it ends the program.
class TForm1 : public QWidget {
    Q_OBJECT
public:
    // files: the log and the settings files, resolved by the start-up. clock: "now" for
    // the log reader and the live update.
    TForm1(ProgramFiles files, Clock clock, QWidget* parent = nullptr);
    ~TForm1() override;

    // The creation handler: the whole intake, with its progress in the caption. Returns
    // false when the program is to end at once (no log file); the window is then not shown.
    bool FormCreate();
    // True once the intake ran to its end and the figures are filled.
    bool intakeComplete() const { return intakeComplete_; }

    // --- Operations -----------------------------------------------------------------
    void Version_ermitteln();
    void ini_File_read();
    // Reports a file it cannot write in an error box, or on stderr while the system ends
    // the program (nobody may be there to close a box).
    void ini_File_write();
    // True once the settings could not be written; the program then ends with status 1.
    bool settingsWriteFailed() const { return settingsWriteFailed_; }
    // Closes the window at the system's request (a shutdown, a signal, the session's end):
    // as the close box does, but a failure is reported without waiting for anybody.
    // False while the window refuses to close (the intake or a sort is still running).
    bool closeForTheSystem();
    // The system calls through which the settings reach the disk (a test fills the disk).
    void setSettingsWriteCalls(SettingsWriteCalls calls) { settingsWriteCalls_ = std::move(calls); }
    void Anzeigen();
    void Aktualisieren();

    // --- Handlers -------------------------------------------------------------------
    void Timer1Timer();
    void Hilfe1Click();
    void Image1Click();
    void LogDatei1Click();
    void Diagramm1Click();
    void Stndigaktualisieren1Click();
    void EinstellungenbeimBeendenspeichern1Click();
    void Programmbeenden1Click();
    // "Copy summary": the summary as the report tool prints it, to the clipboard.
    void CopySummary1Click();
    QString summaryText() const;
    void StringAlignGrid1Click();
    void FormKeyDown(int key);

    // --- The other windows ------------------------------------------------------------
    void setAboutWindow(TForm2* about);
    // Until a window is plugged in, its settings keys are kept as read and written back.
    void setLogDataWindow(SecondaryWindow* window) { logData_ = window; }
    // The crashes window, opened by its menu item (F4); without one the item is hidden.
    void setCrashesWindow(std::function<void()> open);
    void setDiagramsWindow(DiagramsWindow* window) { diagrams_ = window; }
    // The settings readers of the log data and diagrams windows (program entry).
    void LogDataSettings_read();
    void DiagramsSettings_read();
    // While another window works on the log data beside the window's thread (a sort),
    // the live update waits, so the running boot does not change under it.
    void pauseLiveUpdate(bool paused);

    // --- Shared values ------------------------------------------------------------------
    LogModel& model() { return model_; }
    const LogModel& model() const { return model_; }
    // RotationHours, SmoothRadius, TrendDays, SlotDays, the page indexes and all keys.
    Settings& settings() { return settings_; }
    const QString& applicationTitle() const { return applicationTitle_; }

    QString VersionText;
    QString BuildText;
    const std::string LogFileName;
    const std::string IniFileName;      // written at the end
    const std::string IniReadFileName;  // read at start-up; a system-wide default until the user has his own
    bool FirstShowPending = true;

    // --- Controls -----------------------------------------------------------------------
    QLabel* label(int number) const;
    QWidget* Panel12 = nullptr;
    QLabel* Label24 = nullptr;
    FiguresPanel* Panel1 = nullptr;
    TotalsPanel* Panel2 = nullptr;
    DurationGrid* StringAlignGrid1 = nullptr;
    ClickableLabel* Image1 = nullptr;
    BevelPanel* Bevel1 = nullptr;
    QTimer* Timer1 = nullptr;
    QMenu* PopupMenu1 = nullptr;
    QAction* Hilfe1 = nullptr;
    QAction* LogDatei1 = nullptr;
    QAction* Diagramm1 = nullptr;
    QAction* Stndigaktualisieren1 = nullptr;
    QAction* EinstellungenbeimBeendenspeichern1 = nullptr;
    QAction* N1 = nullptr;
    QAction* Programmbeenden1 = nullptr;
    QAction* N2 = nullptr;
    QAction* CopySummary1 = nullptr;
    QAction* CrashesItem = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void buildMenu();
    void FormClose();
    void setCaption(const QString& caption);
    void showFindings(const std::vector<Finding>& findings);
    void applyTimerState();
    void centreDateLine();

    LogModel model_;
    Settings settings_;
    SettingsWriteCalls settingsWriteCalls_;
    QString applicationTitle_;
    LabelSet labels_;  // the numbered labels of both panels
    TForm2* about_ = nullptr;
    std::function<void()> openCrashes_;
    SecondaryWindow* logData_ = nullptr;
    DiagramsWindow* diagrams_ = nullptr;
    bool intakeRunning_ = false;
    bool intakeComplete_ = false;
    bool closed_ = false;
    bool closingForTheSystem_ = false;
    bool settingsWriteFailed_ = false;
    bool livePaused_ = false;
    std::vector<Finding> findings_;           // of the log check at start-up
    std::optional<std::string> intakeError_;  // where the intake stopped
};

}  // namespace quomble
