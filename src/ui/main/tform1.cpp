#include "ui/main/tform1.h"

#include "core/figures.h"
#include "core/intake.h"
#include "core/log_lines.h"
#include "core/paths.h"
#include "core/summary_text.h"
#include "core/validation.h"
#include "ui/about/tform2.h"
#include "ui/about/version.h"
#include "ui/components/bevelpanel.h"
#include "ui/components/clickablelabel.h"
#include "ui/components/control_name.h"
#include "ui/components/durationgrid.h"
#include "ui/components/labels.h"
#include "ui/components/messages.h"
#include "ui/components/palette.h"
#include "ui/components/texts.h"
#include "ui/components/escape.h"
#include "ui/components/keyboard.h"
#include "ui/components/programicon.h"
#include "ui/components/screens.h"
#include "ui/main/figures_format.h"
#include "ui/main/figures_panel.h"
#include "ui/main/totals_panel.h"
#include "ui/components/window_plugs.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QContextMenuEvent>
#include <QMenu>
#include <QClipboard>
#include <QGuiApplication>
#include <QTimer>

#include <algorithm>
#include <exception>
#include <filesystem>
#include <new>
#include <vector>

namespace quomble {

namespace {

constexpr int kFormWidth = 440;
constexpr int kFormHeight = 397;
// A log of junk lines raises a finding for nearly every line; one box each would keep the
// user clicking for ever. The first ones get a box each, the rest are counted in one more.
constexpr std::size_t kFindingBoxes = 10;

}  // namespace

TForm1::TForm1(ProgramFiles files, Clock clock, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      LogFileName(std::move(files.log)), IniFileName(std::move(files.settings.write)),
      IniReadFileName(std::move(files.settings.read)), model_(std::move(clock))
{
    nameWindow(this);
    setWindowTitle(QStringLiteral("QuombleView"));
    setFont(sansFont(11));
    setFixedSize(kFormWidth, kFormHeight);
    setFocusPolicy(Qt::StrongFocus);
    routeEscape(this, [this](int key) { FormKeyDown(key); });
    setAttribute(Qt::WA_QuitOnClose, true);
    settings_.PlacesKnown = windowPlacesKnown();

    nameControl(this, QUOMBLE_CONTROL(TForm1, Panel12), new QWidget(this));
    Panel12->setGeometry(0, 0, kFormWidth, 22);
    nameControl(this, QUOMBLE_CONTROL(TForm1, Label24),
                makeLabel(Panel12, QString(), 14, 3, QString(), {palette::Navy, true, 13}));
    setHint(Label24, QStringLiteral("Aktuelles Datum und aktuelle Uhrzeit"));

    // The panels make their controls; the window names them.
    nameControl(this, QUOMBLE_CONTROL(TForm1, Panel1), new FiguresPanel(labels_, this));
    nameControl(this, QUOMBLE_CONTROL(TForm1, StringAlignGrid1), Panel1->grid());
    connect(Panel1, &FiguresPanel::gridClicked, this, &TForm1::StringAlignGrid1Click);
    nameControl(this, QUOMBLE_CONTROL(TForm1, Panel2), new TotalsPanel(labels_, this));
    nameControl(this, QUOMBLE_CONTROL(TForm1, Image1), Panel2->icon());
    nameControl(this, QUOMBLE_CONTROL(TForm1, Bevel1), Panel2->iconFrame());
    connect(Panel2, &TotalsPanel::iconClicked, this, &TForm1::Image1Click);
    buildMenu();
    addPopupMenuKeys(this);

    nameControl(this, QUOMBLE_CONTROL(TForm1, Timer1), new QTimer(this));
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, &TForm1::Timer1Timer);
}

TForm1::~TForm1() = default;

QLabel* TForm1::label(int number) const { return number == 24 ? Label24 : labels_[number]; }

void TForm1::buildMenu()
{
    nameControl(this, QUOMBLE_CONTROL(TForm1, PopupMenu1), new QMenu(this));
    auto item = [this](QAction* TForm1::*member, const char* name, const QString& caption,
                       const QKeySequence& shortcut) {
        QAction* a = nameControl(this, member, name, PopupMenu1->addAction(caption));
        if (!shortcut.isEmpty()) {
            a->setShortcut(shortcut);
            a->setShortcutContext(Qt::WindowShortcut);
            addAction(a);  // the shortcut works while the menu is closed
        }
    };
    auto separator = [this](QAction* TForm1::*member, const char* name) {
        nameControl(this, member, name, PopupMenu1->addSeparator());
    };
    item(QUOMBLE_CONTROL(TForm1, Hilfe1), QStringLiteral("About"), QKeySequence(Qt::Key_F1));
    item(QUOMBLE_CONTROL(TForm1, LogDatei1), QStringLiteral("view LogData list"), QKeySequence(Qt::Key_F2));
    item(QUOMBLE_CONTROL(TForm1, Diagramm1), QStringLiteral("view diagrams"), QKeySequence(Qt::Key_F3));
    item(QUOMBLE_CONTROL(TForm1, Stndigaktualisieren1), QStringLiteral("permanently update"),
         QKeySequence(Qt::Key_F12));
    item(QUOMBLE_CONTROL(TForm1, EinstellungenbeimBeendenspeichern1), QStringLiteral("save settings at end"),
         QKeySequence());
    separator(QUOMBLE_CONTROL(TForm1, N1));
    item(QUOMBLE_CONTROL(TForm1, Programmbeenden1), QStringLiteral("End QuombleV"), QKeySequence());
    separator(QUOMBLE_CONTROL(TForm1, N2));
    item(QUOMBLE_CONTROL(TForm1, CopySummary1), QStringLiteral("Copy summary"),
         QKeySequence(Qt::CTRL | Qt::Key_C));
    item(QUOMBLE_CONTROL(TForm1, CrashesItem), QStringLiteral("view crashes and their causes"),
         QKeySequence(Qt::Key_F4));
    CrashesItem->setVisible(false);  // until a crashes window is plugged in

    // The two check marks are the menu's only state; both are set at every start.
    Stndigaktualisieren1->setCheckable(true);
    Stndigaktualisieren1->setChecked(true);
    EinstellungenbeimBeendenspeichern1->setCheckable(true);
    EinstellungenbeimBeendenspeichern1->setChecked(true);

    connect(Hilfe1, &QAction::triggered, this, &TForm1::Hilfe1Click);
    connect(LogDatei1, &QAction::triggered, this, &TForm1::LogDatei1Click);
    connect(Diagramm1, &QAction::triggered, this, &TForm1::Diagramm1Click);
    // A checkable item has already inverted its mark when it reports the trigger.
    connect(Stndigaktualisieren1, &QAction::triggered, this, &TForm1::applyTimerState);
    connect(Programmbeenden1, &QAction::triggered, this, &TForm1::Programmbeenden1Click);
    connect(CopySummary1, &QAction::triggered, this, &TForm1::CopySummary1Click);
    connect(CrashesItem, &QAction::triggered, this, [this] {
        if (openCrashes_)
            openCrashes_();
    });
}

void TForm1::setCrashesWindow(std::function<void()> open)
{
    openCrashes_ = std::move(open);
    CrashesItem->setVisible(static_cast<bool>(openCrashes_));
}

// --- Start-up --------------------------------------------------------------------------

void TForm1::setCaption(const QString& caption)
{
    setWindowTitle(caption);
    // Let the title bar show the progress while the intake works; user input waits.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TForm1::Version_ermitteln()
{
    const FileVersion version = stampedFileVersion();
    VersionText = versionTextOf(version);
    BuildText = buildTextOf(version);
}

bool TForm1::FormCreate()
{
    intakeRunning_ = true;
    // Timestamps are read and written by the core in the fixed forms "dd.mm.yyyy" and
    // "hh:mm:ss", independent of the regional settings, so there is nothing to fix here.
    Version_ermitteln();
    applicationTitle_ = QStringLiteral("QuombleView ") + VersionText;
    setCaption(QStringLiteral("analyzing LogFile... 0%"));
    setWindowIcon(programIcon());
    FirstShowPending = true;

    try {
        // A folder or a pipe in the log's place ends the program like a missing log, but
        // says so; a pipe is never opened, so nothing waits for a writer.
        requireReadableLog(std::filesystem::path(LogFileName));
    } catch (const std::exception& e) {
        showError(textFromCore(e.what()), this);
        intakeRunning_ = false;
        return false;
    }
    ini_File_read();
    show();

    IntakeObserver observer;
    observer.progress = [this](int percent) {
        setCaption(QStringLiteral("analyzing LogFile... %1%").arg(percent));
    };
    observer.findings = [this](const std::vector<Finding>& findings) {
        findings_ = findings;
        showFindings(findings);
    };
    std::optional<std::string> error = runIntake(model_, std::filesystem::path(LogFileName), observer);
    if (!error) {
        settings_.fitToDayCount(model_.DayCount);
        try {
            Anzeigen();
            Aktualisieren();
        } catch (const std::exception& e) {
            error = e.what();
        }
    }
    if (error) {
        // The intake stops here: the figures stay empty and the timer is not started.
        intakeRunning_ = false;
        intakeError_ = error;
        showError(textFromCore(*error), this);
        return true;
    }
    intakeRunning_ = false;
    intakeComplete_ = true;
    applyTimerState();
    return true;
}

void TForm1::showFindings(const std::vector<Finding>& findings)
{
    for (std::size_t i = 0; i < findings.size() && i < kFindingBoxes; ++i)
        showError(textFromCore(findings[i].text()), this);
    if (findings.size() > kFindingBoxes)
        showError(
            QStringLiteral("... and %1 more findings in the LogFile (quomble-report --json lists them all)")
                .arg(findings.size() - kFindingBoxes),
            this);
}

void TForm1::ini_File_read()
{
    settings_.readMain(IniReadFileName);
    if (settings_.MainPlace)
        moveToStoredPlace(this, QPoint(settings_.MainPlace->left, settings_.MainPlace->top));
}

void TForm1::LogDataSettings_read()
{
    if (logData_)
        logData_->ini_File_read(IniReadFileName, settings_);
    else
        settings_.readLogData(IniReadFileName);
}

void TForm1::DiagramsSettings_read()
{
    if (diagrams_)
        diagrams_->ini_File_read(IniReadFileName, settings_);
    else
        settings_.readDiagrams(IniReadFileName);
}

void TForm1::ini_File_write()
{
    settings_.MainPlace =
        settings_.placeAtEnd(settings_.MainPlace, WindowPlace{pos().x(), pos().y()}, isVisible());
    if (about_)
        settings_.AboutPlace = *settings_.placeAtEnd(settings_.AboutPlace,
                                                     WindowPlace{about_->pos().x(), about_->pos().y()}, true);
    if (logData_)
        logData_->storeSettings(settings_);
    if (diagrams_)
        diagrams_->storeSettings(settings_);
    try {
        settings_.write(IniFileName, VersionText.toStdString(), settingsWriteCalls_);
    } catch (const std::exception& e) {
        settingsWriteFailed_ = true;
        if (closingForTheSystem_)
            printMessage(textFromCore(e.what()));
        else
            showError(textFromCore(e.what()), this);
    }
}

void TForm1::setAboutWindow(TForm2* about)
{
    about_ = about;
    if (about_)
        connect(about_, &TForm2::closed, Bevel1, &QWidget::hide);
}

// --- Figures -------------------------------------------------------------------------

void TForm1::Anzeigen()
{
    Panel1->showFixed(model_);
    Panel2->showTotals(model_);
}

void TForm1::centreDateLine()
{
    Label24->move(frameGeometry().width() / 2 - Label24->width() / 2, Label24->y());
}

void TForm1::Aktualisieren()
{
    const BootRecord& current = model_.boot(model_.BootCount);
    setLabelText(Label24, dateLineText(textFromCore(Wochentag_ermitteln_lang(current.LogOut.view())),
                                       textOf(current.LogOut)));
    centreDateLine();
    Panel1->showLive(model_);
}

// --- Handlers --------------------------------------------------------------------------

void TForm1::Timer1Timer()
{
    if (!intakeComplete_)
        return;
    try {
        model_.Statistik_aktualisieren();
        Aktualisieren();
    } catch (const std::exception& e) {
        Timer1->stop();
        showError(textFromCore(e.what()), this);
    }
}

void TForm1::pauseLiveUpdate(bool paused)
{
    livePaused_ = paused;
    applyTimerState();
}

void TForm1::applyTimerState()
{
    if (Stndigaktualisieren1->isChecked() && intakeComplete_ && !livePaused_)
        Timer1->start();
    else
        Timer1->stop();
}

void TForm1::Hilfe1Click()
{
    if (about_)
        about_->showModal();
}

void TForm1::Image1Click()
{
    Bevel1->show();
    if (about_)
        about_->showModal();
    else
        Bevel1->hide();
}

void TForm1::LogDatei1Click()
{
    if (logData_)
        logData_->showModal();
}

void TForm1::Diagramm1Click()
{
    if (!diagrams_)
        return;
    if (FirstShowPending)
        diagrams_->PageControl1Change();
    FirstShowPending = false;
    diagrams_->showModal();
}

void TForm1::Stndigaktualisieren1Click() { Stndigaktualisieren1->trigger(); }

void TForm1::EinstellungenbeimBeendenspeichern1Click() { EinstellungenbeimBeendenspeichern1->trigger(); }

void TForm1::Programmbeenden1Click() { close(); }

bool TForm1::closeForTheSystem()
{
    closingForTheSystem_ = true;
    const bool closedNow = close();
    closingForTheSystem_ = false;
    return closedNow;
}

QString TForm1::summaryText() const
{
    // Before the intake has ended the log is not read yet: nothing to copy.
    if (!intakeComplete_ && !intakeError_)
        return {};
    return textFromCore(quomble::summaryText(model_, LogFileName, findings_, intakeError_));
}

void TForm1::CopySummary1Click()
{
    const QString text = summaryText();
    if (!text.isEmpty())
        QGuiApplication::clipboard()->setText(text);
}

void TForm1::StringAlignGrid1Click() { StringAlignGrid1->clearSelection(); }

void TForm1::FormKeyDown(int key) { closeOnEscape(this, key); }

void TForm1::contextMenuEvent(QContextMenuEvent* event) { PopupMenu1->popup(popupPlace(this, event)); }

void TForm1::closeEvent(QCloseEvent* event)
{
    if (intakeRunning_ || livePaused_) {
        event->ignore();  // the intake, or a sort that reads the lists, finishes first
        return;
    }
    if (!closed_) {
        closed_ = true;
        FormClose();
    }
    event->accept();
}

void TForm1::FormClose()
{
    Timer1->stop();
    if (EinstellungenbeimBeendenspeichern1->isChecked())
        ini_File_write();
    // Release both lists with all their records.
    intakeComplete_ = false;
    model_.release();
    if (about_)
        about_->hide();
}

}  // namespace quomble
