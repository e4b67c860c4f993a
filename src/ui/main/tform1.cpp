#include "ui/main/tform1.h"

#include "core/figures.h"
#include "core/log_lines.h"
#include "core/paths.h"
#include "core/validation.h"
#include "ui/about/tform2.h"
#include "ui/about/version.h"
#include "ui/components/bevelpanel.h"
#include "ui/components/clickablelabel.h"
#include "ui/components/durationgrid.h"
#include "ui/components/labels.h"
#include "ui/components/messages.h"
#include "ui/components/palette.h"
#include "ui/components/texts.h"
#include "ui/components/escape.h"
#include "ui/components/programicon.h"
#include "ui/components/screens.h"
#include "ui/main/figures_format.h"
#include "ui/components/window_plugs.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QContextMenuEvent>
#include <QMenu>
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

TForm1::TForm1(std::string appDir, Clock clock, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      AppDir(std::move(appDir)), model_(std::move(clock))
{
    setObjectName(QStringLiteral("TForm1"));
    setWindowTitle(QStringLiteral("QuombleView"));
    setFont(sansFont(11));
    setFixedSize(kFormWidth, kFormHeight);
    setFocusPolicy(Qt::StrongFocus);
    routeEscape(this, [this](int key) { FormKeyDown(key); });
    setAttribute(Qt::WA_QuitOnClose, true);

    Panel12 = new QWidget(this);
    Panel12->setObjectName(QStringLiteral("Panel12"));
    Panel12->setGeometry(0, 0, kFormWidth, 22);
    Label24 = makeLabel(Panel12, QStringLiteral("Label24"), 14, 3, QString(), {palette::Navy, true, 13});
    setHint(Label24, QStringLiteral("Aktuelles Datum und aktuelle Uhrzeit"));
    labels_[24] = Label24;

    buildFiguresPanel();
    buildTotalsPanel();
    buildMenu();
    flowSentenceLines();

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, &TForm1::Timer1Timer);
}

TForm1::~TForm1() = default;

QLabel* TForm1::addLabel(QWidget* parent, int number, int x, int y, const QString& text, const QColor& color,
                         bool bold)
{
    QLabel* l = makeLabel(parent, QStringLiteral("Label%1").arg(number), x, y, text, {color, bold, 0});
    labels_[number] = l;
    designX_[number] = x;
    return l;
}

QLabel* TForm1::label(int number) const
{
    const auto it = labels_.find(number);
    return it == labels_.end() ? nullptr : it->second;
}

void TForm1::buildFiguresPanel()
{
    Panel1 = new BevelPanel(BevelPanel::Bevel::Lowered, BevelPanel::Bevel::Raised, this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setGeometry(6, 22, 428, 282);
    QWidget* p = Panel1;
    const QString thusBefore = QStringLiteral("o'clock, thus before");

    addLabel(p, 1, 10, 24, QStringLiteral("first log of"), palette::Black, false);
    addLabel(p, 2, 60, 24, QString(), palette::Black, true);
    addLabel(p, 12, 127, 24, QStringLiteral("at"), palette::Black, false);
    addLabel(p, 26, 138, 24, QString(), palette::Black, true);
    addLabel(p, 3, 192, 24, thusBefore, palette::Black, false);

    addLabel(p, 4, 10, 40, QStringLiteral("current boot of"), palette::Navy, false);
    addLabel(p, 5, 82, 40, QString(), palette::Navy, true);
    addLabel(p, 29, 149, 40, QStringLiteral("at"), palette::Navy, false);
    addLabel(p, 30, 160, 40, QString(), palette::Navy, true);
    addLabel(p, 10, 214, 40, thusBefore, palette::Navy, false);

    addLabel(p, 11, 10, 56, QStringLiteral("average OnTime per day"), palette::Green, true);
    addLabel(p, 33, 10, 76, QStringLiteral("longest crash-free OnTime"), palette::Maroon, false);
    addLabel(p, 17, 10, 92, QStringLiteral("average crash-free OnTime"), palette::Maroon, false);
    setHint(label(17), QStringLiteral("results from \"sum of all OnTimes\" per number of crashes "));

    addLabel(p, 13, 10, 108, QStringLiteral("last crash on"), palette::Maroon, false);
    addLabel(p, 14, 74, 108, QString(), palette::Maroon, true);
    addLabel(p, 31, 141, 108, QStringLiteral("at"), palette::Maroon, false);
    addLabel(p, 32, 152, 108, QString(), palette::Maroon, true);
    addLabel(p, 15, 206, 108, thusBefore, palette::Maroon, false);
    addLabel(p, 16, 10, 124, QStringLiteral("difference of last to average"), palette::Maroon, false);

    addLabel(p, 18, 10, 144, QStringLiteral("shortest OnTime"), palette::Green, false);
    addLabel(p, 19, 10, 160, QStringLiteral("average OnTime"), palette::Green, false);
    addLabel(p, 20, 10, 176, QStringLiteral("longest OnTime"), palette::Green, false);
    addLabel(p, 21, 10, 192, QStringLiteral("sum of all OnTimes"), palette::Green, true);
    addLabel(p, 22, 10, 212, QStringLiteral("shortest OffTime"), palette::Red, false);
    addLabel(p, 25, 10, 228, QStringLiteral("average OffTime"), palette::Red, false);
    addLabel(p, 27, 10, 244, QStringLiteral("longest OffTime"), palette::Red, false);
    addLabel(p, 28, 10, 260, QStringLiteral("sum of all OffTimes"), palette::Red, true);
    for (int n : {33, 18, 20, 22, 27})
        label(n)->setToolTipDuration(60000);  // their hints are set at run time

    StringAlignGrid1 = new DurationGrid(4, 16, p);
    StringAlignGrid1->setObjectName(QStringLiteral("StringAlignGrid1"));
    StringAlignGrid1->setGeometry(308, 6, 115, 270);
    StringAlignGrid1->setColumnWidth(0, 40);
    for (int c = 1; c < 4; ++c)
        StringAlignGrid1->setColumnWidth(c, 24);
    connect(StringAlignGrid1, &DurationGrid::clicked, this, &TForm1::StringAlignGrid1Click);
}

void TForm1::buildTotalsPanel()
{
    Panel2 = new BevelPanel(BevelPanel::Bevel::Lowered, BevelPanel::Bevel::Raised, this);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->setGeometry(6, 311, 428, 80);
    QWidget* p = Panel2;
    const QColor plain = palette().color(QPalette::ButtonText);

    addLabel(p, 6, 10, 8, QStringLiteral("Altogether"), plain, false);
    addLabel(p, 23, 10, 8, QString(), palette::Navy, true);
    addLabel(p, 52, 10, 8, QStringLiteral("times booted on"), plain, false);
    addLabel(p, 53, 10, 8, QString(), palette::Navy, true);
    addLabel(p, 54, 10, 8, QStringLiteral("different days."), plain, false);

    addLabel(p, 7, 10, 22, QStringLiteral("That results in a BootIndex of"), plain, false);
    addLabel(p, 55, 10, 22, QString(), palette::Navy, true);
    addLabel(p, 56, 10, 22, QStringLiteral("boots per day."), plain, false);

    addLabel(p, 8, 10, 42, QStringLiteral("Altogether"), plain, false);
    addLabel(p, 57, 10, 42, QString(), palette::Red, true);
    addLabel(p, 58, 10, 42, QStringLiteral("times crashed and"), plain, false);
    addLabel(p, 59, 10, 42, QString(), palette::Navy, true);
    addLabel(p, 60, 10, 42, QStringLiteral("times shutdowned."), plain, false);

    addLabel(p, 9, 10, 56, QStringLiteral("Those are"), plain, false);
    addLabel(p, 61, 10, 56, QString(), palette::Navy, true);
    addLabel(p, 62, 10, 56, QStringLiteral("crashs per boot and"), plain, false);
    addLabel(p, 80, 10, 56, QString(), palette::Navy, true);
    addLabel(p, 81, 10, 56, QStringLiteral("crashs per day."), plain, false);
    relayoutTotals();

    Bevel1 = new BevelPanel(BevelPanel::Bevel::Lowered, BevelPanel::Bevel::None, p);
    Bevel1->setObjectName(QStringLiteral("Bevel1"));
    Bevel1->setFilled(false);
    Bevel1->setGeometry(374, 24, 36, 36);
    Bevel1->hide();

    Image1 = new ClickableLabel(p);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(376, 26, 32, 32);
    Image1->setPixmap(programPixmap(32));
    Image1->setCursor(Qt::PointingHandCursor);
    connect(Image1, &ClickableLabel::clicked, this, &TForm1::Image1Click);
}

void TForm1::buildMenu()
{
    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    auto item = [this](const char* name, const QString& caption, const QKeySequence& shortcut) {
        QAction* a = PopupMenu1->addAction(caption);
        a->setObjectName(QString::fromLatin1(name));
        if (!shortcut.isEmpty()) {
            a->setShortcut(shortcut);
            a->setShortcutContext(Qt::WindowShortcut);
            addAction(a);  // the shortcut works while the menu is closed
        }
        return a;
    };
    Hilfe1 = item("Hilfe1", QStringLiteral("About"), QKeySequence(Qt::Key_F1));
    LogDatei1 = item("LogDatei1", QStringLiteral("view LogData list"), QKeySequence(Qt::Key_F2));
    Diagramm1 = item("Diagramm1", QStringLiteral("view diagrams"), QKeySequence(Qt::Key_F3));
    Stndigaktualisieren1 =
        item("Stndigaktualisieren1", QStringLiteral("permanently update"), QKeySequence(Qt::Key_F12));
    EinstellungenbeimBeendenspeichern1 =
        item("EinstellungenbeimBeendenspeichern1", QStringLiteral("save settings at end"), QKeySequence());
    N1 = PopupMenu1->addSeparator();
    N1->setObjectName(QStringLiteral("N1"));
    Programmbeenden1 = item("Programmbeenden1", QStringLiteral("End QuombleV"), QKeySequence());

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
    model_.DaytimePending = true;

    LogFileName = LogFileNameIn(AppDir);
    IniFileName = settingsFiles_ ? settingsFiles_->write : IniFileNameIn(AppDir);
    IniReadFileName = settingsFiles_ ? settingsFiles_->read : IniFileName;
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

    try {
        setCaption(QStringLiteral("analyzing LogFile... 10%"));
        const std::vector<Finding> findings = LogFileCheck(std::filesystem::path(LogFileName));
        for (std::size_t i = 0; i < findings.size() && i < kFindingBoxes; ++i)
            showError(textFromCore(findings[i].text()), this);
        if (findings.size() > kFindingBoxes)
            showError(QStringLiteral(
                          "... and %1 more findings in the LogFile (quomble-report --json lists them all)")
                          .arg(findings.size() - kFindingBoxes),
                      this);
        setCaption(QStringLiteral("analyzing LogFile... 20%"));
        model_.LogFile_read(std::filesystem::path(LogFileName));
        setCaption(QStringLiteral("analyzing LogFile... 50%"));
        model_.Statistik_aktualisieren();
        setCaption(QStringLiteral("analyzing LogFile... 60%"));
        model_.BC_Array_fuellen();
        settings_.fitToDayCount(model_.DayCount);
        setCaption(QStringLiteral("analyzing LogFile... 100%"));
        Anzeigen();
        Aktualisieren();
    } catch (const std::exception& e) {
        // The intake stops here: the figures stay empty and the timer is not started.
        intakeRunning_ = false;
        const bool memory = dynamic_cast<const std::bad_alloc*>(&e) != nullptr;
        showError(memory ? QStringLiteral("Not enough memory to read the LogFile!") : textFromCore(e.what()),
                  this);
        return true;
    }
    intakeRunning_ = false;
    intakeComplete_ = true;
    applyTimerState();
    return true;
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
    settings_.MainPlace = WindowPlace{pos().x(), pos().y()};
    if (about_)
        settings_.AboutPlace = WindowPlace{about_->pos().x(), about_->pos().y()};
    if (logData_)
        logData_->storeSettings(settings_);
    if (diagrams_)
        diagrams_->storeSettings(settings_);
    try {
        settings_.write(IniFileName, VersionText.toStdString(), settingsWriteCalls_);
    } catch (const std::exception& e) {
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

void TForm1::showFigureRows(int first, int last)
{
    const FigureTable table = figureTable(model_);
    for (int row = first; row <= last; ++row)
        for (int c = 0; c < 4; ++c)
            StringAlignGrid1->setCell(
                c, row,
                QString::fromStdString(table[static_cast<std::size_t>(row)][static_cast<std::size_t>(c)]));
}

void TForm1::Anzeigen()
{
    const LogModel& m = model_;
    const BootRecord& first = m.boot(1);
    const BootRecord& current = m.boot(m.BootCount);
    const BootRecord& sinceCrash = m.summary(StatSinceCrash);
    setLabelText(label(2), datePart(first.LogIn));
    setLabelText(label(26), timePart(first.LogIn));
    setLabelText(label(5), datePart(current.LogIn));
    setLabelText(label(30), timePart(current.LogIn));
    setLabelText(label(14), datePart(sinceCrash.LogIn));
    setLabelText(label(32), timePart(sinceCrash.LogIn));
    flowSentenceLines();

    setHint(label(22), onClockHint(textOf(m.summary(StatMin).LogOut)));
    setHint(label(27), onClockHint(textOf(m.summary(StatMax).LogOut)));

    DurationGrid* g = StringAlignGrid1;
    g->setColumnWidth(0, 40);
    for (int c = 1; c < 4; ++c)
        g->setColumnWidth(c, 24);
    for (int r = 0; r < g->rowCount(); ++r)
        g->setRowHeight(r, 16);
    showFigureRows(0, 0);    // the headings
    showFigureRows(12, 15);  // the off-times, fixed for the run

    for (int c = 0; c < 4; ++c) {
        g->setCellColor(c, 2, palette::Navy);
        g->setCellColor(c, 3, palette::Green);
        g->setCellBold(c, 3, true);
        for (int r = 4; r <= 7; ++r)
            g->setCellColor(c, r, palette::Maroon);
        for (int r = 8; r <= 11; ++r)
            g->setCellColor(c, r, palette::Green);
        g->setCellBold(c, 11, true);
        for (int r = 12; r <= 15; ++r)
            g->setCellColor(c, r, palette::Red);
        g->setCellBold(c, 15, true);
    }
    for (int r : {3, 7, 11})
        g->setRowHeight(r, 20);
    g->clearSelection();

    setLabelText(label(23), QString::number(m.BootCount));
    setLabelText(label(53), QString::number(m.DaysWithOnTime));
    setLabelText(label(55), systemRatioText(m.BootIndex));
    setLabelText(label(57), QString::number(m.CrashCount));
    setLabelText(label(59), QString::number(m.LogoutCount));
    setLabelText(label(61), systemRatioText(m.CrashsPerBoot));
    setLabelText(label(80), systemRatioText(m.CrashsPerDay));
    relayoutTotals();
}

void TForm1::relayoutTotals()
{
    static const int lines[][5] = {
        {6, 23, 52, 53, 54},
        {7, 55, 56, 0, 0},
        {8, 57, 58, 59, 60},
        {9, 61, 62, 80, 81},
    };
    for (const auto& line : lines) {
        QLabel* before = label(line[0]);
        for (int i = 1; i < 5 && line[i] != 0; ++i) {
            QLabel* next = label(line[i]);
            next->move(before->x() + before->width() + 3, next->y());
            before = next;
        }
    }
}

void TForm1::flowSentenceLines()
{
    // Each label keeps its place unless the text before it reaches into it (a wider font
    // than the layout was made for); then it follows 3 pixels after that text.
    static const int lines[][5] = {{1, 2, 12, 26, 3}, {4, 5, 29, 30, 10}, {13, 14, 31, 32, 15}};
    for (const auto& line : lines)
        for (int i = 1; i < 5; ++i) {
            QLabel* before = label(line[i - 1]);
            QLabel* next = label(line[i]);
            const int x = std::max(designX_[line[i]], before->x() + before->width() + 3);
            next->move(x, next->y());
        }
    // A sentence that runs past the table's left edge stays readable over its empty left
    // part (the day column is right-aligned).
    for (const auto& line : lines)
        label(line[4])->raise();
}

void TForm1::centreDateLine()
{
    Label24->move(frameGeometry().width() / 2 - Label24->width() / 2, Label24->y());
}

void TForm1::Aktualisieren()
{
    const LogModel& m = model_;
    const BootRecord& current = m.boot(m.BootCount);
    const QString now = textOf(current.LogOut);
    setLabelText(Label24, dateLineText(textFromCore(Wochentag_ermitteln_lang(current.LogOut.view())), now));
    centreDateLine();

    setHint(label(18), onClockHint(textOf(m.summary(StatMin).LogIn)));
    setHint(label(20), onClockHint(textOf(m.summary(StatMax).LogIn)));
    setHint(label(33), textFromCore(m.Label33Hint));

    showFigureRows(1, 11);  // row 6 shows "-" while there is no crash

    if (m.CrashCount <= 0) {
        setLabelText(label(14), QStringLiteral("-"));
        setLabelText(label(32), QStringLiteral("-"));
        flowSentenceLines();
    }
    const bool overdue = crashFreeWarning(m);
    for (int c = 0; c < 4; ++c)
        StringAlignGrid1->setCellColor(c, 7, overdue ? palette::Red : palette::Maroon);
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

void TForm1::StringAlignGrid1Click() { StringAlignGrid1->clearSelection(); }

void TForm1::FormKeyDown(int key) { closeOnEscape(this, key); }

void TForm1::contextMenuEvent(QContextMenuEvent* event) { PopupMenu1->popup(event->globalPos()); }

void TForm1::closeEvent(QCloseEvent* event)
{
    if (intakeRunning_) {
        event->ignore();  // the intake finishes first
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
    model_.BootList.clear();
    model_.BootList.shrink_to_fit();
    model_.BootCount = 0;
    model_.DayList.clear();
    model_.DayList.shrink_to_fit();
    model_.DayCount = 0;
    if (about_)
        about_->hide();
}

}  // namespace quomble
