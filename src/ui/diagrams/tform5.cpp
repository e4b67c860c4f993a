#include "ui/diagrams/tform5.h"

#include "core/series_points.h"
#include "ui/components/busyindicator.h"
#include "ui/components/chartview.h"
#include "ui/components/control_name.h"
#include "ui/components/escape.h"
#include "ui/components/file_export.h"
#include "ui/components/keyboard.h"
#include "ui/components/palette.h"
#include "ui/components/programicon.h"
#include "ui/components/screens.h"
#include "ui/components/texts.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QScrollBar>
#include <QSlider>
#include <QTabWidget>

#include <algorithm>
#include <tuple>

namespace quomble {

TForm5::TForm5(LogModel& model, Settings& settings, Host host, QWidget* parent)
    : QDialog(parent), model_(model), settings_(settings), host_(std::move(host))
{
    nameWindow(this);
    setWindowTitle(QStringLiteral("Diagrams"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
    setModal(true);
    resize(620, 420);
    // The least size at which the charts show their legends whole, a readable plot and the
    // controls below it.
    setMinimumSize(kMinimumWidth, kMinimumHeight);
    // The window's design font is 8 points at 96 pixels per inch: 11 pixels.
    QFont small = font();
    small.setPixelSize(11);
    setFont(small);
    nameControl(this, QUOMBLE_CONTROL(TForm5, PageControl1), new DiagramPages(this));
    nameControl(this, QUOMBLE_CONTROL(TForm5, Panel1), new ControlPanel(this));
    nameControl(this, QUOMBLE_CONTROL(TForm5, Animate1), new BusyIndicator(this));
    Animate1->hide();
    Animate1->setAccessibleName(QStringLiteral("Computing the on-time per daytime"));
    nameControl(this, QUOMBLE_CONTROL(TForm5, PopupMenu1), new OptionsMenu(this));
    connectControls();
    routeEscape(this, [this](int key) { FormKeyDown(key); });
    addPageKeys(this, PageControl1);
    addPopupMenuKeys(this);
    FormCreate();
}

TForm5::~TForm5() = default;

// --- Construction ------------------------------------------------------------------------------

void TForm5::connectControls()
{
    connect(Panel1, &ControlPanel::slotDaysChanged, this, &TForm5::slotDaysChanged);
    connect(Panel1, &ControlPanel::slotStartChanged, this, &TForm5::slotStartChanged);
    connect(Panel1, &ControlPanel::trendDaysChanged, this, &TForm5::trendDaysChanged);
    connect(Panel1, &ControlPanel::smoothRadiusChanged, this, &TForm5::smoothRadiusChanged);
    connect(Panel1, &ControlPanel::rotated, this, &TForm5::rotate);
    connect(PopupMenu1, &OptionsMenu::optionSwitched, this, &TForm5::optionSwitched);
    connect(PopupMenu1, &OptionsMenu::aboutRequested, this, &TForm5::Hilfe1Click);
    connect(PopupMenu1, &OptionsMenu::closeRequested, this, &TForm5::Fensterschliessen2Click);
    connect(PopupMenu1, &OptionsMenu::saveChartRequested, this, &TForm5::SaveChart1Click);
    connect(PopupMenu1, &OptionsMenu::copyChartRequested, this, &TForm5::CopyChart1Click);
}

void TForm5::FormCreate()
{
    creating_ = true;
    // Stored values outside their ranges are brought into them before anything uses them.
    settings_.clampToRanges();
    settings_.fitToDayCount(model_.DayCount);
    dayLabels_.reserve(std::max(model_.DayCount, 0) + 1);
    dayLabels_.append(QString());
    for (int d = 1; d <= model_.DayCount; ++d)
        dayLabels_.append(textOf(model_.day(d).Weekday) + QLatin1Char(' ') + textOf(model_.day(d).Date));

    // The icon, and the first page while the charts are filled.
    setWindowIcon(programIcon());
    PageControl1->setCurrentWidget(PageControl1->TabSheet1);
    // The time slot starts at the first day.
    SlotStart = 1;
    // The charts: daytime curve, smoothed daytime lines, trends, per-day and weekday series.
    Verlauf_fuellen();
    BootverlaufGlaettung_berechnen();
    BootGlaettung_berechnen();
    Series_fuellen();
    Verlauf_scrollen();
    Wtag_fuellen();
    // The fixed value axes of the per-day charts.
    setChartsFixedAxes();
    // The control panel's ranges and positions: a trend wider than the log is used as stored
    // while the controls show the day count.
    Panel1->setUp(model_.DayCount, settings_.SlotDays, settings_.SmoothRadius,
                  settings_.shownTrendDays(model_.DayCount));
    setPanel1Height(Panel1->showRows(ControlPanel::Rows::TimeSlot));
    describeRotation();
    // The legends in the buttons' colour (again at every change of the desktop's scheme).
    PageControl1->setLegendColor(palette::chartLegendColor(palette()));
    // The stored page; from now on a tab switch runs its handler.
    PageControl1->setCurrentIndex(settings_.DiagramsPageIndex);
    connect(PageControl1, &QTabWidget::currentChanged, this, [this] {
        if (!creating_)
            PageControl1Change();
    });
    creating_ = false;
    layoutWindow();
}

bool TForm5::firstShowPending() const { return host_.firstShowPending ? host_.firstShowPending() : false; }

QString TForm5::dayLabel(int d) const { return d >= 1 && d < dayLabels_.size() ? dayLabels_[d] : QString(); }

// --- Fill operations ---------------------------------------------------------------------------

void TForm5::fillDays(bool trendsOnly)
{
    const DaySlot slot = daySlot(SlotStart, settings_.SlotDays, model_.DayCount);
    PageControl1->fillDays(model_, slot, dayLabels_.mid(slot.first, slot.count), trendsOnly);
}

void TForm5::Series_fuellen() { fillDays(false); }

void TForm5::Wtag_fuellen() { PageControl1->fillWeekdays(model_); }

void TForm5::Verlauf_fuellen()
{
    DiagramPages::appendMinutes(PageControl1->Series7, model_.Verlauf, model_.Verlauf);
}

void TForm5::Verlauf_scrollen()
{
    // The daytime axis turned by RotationHours; a line switched off keeps its old points.
    const int hours = settings_.RotationHours;
    const MinuteTable& curve = PopupMenu1->Normiert1->isChecked() ? model_.VerlaufNormiert : model_.Verlauf;
    PageControl1->Series7->clear();
    DiagramPages::appendMinutes(PageControl1->Series7, turnedTable(curve, hours),
                                turnedTable(model_.Verlauf, hours));
    const std::tuple<QAction*, ChartSeries*, const MinuteTable*> lines[] = {
        {PopupMenu1->Boots1, PageControl1->Series6, &model_.BootverlaufGlatt},
        {PopupMenu1->ShutDowns1, PageControl1->Series11, &model_.ShutdownverlaufGlatt},
        {PopupMenu1->Crashs1, PageControl1->Series12, &model_.CrashverlaufGlatt},
    };
    for (const auto& [item, series, table] : lines) {
        if (!item->isChecked())
            continue;
        const MinuteTable turned = turnedTable(*table, hours);
        series->clear();
        DiagramPages::appendMinutes(series, turned, turned);
    }
}

void TForm5::BootGlaettung_berechnen() { model_.BootGlaettung_berechnen(settings_.TrendDays); }

void TForm5::BootverlaufGlaettung_berechnen()
{
    model_.BootverlaufGlaettung_berechnen(settings_.SmoothRadius);
    DiagramPages::appendMinutes(PageControl1->Series6, model_.BootverlaufGlatt, model_.BootverlaufGlatt);
    DiagramPages::appendMinutes(PageControl1->Series11, model_.ShutdownverlaufGlatt,
                                model_.ShutdownverlaufGlatt);
    DiagramPages::appendMinutes(PageControl1->Series12, model_.CrashverlaufGlatt, model_.CrashverlaufGlatt);
}

void TForm5::Verlauf_normieren() { model_.Verlauf_normieren(); }

// --- Control panel -----------------------------------------------------------------------------

void TForm5::slotDaysChanged(int days)
{
    if (firstShowPending())
        return;
    Panel1->ScrollBar1->setValue(1);
    PageControl1->clearDays(false);
    settings_.SlotDays = days;
    SlotStart = 1;
    Series_fuellen();
    Panel1->setSlotPositions(model_.DayCount, settings_.SlotDays);
    Panel1->ScrollBar1->setValue(Panel1->ScrollBar1->maximum());
}

void TForm5::slotStartChanged(int first)
{
    PageControl1->clearDays(false);
    SlotStart = first;
    Series_fuellen();
    const DaySlot slot = daySlot(SlotStart, settings_.SlotDays, model_.DayCount);
    Panel1->ScrollBar1->setAccessibleDescription(
        QStringLiteral("Shows %1 to %2").arg(dayLabel(slot.first), dayLabel(slot.first + slot.count - 1)));
}

void TForm5::trendDaysChanged(int days)
{
    if (firstShowPending())
        return;
    settings_.TrendDays = days;
    PageControl1->clearDays(true);
    BootGlaettung_berechnen();
    fillDays(true);
}

void TForm5::smoothRadiusChanged(int minutes)
{
    if (firstShowPending())
        return;
    settings_.SmoothRadius = minutes;
    for (ChartSeries* s : {PageControl1->Series6, PageControl1->Series11, PageControl1->Series12})
        s->clear();
    BootverlaufGlaettung_berechnen();
    Verlauf_scrollen();
}

void TForm5::rotate(int step)
{
    settings_.RotationHours = rotationStep(settings_.RotationHours, step);
    Verlauf_scrollen();
    describeRotation();
}

void TForm5::describeRotation()
{
    const int hours = settings_.RotationHours;
    const QString now =
        QStringLiteral("The daytime axis is turned by %1 %2")
            .arg(hours)
            .arg(hours == 1 || hours == -1 ? QStringLiteral("hour") : QStringLiteral("hours"));
    Panel1->SpeedButton1->setAccessibleDescription(now);
    Panel1->SpeedButton2->setAccessibleDescription(now);
}

void TForm5::setPanel1Height(int height)
{
    panel1Height_ = height;
    layoutWindow();
}

void TForm5::layoutWindow()
{
    const int panel = std::min(panel1Height_, height());
    PageControl1->setGeometry(0, 0, width(), height() - panel);
    Panel1->setGeometry(0, height() - panel, width(), panel);
    FormResize();
}

void TForm5::FormResize()
{
    Panel1->layoutRows();
    // Centred in the window, whose page control and panel it takes the place of.
    Animate1->move((width() - Animate1->width()) / 2, (height() - Animate1->height()) / 2);
}

void TForm5::changeEvent(QEvent* event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        PageControl1->setLegendColor(palette::chartLegendColor(palette()));
}

void TForm5::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    layoutWindow();
}

void TForm5::hideEvent(QHideEvent* event)
{
    QDialog::hideEvent(event);
    keepPlaceForNextShowing(this);
}

// --- Menu ----------------------------------------------------------------------------------

void TForm5::optionSwitched(int row, bool on)
{
    const DiagramOptionRow& option = kDiagramOptionRows[static_cast<std::size_t>(row)];
    if (option.redrawsDaytime)
        Verlauf_scrollen();
    if (option.series)
        (PageControl1->*option.series)->setActive(on);
    if (option.stored == DiagramOption::View3D) {
        PageControl1->setView3D(on);
    } else if (option.stored == DiagramOption::AutosizeYAxis) {
        if (on) {
            PageControl1->Chart1->setValueAxisAutomatic();
            PageControl1->Chart6->setValueAxisAutomatic();
        } else {
            setChartsFixedAxes();
        }
    } else if (option.stored == DiagramOption::Stepped) {
        PageControl1->Series7->setStepped(on);
    }
}

void TForm5::setChartsFixedAxes()
{
    PageControl1->Chart1->setValueAxisFixed(model_.MaxBootsPerDay);
    PageControl1->Chart6->setValueAxisFixed(model_.MaxBootFrequency);
}

void TForm5::Hilfe1Click()
{
    if (host_.showAbout)
        host_.showAbout();
}

ChartView* TForm5::shownChart() const
{
    QWidget* page = PageControl1->currentWidget();
    return page ? page->findChild<ChartView*>() : nullptr;
}

bool TForm5::saveShownChart(const QString& path, ChartFileType type)
{
    ChartView* chart = shownChart();
    return chart && saveExportFile(path, chartFileBytes(chart, type), this);
}

void TForm5::SaveChart1Click()
{
    if (!shownChart())
        return;
    static const QList<ExportFileType> kTypes = {
        {QStringLiteral("PNG image (*.png)"), QStringLiteral("png")},
        {QStringLiteral("PNG image, double size (*.png)"), QStringLiteral("png")},
        {QStringLiteral("SVG image (*.svg)"), QStringLiteral("svg")},
        {QStringLiteral("PDF document (*.pdf)"), QStringLiteral("pdf")},
    };
    const QString title = PageControl1->tabText(PageControl1->currentIndex());
    const auto choice = askExportFile(this, QStringLiteral("Save chart as"),
                                      exportFileName(title, QStringLiteral("png")), kTypes);
    if (choice)
        saveShownChart(choice->path, static_cast<ChartFileType>(choice->type));
}

void TForm5::CopyChart1Click()
{
    if (ChartView* chart = shownChart())
        QGuiApplication::clipboard()->setImage(chartImage(chart));
}

void TForm5::FormKeyDown(int key) { closeOnEscape(this, key); }

void TForm5::contextMenuEvent(QContextMenuEvent* event) { PopupMenu1->popup(popupPlace(this, event)); }

// --- Tabs ----------------------------------------------------------------------------------

void TForm5::PageControl1Change()
{
    const int index = PageControl1->currentIndex();
    if (index < 0)
        return;
    setPanel1Height(Panel1->showRows(kDiagramPageRows[static_cast<std::size_t>(index)].panelRows));
    PopupMenu1->showTab(index);
    if (PageControl1->currentWidget() == PageControl1->TabSheet4 && model_.DaytimePending)
        computeDaytimeCurve();
}

void TForm5::setBothCaptions(const QString& caption)
{
    if (host_.mainWindow)
        host_.mainWindow->setWindowTitle(caption);
    setWindowTitle(caption);
}

void TForm5::computeDaytimeCurve()
{
    PageControl1->hide();
    Panel1->hide();
    Animate1->show();
    Animate1->raise();
    Animate1->start();
    if (isVisible())
        repaint();

    model_.Verlauf_berechnen([this](int percent) {
        setBothCaptions(QStringLiteral("calculating diagrams... ") + QString::number(percent) +
                        QLatin1Char('%'));
    });
    if (host_.mainWindow)
        host_.mainWindow->setWindowTitle(host_.mainTitle);
    setWindowTitle(QStringLiteral("Diagrams"));

    Verlauf_scrollen();
    Verlauf_normieren();

    Animate1->stop();
    Animate1->hide();
    PageControl1->show();
    Panel1->show();
}

// --- Settings and showing ----------------------------------------------------------------------

void TForm5::ini_File_read(const std::filesystem::path& iniFile, Settings& settings)
{
    settings.readDiagrams(iniFile, [this](DiagramOption option) { optionClick(option); });
    applyStoredFrame(this, settings.DiagramsRect, kDiagramsMinSize);
}

void TForm5::storeSettings(Settings& settings) const
{
    const WindowPlace place =
        *settings.placeAtEnd(WindowPlace{settings.DiagramsRect.left, settings.DiagramsRect.top},
                             WindowPlace{x(), y()}, shownOnce_);
    settings.DiagramsRect = WindowRect{place.left, place.top, width(), height()};
    settings.DiagramsPageIndex = PageControl1->currentIndex();
    for (int i = 0; i < kDiagramOptionCount; ++i)
        settings.Options[static_cast<std::size_t>(i)] =
            optionItem(static_cast<DiagramOption>(i))->isChecked();
}

void TForm5::showModal() { exec(); }

void TForm5::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    shownOnce_ = true;
}

}  // namespace quomble
