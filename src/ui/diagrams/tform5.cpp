#include "ui/diagrams/tform5.h"

#include "ui/components/screens.h"

#include "ui/components/busyindicator.h"
#include "ui/components/chartview.h"
#include "ui/components/programicon.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QScrollBar>
#include <QSlider>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace quomble {

namespace {

constexpr int kPanel7Height = 46;
constexpr int kRowHeight = 24;
constexpr int kHintDuration = 60000;

const QColor kLime(0, 255, 0);
const QColor kGreen(0, 128, 0);
const QColor kRed(255, 0, 0);
const QColor kBlue(0, 0, 255);
const QColor kCrashTrend(255, 0, 128);

QString textOf(std::string_view text)
{
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

// The minute shown at position m of the daytime axis when it is turned by `hours`: one
// correction each way, by 1440 and not 1441.
int rotatedMinute(int m, int hours)
{
    int p = m - 60 * hours;
    if (p < 0)
        p += MinutesPerDay;
    if (p > MinutesPerDay)
        p -= MinutesPerDay;
    return p;
}

QWidget* makePanel(QWidget* parent, const char* name)
{
    auto* panel = new QWidget(parent);
    panel->setObjectName(QLatin1String(name));
    return panel;
}

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text, int left)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->adjustSize();
    label->move(left, (kRowHeight - label->height()) / 2);
    return label;
}

QSlider* makeTrackBar(QWidget* parent, const char* name, int left, int minimum)
{
    auto* bar = new QSlider(Qt::Horizontal, parent);
    bar->setObjectName(QLatin1String(name));
    bar->setMinimum(minimum);
    bar->setMaximum(std::max(minimum, 1));
    bar->setValue(minimum);
    bar->setPageStep(10);
    bar->setSingleStep(1);
    bar->setTickPosition(QSlider::NoTicks);
    bar->setGeometry(left, 0, 100, kRowHeight);
    return bar;
}

QLineEdit* makeEdit(QWidget* parent, const char* name)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->setGeometry(200, 1, 42, kRowHeight - 2);
    return edit;
}

int digitsOf(int value) { return static_cast<int>(QString::number(value).size()); }

}  // namespace

TForm5::TForm5(LogModel& model, Settings& settings, Host host, QWidget* parent)
    : QDialog(parent), model_(model), settings_(settings), host_(std::move(host))
{
    setObjectName(QStringLiteral("Form5"));
    setWindowTitle(QStringLiteral("Diagrams"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
    setModal(true);
    resize(620, 420);
    // The window's design font is 8 points at 96 pixels per inch: 11 pixels.
    QFont small = font();
    small.setPixelSize(11);
    setFont(small);
    buildPages();
    buildControlPanel();
    buildMenu();
    FormCreate();
}

TForm5::~TForm5() = default;

// --- Construction ------------------------------------------------------------------------------

void TForm5::buildPages()
{
    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->tabBar()->setAttribute(Qt::WA_Hover);

    auto page = [this](const char* sheet, const char* caption, const char* chart, ChartView*& view) {
        auto* tab = new QWidget;
        tab->setObjectName(QLatin1String(sheet));
        auto* layout = new QVBoxLayout(tab);
        layout->setContentsMargins(0, 0, 0, 0);
        view = new ChartView(tab);
        view->setObjectName(QLatin1String(chart));
        layout->addWidget(view);
        PageControl1->addTab(tab, QLatin1String(caption));
        return tab;
    };
    TabSheet1 = page("TabSheet1", "Boots && Crashs per day", "Chart1", Chart1);
    TabSheet6 = page("TabSheet6", "Boot- && Crashfrequency", "Chart6", Chart6);
    TabSheet3 = page("TabSheet3", "OnTime per day", "Chart3", Chart3);
    TabSheet4 = page("TabSheet4", "OnTime per daytime", "Chart4", Chart4);
    TabSheet5 = page("TabSheet5", "Boots && Shutdowns && Crashs per daytime", "Chart5", Chart5);
    TabSheet2 = page("TabSheet2", "Boots && Crashs per day of week", "Chart2", Chart2);

    // In drawing and legend order.
    Series1 = Chart1->addSeries(SeriesKind::Bar, QStringLiteral("Boots"), kLime, QStringLiteral("Series1"));
    Series13 =
        Chart1->addSeries(SeriesKind::Line, QStringLiteral("BootTrend"), kGreen, QStringLiteral("Series13"));
    Series2 = Chart1->addSeries(SeriesKind::Bar, QStringLiteral("Crashs"), kRed, QStringLiteral("Series2"));
    Series14 = Chart1->addSeries(SeriesKind::Line, QStringLiteral("CrashTrend"), kCrashTrend,
                                 QStringLiteral("Series14"));

    Series9 =
        Chart6->addSeries(SeriesKind::Bar, QStringLiteral("Bootfrequency"), kLime, QStringLiteral("Series9"));
    Series15 = Chart6->addSeries(SeriesKind::Line, QStringLiteral("BootfrequencyTrend"), kGreen,
                                 QStringLiteral("Series15"));
    Series10 = Chart6->addSeries(SeriesKind::Bar, QStringLiteral("Crashfrequency"), kRed,
                                 QStringLiteral("Series10"));
    Series16 = Chart6->addSeries(SeriesKind::Line, QStringLiteral("CrashfrequenyTrend"), kCrashTrend,
                                 QStringLiteral("Series16"));

    Series5 = Chart3->addSeries(SeriesKind::Bar, QStringLiteral("OnTime per day"), kLime,
                                QStringLiteral("Series5"));
    Series3 = Chart3->addSeries(SeriesKind::Line, QStringLiteral("Trend"), kGreen, QStringLiteral("Series3"));

    Series7 = Chart4->addSeries(SeriesKind::Area, QStringLiteral("OnTime per daytime"), kLime,
                                QStringLiteral("Series7"));

    Series6 =
        Chart5->addSeries(SeriesKind::FastLine, QStringLiteral("Boots"), kGreen, QStringLiteral("Series6"));
    Series11 = Chart5->addSeries(SeriesKind::FastLine, QStringLiteral("Shutdowns"), kBlue,
                                 QStringLiteral("Series11"));
    Series12 =
        Chart5->addSeries(SeriesKind::FastLine, QStringLiteral("Crashs"), kRed, QStringLiteral("Series12"));

    Series4 = Chart2->addSeries(SeriesKind::Bar, QStringLiteral("Boots"), kLime, QStringLiteral("Series4"));
    Series8 = Chart2->addSeries(SeriesKind::Bar, QStringLiteral("Crashs"), kRed, QStringLiteral("Series8"));

    for (ChartView* chart : {Chart1, Chart6, Chart3, Chart2}) {
        chart->setDepthPercent(8);
        chart->setView3D(true);
    }
    for (ChartView* chart : {Chart1, Chart6, Chart3, Chart4, Chart5})
        chart->setLabelsRotated(true);
    Chart3->setValueAxisFixed(24);
    Chart4->setValueAxisAutomatic(true);
    Chart5->setValueAxisAutomatic(true);
    Chart2->setValueAxisAutomatic(false);
}

void TForm5::buildControlPanel()
{
    Panel1 = makePanel(this, "Panel1");

    Panel7 = makePanel(Panel1, "Panel7");
    Panel7->setGeometry(4, 4, 605, kPanel7Height);
    Panel2 = makePanel(Panel7, "Panel2");
    Panel2->setGeometry(0, 0, 605, 20);
    ScrollBar1 = new QScrollBar(Qt::Horizontal, Panel2);
    ScrollBar1->setObjectName(QStringLiteral("ScrollBar1"));
    ScrollBar1->setRange(1, 1);
    ScrollBar1->setSingleStep(1);
    ScrollBar1->setPageStep(5);
    ScrollBar1->setGeometry(0, 0, 605, 20);
    Panel3 = makePanel(Panel7, "Panel3");
    Panel3->setGeometry(0, kPanel7Height - kRowHeight, 605, kRowHeight);

    Panel6 = makePanel(Panel3, "Panel6");
    Panel6->setGeometry(0, 0, 281, kRowHeight);
    Panel6->setToolTip(QStringLiteral("Number of days, which are indicated at the same time"));
    Label1 = makeLabel(Panel6, "Label1", QStringLiteral("Time slot"), 6);
    TrackBar1 = makeTrackBar(Panel6, "TrackBar1", 60, 1);
    Edit1 = makeEdit(Panel6, "Edit1");

    Panel8 = makePanel(Panel3, "Panel8");
    Panel8->setGeometry(280, 0, 281, kRowHeight);
    Panel8->setToolTip(QStringLiteral("Number of days over those the trend determine becomes"));
    Label5 = makeLabel(Panel8, "Label5", QStringLiteral("Trend"), 6);
    TrackBar3 = makeTrackBar(Panel8, "TrackBar3", 38, 1);
    Edit3 = makeEdit(Panel8, "Edit3");

    Panel4 = makePanel(Panel1, "Panel4");
    Panel4->setGeometry(4, 60, 281, kRowHeight);
    Panel4->setToolTip(QStringLiteral("Minutes, over which one smoothes"));
    Label3 = makeLabel(Panel4, "Label3", QStringLiteral("Trend"), 6);
    TrackBar2 = makeTrackBar(Panel4, "TrackBar2", 38, 0);
    Edit2 = makeEdit(Panel4, "Edit2");

    Panel5 = makePanel(Panel1, "Panel5");
    Panel5->setGeometry(288, 60, 257, kRowHeight);
    Panel5->setToolTip(QStringLiteral("rotate daytime"));
    Label7 = makeLabel(Panel5, "Label7", QStringLiteral("Rotation:"), 160);
    auto button = [this](const char* name, const QString& text) {
        auto* b = new QToolButton(Panel5);
        b->setObjectName(QLatin1String(name));
        b->setText(text);
        b->setGeometry(0, 2, 20, 20);
        return b;
    };
    SpeedButton1 = button("SpeedButton1", QStringLiteral("<"));
    SpeedButton2 = button("SpeedButton2", QStringLiteral(">"));

    for (QWidget* panel : {Panel4, Panel5, Panel6, Panel8})
        panel->setToolTipDuration(kHintDuration);

    Animate1 = new BusyIndicator(this);
    Animate1->setObjectName(QStringLiteral("Animate1"));
    Animate1->hide();

    connect(TrackBar1, &QSlider::valueChanged, this, [this] { TrackBar1Change(); });
    connect(TrackBar2, &QSlider::valueChanged, this, [this] { TrackBar2Change(); });
    connect(TrackBar3, &QSlider::valueChanged, this, [this] { TrackBar3Change(); });
    connect(ScrollBar1, &QScrollBar::valueChanged, this, [this] { ScrollBar1Change(); });
    connect(Edit1, &QLineEdit::textChanged, this, [this] { Edit1Change(); });
    connect(Edit2, &QLineEdit::textChanged, this, [this] { Edit2Change(); });
    connect(Edit3, &QLineEdit::textChanged, this, [this] { Edit3Change(); });
    connect(SpeedButton1, &QToolButton::clicked, this, [this] { SpeedButton1Click(); });
    connect(SpeedButton2, &QToolButton::clicked, this, [this] { SpeedButton2Click(); });
}

void TForm5::toggle(QAction* item) { item->setChecked(!item->isChecked()); }

QAction* TForm5::addOption(QMenu* menu, const char* name, const QString& caption, bool checked, bool visible,
                           void (TForm5::*handler)())
{
    auto* item = menu->addAction(caption);
    item->setObjectName(QLatin1String(name));
    item->setCheckable(true);
    item->setChecked(checked);
    item->setVisible(visible);
    // The handler inverts the check mark itself, as the settings reader relies on.
    connect(item, &QAction::triggered, this, [this, item, handler] {
        toggle(item);
        (this->*handler)();
    });
    return item;
}

void TForm5::buildMenu()
{
    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    auto separator = [](QMenu* menu, const char* name) {
        QAction* s = menu->addSeparator();
        s->setObjectName(QLatin1String(name));
        return s;
    };

    Hilfe1 = PopupMenu1->addAction(QStringLiteral("About"));
    Hilfe1->setObjectName(QStringLiteral("Hilfe1"));
    Hilfe1->setShortcut(QKeySequence(Qt::Key_F1));
    connect(Hilfe1, &QAction::triggered, this, [this] { Hilfe1Click(); });
    N1 = separator(PopupMenu1, "N1");

    Werteanzeigen2Menu = PopupMenu1->addMenu(QStringLiteral("show charts"));
    Werteanzeigen2 = Werteanzeigen2Menu->menuAction();
    Werteanzeigen2->setObjectName(QStringLiteral("Werteanzeigen2"));
    QMenu* show = Werteanzeigen2Menu;
    BootsproTag1 = addOption(show, "BootsproTag1", QStringLiteral("Boots per day"), true, true,
                             &TForm5::BootsproTag1Click);
    BootTrendproTag1 = addOption(show, "BootTrendproTag1", QStringLiteral("BootTrend per day"), true, true,
                                 &TForm5::BootTrendproTag1Click);
    CrashsproTag1 = addOption(show, "CrashsproTag1", QStringLiteral("Crashs per day"), true, true,
                              &TForm5::CrashsproTag1Click);
    CrashTrendproTag1 = addOption(show, "CrashTrendproTag1", QStringLiteral("CrashTrend per day"), true, true,
                                  &TForm5::CrashTrendproTag1Click);
    N7 = separator(show, "N7");
    Bootfrequenz1 = addOption(show, "Bootfrequenz1", QStringLiteral("Bootfrequency "), true, true,
                              &TForm5::Bootfrequenz1Click);
    BootfrequenzTrend1 = addOption(show, "BootfrequenzTrend1", QStringLiteral("Bootfrequency Trend"), true,
                                   true, &TForm5::BootfrequenzTrend1Click);
    Crashfrequenz1 = addOption(show, "Crashfrequenz1", QStringLiteral("Crashfrequency "), true, true,
                               &TForm5::Crashfrequenz1Click);
    CrashfrequenzTrend1 = addOption(show, "CrashfrequenzTrend1", QStringLiteral("Crashfrequency Trend"), true,
                                    true, &TForm5::CrashfrequenzTrend1Click);
    N6 = separator(show, "N6");
    EingeschaltetproTag1 = addOption(show, "EingeschaltetproTag1", QStringLiteral("OnTime per day"), true,
                                     true, &TForm5::EingeschaltetproTag1Click);
    EingeschaltetproTagTrend1 =
        addOption(show, "EingeschaltetproTagTrend1", QStringLiteral("OnTime per day - Trend"), true, true,
                  &TForm5::EingeschaltetproTagTrend1Click);
    N3 = separator(show, "N3");
    Boots1 = addOption(show, "Boots1", QStringLiteral("Boots"), true, false, &TForm5::Boots1Click);
    ShutDowns1 =
        addOption(show, "ShutDowns1", QStringLiteral("ShutDowns"), true, false, &TForm5::ShutDowns1Click);
    Crashs1 = addOption(show, "Crashs1", QStringLiteral("Crashs"), true, false, &TForm5::Crashs1Click);

    N3DAnsicht1 = addOption(PopupMenu1, "N3DAnsicht1", QStringLiteral("3D view"), true, true,
                            &TForm5::N3DAnsicht1Click);
    N3DAnsicht1->setShortcut(QKeySequence(Qt::Key_F3));
    automatischeYAchsenskalierung1 =
        addOption(PopupMenu1, "automatischeYAchsenskalierung1", QStringLiteral("autosize Y-axis"), false,
                  true, &TForm5::automatischeYAchsenskalierung1Click);
    automatischeYAchsenskalierung1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Y));
    N4 = separator(PopupMenu1, "N4");
    Gestuft1 =
        addOption(PopupMenu1, "Gestuft1", QStringLiteral("stepped"), true, false, &TForm5::Gestuft1Click);
    Normiert1 = addOption(PopupMenu1, "Normiert1", QStringLiteral("standardized"), false, false,
                          &TForm5::Normiert1Click);
    N5 = separator(PopupMenu1, "N5");
    Fensterschliessen2 = PopupMenu1->addAction(QStringLiteral("close window"));
    Fensterschliessen2->setObjectName(QStringLiteral("Fensterschliessen2"));
    // Shown in the menu; the key itself reaches FormKeyDown.
    Fensterschliessen2->setShortcut(QKeySequence(Qt::Key_Escape));
    Fensterschliessen2->setShortcutContext(Qt::WidgetShortcut);
    connect(Fensterschliessen2, &QAction::triggered, this, [this] { Fensterschliessen2Click(); });

    // The function-key shortcuts work while the menu is closed.
    addAction(Hilfe1);
    addAction(N3DAnsicht1);
    addAction(automatischeYAchsenskalierung1);
}

void TForm5::clampStoredValues()
{
    // Stored values outside their ranges are brought into them before anything uses them.
    const std::int32_t days = std::max<std::int32_t>(model_.DayCount, 1);
    settings_.SlotDays = std::clamp<std::int32_t>(settings_.SlotDays, 1, days);
    settings_.TrendDays = std::max<std::int32_t>(settings_.TrendDays, 1);
    settings_.SmoothRadius = std::clamp<std::int32_t>(settings_.SmoothRadius, 0, MinutesPerDay);
    settings_.RotationHours =
        std::clamp<std::int32_t>(settings_.RotationHours, kRotationHoursMin, kRotationHoursMax);
    if (settings_.DiagramsPageIndex < 0 || settings_.DiagramsPageIndex >= kDiagramsPageCount)
        settings_.DiagramsPageIndex = 0;
}

void TForm5::FormCreate()
{
    creating_ = true;
    clampStoredValues();
    dayLabels_.reserve(std::max(model_.DayCount, 0) + 1);
    dayLabels_.append(QString());
    for (int d = 1; d <= model_.DayCount; ++d)
        dayLabels_.append(textOf(model_.day(d).Weekday.view()) + QLatin1Char(' ') +
                          textOf(model_.day(d).Date.view()));

    // 1.
    setWindowIcon(programIcon());
    PageControl1->setCurrentWidget(TabSheet1);
    // 2.
    SlotStart = 1;
    // 3.
    Verlauf_fuellen();
    BootverlaufGlaettung_berechnen();
    BootGlaettung_berechnen();
    Series_fuellen();
    Verlauf_scrollen();
    Wtag_fuellen();
    // 4.
    setChartsFixedAxes();
    // 5.
    const int days = std::max<std::int32_t>(model_.DayCount, 1);
    ScrollBar1->setMaximum(std::max(1, model_.DayCount - settings_.SlotDays + 1));
    ScrollBar1->setValue(1);
    TrackBar1->setMaximum(days);
    TrackBar1->setValue(settings_.SlotDays);
    TrackBar2->setMaximum(MinutesPerDay);
    TrackBar2->setValue(settings_.SmoothRadius);
    TrackBar3->setMaximum(days);
    TrackBar3->setValue(std::min(settings_.TrendDays, days));
    ScrollBar1->setValue(ScrollBar1->maximum());
    // 6.
    Panel4->move(Panel4->x(), Panel7->y());
    Panel5->move(Panel5->x(), Panel7->y());
    setPanel1Height(Panel7->height() + 8);
    const std::pair<QLineEdit*, QSlider*> edits[] = {
        {Edit1, TrackBar1}, {Edit2, TrackBar2}, {Edit3, TrackBar3}};
    for (const auto& [edit, bar] : edits) {
        edit->resize(8 * digitsOf(bar->maximum()) + 2, edit->height());
        edit->setText(QString::number(bar->value()));
    }
    // 7.
    const QColor buttonFace = QApplication::palette().color(QPalette::Button);
    for (ChartView* chart : {Chart1, Chart2, Chart3, Chart4, Chart5, Chart6})
        chart->setLegendColor(buttonFace);
    // 8.
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

void TForm5::Series_fuellen()
{
    // The slot never reaches past the last day, whatever the caller left in SlotStart.
    const int first = std::max(1, SlotStart);
    const int count = std::min(settings_.SlotDays, model_.DayCount - first + 1);
    if (count < 1)
        return;
    const QStringList labels = dayLabels_.mid(first, count);
    QVector<QCPGraphData> boots, crashs, onTime, bootTrend, crashTrend, onTimeTrend, bootFrequency,
        crashFrequency, bootFrequencyTrend, crashFrequencyTrend;
    for (auto* v : {&boots, &crashs, &onTime, &bootTrend, &crashTrend, &onTimeTrend, &bootFrequency,
                    &crashFrequency, &bootFrequencyTrend, &crashFrequencyTrend})
        v->reserve(count);
    for (int i = 0; i < count; ++i) {
        const DayRecord& d = model_.day(first + i);
        const double x = i;
        boots.append({x, double(d.Boots)});
        crashs.append({x, double(d.Crashs)});
        onTime.append({x, d.OnTime / 3600.0});
        bootTrend.append({x, double(d.BootTrend)});
        crashTrend.append({x, double(d.CrashTrend)});
        onTimeTrend.append({x, d.OnTimeTrend / 3600.0});
        bootFrequency.append({x, double(d.BootFrequency)});
        crashFrequency.append({x, double(d.CrashFrequency)});
        bootFrequencyTrend.append({x, double(d.BootFrequencyTrend)});
        crashFrequencyTrend.append({x, double(d.CrashFrequencyTrend)});
    }
    Series1->append(boots, labels);
    Series2->append(crashs, labels);
    Series5->append(onTime, labels);
    Series13->append(bootTrend, labels);
    Series14->append(crashTrend, labels);
    Series3->append(onTimeTrend, labels);
    Series9->append(bootFrequency, labels);
    Series10->append(crashFrequency, labels);
    Series15->append(bootFrequencyTrend, labels);
    Series16->append(crashFrequencyTrend, labels);
}

void TForm5::addTrendPoints()
{
    const int first = std::max(1, SlotStart);
    const int count = std::min(settings_.SlotDays, model_.DayCount - first + 1);
    if (count < 1)
        return;
    const QStringList labels = dayLabels_.mid(first, count);
    QVector<QCPGraphData> bootTrend, crashTrend, onTimeTrend, bootFrequencyTrend, crashFrequencyTrend;
    for (int i = 0; i < count; ++i) {
        const DayRecord& d = model_.day(first + i);
        const double x = i;
        bootTrend.append({x, double(d.BootTrend)});
        crashTrend.append({x, double(d.CrashTrend)});
        onTimeTrend.append({x, d.OnTimeTrend / 3600.0});
        bootFrequencyTrend.append({x, double(d.BootFrequencyTrend)});
        crashFrequencyTrend.append({x, double(d.CrashFrequencyTrend)});
    }
    Series13->append(bootTrend, labels);
    Series14->append(crashTrend, labels);
    Series3->append(onTimeTrend, labels);
    Series15->append(bootFrequencyTrend, labels);
    Series16->append(crashFrequencyTrend, labels);
}

void TForm5::clearPerDaySeries()
{
    for (ChartSeries* s :
         {Series1, Series2, Series3, Series5, Series9, Series10, Series13, Series14, Series15, Series16})
        s->clear();
}

void TForm5::Wtag_fuellen()
{
    for (int k = 1; k <= 7; ++k) {
        const WeekdayRecord& w = model_.WeekdayTable[static_cast<std::size_t>(k - 1)];
        const QString name = textOf(w.Name.view());
        Series4->add(k, w.Boots, name);
        Series8->add(k, w.Crashs, name);
    }
}

void TForm5::Verlauf_fuellen()
{
    QVector<QCPGraphData> points;
    QStringList labels;
    points.reserve(kMinutePoints);
    labels.reserve(kMinutePoints);
    for (int m = 0; m <= MinutesPerDay; ++m) {
        const MinutePoint& p = model_.Verlauf[static_cast<std::size_t>(m)];
        points.append({double(m), double(p.Value)});
        labels.append(textOf(p.TimeText.view()));
    }
    Series7->append(points, labels);
}

void TForm5::Verlauf_scrollen()
{
    const bool boots = Boots1->isChecked();
    const bool shutdowns = ShutDowns1->isChecked();
    const bool crashs = Crashs1->isChecked();
    Series7->clear();
    if (shutdowns)
        Series11->clear();
    if (crashs)
        Series12->clear();
    if (boots)
        Series6->clear();

    const bool standardized = Normiert1->isChecked();
    const MinuteTable& curve = standardized ? model_.VerlaufNormiert : model_.Verlauf;
    QVector<QCPGraphData> p7, p6, p11, p12;
    QStringList l7, l6, l11, l12;
    for (auto* v : {&p7, &p6, &p11, &p12})
        v->reserve(kMinutePoints);
    for (int m = 0; m <= MinutesPerDay; ++m) {
        const auto p = static_cast<std::size_t>(rotatedMinute(m, settings_.RotationHours));
        const double x = m;
        p7.append({x, double(curve[p].Value)});
        l7.append(textOf(model_.Verlauf[p].TimeText.view()));
        if (boots) {
            p6.append({x, double(model_.BootverlaufGlatt[p].Value)});
            l6.append(textOf(model_.BootverlaufGlatt[p].TimeText.view()));
        }
        if (shutdowns) {
            p11.append({x, double(model_.ShutdownverlaufGlatt[p].Value)});
            l11.append(textOf(model_.ShutdownverlaufGlatt[p].TimeText.view()));
        }
        if (crashs) {
            p12.append({x, double(model_.CrashverlaufGlatt[p].Value)});
            l12.append(textOf(model_.CrashverlaufGlatt[p].TimeText.view()));
        }
    }
    Series7->append(p7, l7);
    if (boots)
        Series6->append(p6, l6);
    if (shutdowns)
        Series11->append(p11, l11);
    if (crashs)
        Series12->append(p12, l12);
}

void TForm5::BootGlaettung_berechnen() { model_.BootGlaettung_berechnen(settings_.TrendDays); }

void TForm5::BootverlaufGlaettung_berechnen()
{
    model_.BootverlaufGlaettung_berechnen(settings_.SmoothRadius);
    const std::pair<ChartSeries*, const MinuteTable*> lines[] = {
        {Series6, &model_.BootverlaufGlatt},
        {Series11, &model_.ShutdownverlaufGlatt},
        {Series12, &model_.CrashverlaufGlatt},
    };
    for (const auto& [series, table] : lines) {
        QVector<QCPGraphData> points;
        QStringList labels;
        points.reserve(kMinutePoints);
        labels.reserve(kMinutePoints);
        for (int m = 0; m <= MinutesPerDay; ++m) {
            const MinutePoint& p = (*table)[static_cast<std::size_t>(m)];
            points.append({double(m), double(p.Value)});
            labels.append(textOf(p.TimeText.view()));
        }
        series->append(points, labels);
    }
}

void TForm5::Verlauf_normieren() { model_.Verlauf_normieren(); }

bool TForm5::check4number(const QString& text)
{
    if (text.isEmpty())
        return false;
    return std::all_of(text.begin(), text.end(),
                       [](QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); });
}

// --- Control panel -----------------------------------------------------------------------------

void TForm5::TrackBar1Change()
{
    Edit1->setText(QString::number(TrackBar1->value()));
    if (firstShowPending())
        return;
    ScrollBar1->setValue(1);
    clearPerDaySeries();
    settings_.SlotDays = TrackBar1->value();
    SlotStart = 1;
    Series_fuellen();
    ScrollBar1->setMaximum(std::max(1, model_.DayCount - settings_.SlotDays + 1));
    ScrollBar1->setValue(ScrollBar1->maximum());
}

void TForm5::ScrollBar1Change()
{
    clearPerDaySeries();
    SlotStart = ScrollBar1->value();
    Series_fuellen();
}

void TForm5::TrackBar3Change()
{
    Edit3->setText(QString::number(TrackBar3->value()));
    if (firstShowPending())
        return;
    settings_.TrendDays = TrackBar3->value();
    for (ChartSeries* s : {Series3, Series13, Series14, Series15, Series16})
        s->clear();
    BootGlaettung_berechnen();
    addTrendPoints();
}

void TForm5::TrackBar2Change()
{
    Edit2->setText(QString::number(TrackBar2->value()));
    if (firstShowPending())
        return;
    settings_.SmoothRadius = TrackBar2->value();
    for (ChartSeries* s : {Series6, Series11, Series12})
        s->clear();
    BootverlaufGlaettung_berechnen();
    Verlauf_scrollen();
}

namespace {

// A typed value goes to the track bar when it is a number within its range; anything else
// is replaced at once by the track bar's position.
void applyTypedValue(QLineEdit* edit, QSlider* bar)
{
    const QString text = edit->text();
    bool ok = TForm5::check4number(text);
    qint64 value = -1;
    if (ok) {
        // More than ten digits lie outside every range (and outside 32 bits).
        const QString digits = text.size() > 10 ? QString() : text;
        value = digits.isEmpty() ? -1 : digits.toLongLong(&ok);
    }
    if (ok && value >= bar->minimum() && value <= bar->maximum())
        bar->setValue(static_cast<int>(value));
    else
        edit->setText(QString::number(bar->value()));
}

}  // namespace

void TForm5::Edit1Change() { applyTypedValue(Edit1, TrackBar1); }
void TForm5::Edit2Change() { applyTypedValue(Edit2, TrackBar2); }
void TForm5::Edit3Change() { applyTypedValue(Edit3, TrackBar3); }

void TForm5::SpeedButton1Click()
{
    settings_.RotationHours -= 1;
    if (settings_.RotationHours == -(MinutesPerDay / 60))
        settings_.RotationHours = 0;
    Verlauf_scrollen();
}

void TForm5::SpeedButton2Click()
{
    settings_.RotationHours += 1;
    if (settings_.RotationHours == MinutesPerDay / 60)
        settings_.RotationHours = 0;
    Verlauf_scrollen();
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
    const int w7 = std::max(0, Panel1->width() - 8);
    Panel7->resize(w7, Panel7->height());
    Panel2->resize(w7, Panel2->height());
    ScrollBar1->resize(w7, ScrollBar1->height());
    Panel3->resize(w7, Panel3->height());
    const int h = Panel7->width() / 2;

    auto row = [](QWidget* panel, int width, QLineEdit* edit, QSlider* bar) {
        panel->resize(width, panel->height());
        edit->move(panel->width() - edit->width() - 8, edit->y());
        bar->resize(std::max(0, edit->x() - bar->x() - 4), bar->height());
    };
    row(Panel6, h, Edit1, TrackBar1);
    Panel8->move(Panel6->width(), Panel8->y());
    row(Panel8, h, Edit3, TrackBar3);
    row(Panel4, h, Edit2, TrackBar2);

    Panel5->move(Panel4->width(), Panel5->y());
    Panel5->resize(h, Panel5->height());
    SpeedButton1->move(Panel5->width() - 46, SpeedButton1->y());
    SpeedButton2->move(Panel5->width() - 26, SpeedButton2->y());
    Label7->move(SpeedButton1->x() - Label7->width() - 12, Label7->y());

    Animate1->move(width() / 2 - Animate1->width() / 2, height() / 2 - Animate1->height());
}

void TForm5::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    layoutWindow();
}

// --- Menu ----------------------------------------------------------------------------------

void TForm5::showLine(QAction* item, ChartSeries* series) { series->setActive(item->isChecked()); }

void TForm5::BootsproTag1Click()
{
    toggle(BootsproTag1);
    showLine(BootsproTag1, Series1);
}
void TForm5::BootTrendproTag1Click()
{
    toggle(BootTrendproTag1);
    showLine(BootTrendproTag1, Series13);
}
void TForm5::CrashsproTag1Click()
{
    toggle(CrashsproTag1);
    showLine(CrashsproTag1, Series2);
}
void TForm5::CrashTrendproTag1Click()
{
    toggle(CrashTrendproTag1);
    showLine(CrashTrendproTag1, Series14);
}
void TForm5::Bootfrequenz1Click()
{
    toggle(Bootfrequenz1);
    showLine(Bootfrequenz1, Series9);
}
void TForm5::BootfrequenzTrend1Click()
{
    toggle(BootfrequenzTrend1);
    showLine(BootfrequenzTrend1, Series15);
}
void TForm5::Crashfrequenz1Click()
{
    toggle(Crashfrequenz1);
    showLine(Crashfrequenz1, Series10);
}
void TForm5::CrashfrequenzTrend1Click()
{
    toggle(CrashfrequenzTrend1);
    showLine(CrashfrequenzTrend1, Series16);
}
void TForm5::EingeschaltetproTag1Click()
{
    toggle(EingeschaltetproTag1);
    showLine(EingeschaltetproTag1, Series5);
}
void TForm5::EingeschaltetproTagTrend1Click()
{
    toggle(EingeschaltetproTagTrend1);
    showLine(EingeschaltetproTagTrend1, Series3);
}

void TForm5::Boots1Click()
{
    toggle(Boots1);
    Verlauf_scrollen();
    showLine(Boots1, Series6);
}

void TForm5::ShutDowns1Click()
{
    toggle(ShutDowns1);
    Verlauf_scrollen();
    showLine(ShutDowns1, Series11);
}

void TForm5::Crashs1Click()
{
    toggle(Crashs1);
    Verlauf_scrollen();
    showLine(Crashs1, Series12);
}

void TForm5::N3DAnsicht1Click()
{
    toggle(N3DAnsicht1);
    for (ChartView* chart : {Chart1, Chart2, Chart3, Chart6})
        chart->setView3D(N3DAnsicht1->isChecked());
}

void TForm5::setChartsFixedAxes()
{
    Chart1->setValueAxisFixed(model_.MaxBootsPerDay);
    Chart6->setValueAxisFixed(model_.MaxBootFrequency);
}

void TForm5::automatischeYAchsenskalierung1Click()
{
    toggle(automatischeYAchsenskalierung1);
    if (automatischeYAchsenskalierung1->isChecked()) {
        Chart1->setValueAxisAutomatic();
        Chart6->setValueAxisAutomatic();
    } else {
        setChartsFixedAxes();
    }
}

void TForm5::Gestuft1Click()
{
    toggle(Gestuft1);
    Series7->setStepped(Gestuft1->isChecked());
}

void TForm5::Normiert1Click()
{
    toggle(Normiert1);
    Verlauf_scrollen();
}

void TForm5::Hilfe1Click()
{
    if (host_.showAbout)
        host_.showAbout();
}

void TForm5::Fensterschliessen2Click() { close(); }

void TForm5::FormKeyDown(int key)
{
    if (key == Qt::Key_Escape)
        close();
}

void TForm5::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        FormKeyDown(event->key());
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TForm5::contextMenuEvent(QContextMenuEvent* event) { PopupMenu1->popup(event->globalPos()); }

QAction* TForm5::optionItem(DiagramOption option) const
{
    switch (option) {
    case DiagramOption::View3D:
        return N3DAnsicht1;
    case DiagramOption::BootsPerDay:
        return BootsproTag1;
    case DiagramOption::BootTrendPerDay:
        return BootTrendproTag1;
    case DiagramOption::CrashsPerDay:
        return CrashsproTag1;
    case DiagramOption::CrashTrendPerDay:
        return CrashTrendproTag1;
    case DiagramOption::OnTimePerDay:
        return EingeschaltetproTag1;
    case DiagramOption::OnTimePerDayTrend:
        return EingeschaltetproTagTrend1;
    case DiagramOption::BootFrequency:
        return Bootfrequenz1;
    case DiagramOption::BootFrequencyTrend:
        return BootfrequenzTrend1;
    case DiagramOption::CrashFrequency:
        return Crashfrequenz1;
    case DiagramOption::CrashFrequencyTrend:
        return CrashfrequenzTrend1;
    case DiagramOption::AutosizeYAxis:
        return automatischeYAchsenskalierung1;
    case DiagramOption::Stepped:
        return Gestuft1;
    case DiagramOption::Boots:
        return Boots1;
    case DiagramOption::ShutDowns:
        return ShutDowns1;
    case DiagramOption::Crashs:
        return Crashs1;
    }
    return nullptr;
}

void TForm5::optionClick(DiagramOption option)
{
    switch (option) {
    case DiagramOption::View3D:
        return N3DAnsicht1Click();
    case DiagramOption::BootsPerDay:
        return BootsproTag1Click();
    case DiagramOption::BootTrendPerDay:
        return BootTrendproTag1Click();
    case DiagramOption::CrashsPerDay:
        return CrashsproTag1Click();
    case DiagramOption::CrashTrendPerDay:
        return CrashTrendproTag1Click();
    case DiagramOption::OnTimePerDay:
        return EingeschaltetproTag1Click();
    case DiagramOption::OnTimePerDayTrend:
        return EingeschaltetproTagTrend1Click();
    case DiagramOption::BootFrequency:
        return Bootfrequenz1Click();
    case DiagramOption::BootFrequencyTrend:
        return BootfrequenzTrend1Click();
    case DiagramOption::CrashFrequency:
        return Crashfrequenz1Click();
    case DiagramOption::CrashFrequencyTrend:
        return CrashfrequenzTrend1Click();
    case DiagramOption::AutosizeYAxis:
        return automatischeYAchsenskalierung1Click();
    case DiagramOption::Stepped:
        return Gestuft1Click();
    case DiagramOption::Boots:
        return Boots1Click();
    case DiagramOption::ShutDowns:
        return ShutDowns1Click();
    case DiagramOption::Crashs:
        return Crashs1Click();
    }
}

// --- Tabs ----------------------------------------------------------------------------------

void TForm5::PageControl1Change()
{
    QWidget* page = PageControl1->currentWidget();
    struct PageSetup {
        QWidget* sheet;
        bool panel7, panel4, panel5;
        QWidget* heightOf;
        std::vector<QAction*> items;
    };
    const PageSetup setups[] = {
        {TabSheet1,
         true,
         false,
         false,
         Panel7,
         {N3DAnsicht1, BootsproTag1, BootTrendproTag1, CrashsproTag1, CrashTrendproTag1,
          automatischeYAchsenskalierung1}},
        {TabSheet6,
         true,
         false,
         false,
         Panel7,
         {N3DAnsicht1, Bootfrequenz1, BootfrequenzTrend1, Crashfrequenz1, CrashfrequenzTrend1,
          automatischeYAchsenskalierung1}},
        {TabSheet3,
         true,
         false,
         false,
         Panel7,
         {N3DAnsicht1, EingeschaltetproTag1, EingeschaltetproTagTrend1}},
        {TabSheet4, false, false, true, Panel5, {Gestuft1, Normiert1}},
        {TabSheet5, false, true, true, Panel4, {Boots1, ShutDowns1, Crashs1}},
        {TabSheet2, false, false, false, nullptr, {N3DAnsicht1}},
    };
    QAction* const switchable[] = {BootsproTag1,
                                   BootTrendproTag1,
                                   CrashsproTag1,
                                   CrashTrendproTag1,
                                   Bootfrequenz1,
                                   BootfrequenzTrend1,
                                   Crashfrequenz1,
                                   CrashfrequenzTrend1,
                                   EingeschaltetproTag1,
                                   EingeschaltetproTagTrend1,
                                   Boots1,
                                   ShutDowns1,
                                   Crashs1,
                                   N3DAnsicht1,
                                   automatischeYAchsenskalierung1,
                                   Gestuft1,
                                   Normiert1};
    for (const PageSetup& s : setups) {
        if (s.sheet != page)
            continue;
        Panel7->setVisible(s.panel7);
        Panel4->setVisible(s.panel4);
        Panel5->setVisible(s.panel5);
        setPanel1Height(s.heightOf ? s.heightOf->height() + 8 : 0);
        for (QAction* item : switchable)
            item->setVisible(std::find(s.items.begin(), s.items.end(), item) != s.items.end());
    }
    if (page == TabSheet4 && model_.DaytimePending)
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
    model_.DaytimePending = false;
}

// --- Settings and showing ----------------------------------------------------------------------

void TForm5::ini_File_read(const std::filesystem::path& iniFile, Settings& settings)
{
    settings.readDiagrams(iniFile, [this](DiagramOption option) { optionClick(option); });
    const WindowRect& r = settings.DiagramsRect;
    resize(r.width, r.height);
    moveToStoredPlace(this, QPoint(r.left, r.top));
}

void TForm5::storeSettings(Settings& settings) const
{
    settings.DiagramsRect = WindowRect{x(), y(), width(), height()};
    settings.DiagramsPageIndex = PageControl1->currentIndex();
    for (int i = 0; i < kDiagramOptionCount; ++i)
        settings.Options[static_cast<std::size_t>(i)] =
            optionItem(static_cast<DiagramOption>(i))->isChecked();
}

void TForm5::showModal() { exec(); }

}  // namespace quomble
