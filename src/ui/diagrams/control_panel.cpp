#include "ui/diagrams/control_panel.h"

#include "core/settings.h"

#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QStyleOptionSlider>
#include <QToolButton>

#include <algorithm>
#include <utility>

namespace quomble {

namespace {

constexpr int kPanel7Height = 46;
constexpr int kRowHeight = 24;
constexpr int kHintDuration = 60000;

// The time slot's scroll bar: a click in its track moves by the large step, while its thumb
// keeps the platform's smallest size, however few days there are to scroll through.
class SlotScrollBar : public QScrollBar {
public:
    using QScrollBar::QScrollBar;

protected:
    void initStyleOption(QStyleOptionSlider* option) const override
    {
        QScrollBar::initStyleOption(option);
        option->pageStep = 0;  // the thumb's length follows the page size; it has none
    }
};

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
    // The window's menu opens over it as over the rest of the window.
    edit->setContextMenuPolicy(Qt::NoContextMenu);
    return edit;
}

QToolButton* makeButton(QWidget* parent, const char* name, const QString& text)
{
    auto* b = new QToolButton(parent);
    b->setObjectName(QLatin1String(name));
    b->setText(text);
    b->setGeometry(0, 2, 20, 20);
    return b;
}

int digitsOf(int value) { return static_cast<int>(QString::number(value).size()); }

// 8 pixels a digit and 2, or more where the font's widest digit, the box's frame and its
// text margins need it to show all the digits whole.
int editWidth(const QLineEdit* edit, int digits)
{
    const QFontMetrics metrics(edit->font());
    int widest = 0;
    for (char c = '0'; c <= '9'; ++c)
        widest = std::max(widest, metrics.horizontalAdvance(QLatin1Char(c)));
    QStyleOptionFrame option;
    option.initFrom(edit);
    option.lineWidth = edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, edit);
    const int frame =
        edit->width() - edit->style()->subElementRect(QStyle::SE_LineEditContents, &option, edit).width();
    const QMargins margins = edit->textMargins();
    constexpr int kInnerMargin = 2;  // the line edit's own margin on each side of the text
    constexpr int kCursor = 1;
    const int needed =
        frame + margins.left() + margins.right() + 2 * kInnerMargin + widest * digits + kCursor;
    return std::max(8 * digits + 2, needed);
}

// A typed value goes to the track bar when it is a number within its range; anything else
// is replaced at once by the track bar's position.
void applyTypedValue(QLineEdit* edit, QSlider* bar)
{
    const QString text = edit->text();
    bool ok = ControlPanel::check4number(text);
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

ControlPanel::ControlPanel(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Panel1"));

    Panel7 = makePanel(this, "Panel7");
    Panel7->setGeometry(4, 4, 605, kPanel7Height);
    Panel2 = makePanel(Panel7, "Panel2");
    Panel2->setGeometry(0, 0, 605, 20);
    ScrollBar1 = new SlotScrollBar(Qt::Horizontal, Panel2);
    ScrollBar1->setObjectName(QStringLiteral("ScrollBar1"));
    ScrollBar1->setRange(1, 1);
    ScrollBar1->setSingleStep(1);
    ScrollBar1->setPageStep(5);
    ScrollBar1->setGeometry(0, 0, 605, 20);
    ScrollBar1->setContextMenuPolicy(Qt::NoContextMenu);
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

    Panel4 = makePanel(this, "Panel4");
    Panel4->setGeometry(4, 60, 281, kRowHeight);
    Panel4->setToolTip(QStringLiteral("Minutes, over which one smoothes"));
    Label3 = makeLabel(Panel4, "Label3", QStringLiteral("Trend"), 6);
    TrackBar2 = makeTrackBar(Panel4, "TrackBar2", 38, 0);
    Edit2 = makeEdit(Panel4, "Edit2");

    Panel5 = makePanel(this, "Panel5");
    Panel5->setGeometry(288, 60, 257, kRowHeight);
    Panel5->setToolTip(QStringLiteral("rotate daytime"));
    Label7 = makeLabel(Panel5, "Label7", QStringLiteral("Rotation:"), 160);
    SpeedButton1 = makeButton(Panel5, "SpeedButton1", QStringLiteral("<"));
    SpeedButton2 = makeButton(Panel5, "SpeedButton2", QStringLiteral(">"));

    for (QWidget* panel : {Panel4, Panel5, Panel6, Panel8})
        panel->setToolTipDuration(kHintDuration);

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

void ControlPanel::setUp(int dayCount, int slotDays, int smoothRadius, int trendDays)
{
    const int days = std::max(dayCount, 1);
    setSlotPositions(dayCount, slotDays);
    ScrollBar1->setValue(1);
    TrackBar1->setMaximum(days);
    TrackBar1->setValue(slotDays);
    TrackBar2->setMaximum(kSmoothRadiusMax);
    TrackBar2->setValue(smoothRadius);
    TrackBar3->setMaximum(days);
    TrackBar3->setValue(trendDays);
    ScrollBar1->setValue(ScrollBar1->maximum());

    // The smoothing and rotation rows share the first row's place; a tab shows one or the other.
    Panel4->move(Panel4->x(), Panel7->y());
    Panel5->move(Panel5->x(), Panel7->y());
    const std::pair<QLineEdit*, QSlider*> edits[] = {
        {Edit1, TrackBar1}, {Edit2, TrackBar2}, {Edit3, TrackBar3}};
    for (const auto& [edit, bar] : edits) {
        edit->resize(editWidth(edit, digitsOf(bar->maximum())), edit->height());
        edit->setText(QString::number(bar->value()));
    }
}

void ControlPanel::setSlotPositions(int dayCount, int slotDays)
{
    ScrollBar1->setMaximum(std::max(1, dayCount - slotDays + 1));
}

int ControlPanel::showRows(Rows rows)
{
    Panel7->setVisible(rows == Rows::TimeSlot);
    Panel4->setVisible(rows == Rows::SmoothingAndRotation);
    Panel5->setVisible(rows == Rows::SmoothingAndRotation || rows == Rows::Rotation);
    switch (rows) {
    case Rows::TimeSlot:
        return Panel7->height() + 8;
    case Rows::SmoothingAndRotation:
        return Panel4->height() + 8;
    case Rows::Rotation:
        return Panel5->height() + 8;
    case Rows::None:
        break;
    }
    return 0;
}

void ControlPanel::layoutRows()
{
    const int w7 = std::max(0, width() - 8);
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
}

bool ControlPanel::check4number(const QString& text)
{
    if (text.isEmpty())
        return false;
    return std::all_of(text.begin(), text.end(),
                       [](QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); });
}

void ControlPanel::TrackBar1Change()
{
    Edit1->setText(QString::number(TrackBar1->value()));
    emit slotDaysChanged(TrackBar1->value());
}

void ControlPanel::TrackBar2Change()
{
    Edit2->setText(QString::number(TrackBar2->value()));
    emit smoothRadiusChanged(TrackBar2->value());
}

void ControlPanel::TrackBar3Change()
{
    Edit3->setText(QString::number(TrackBar3->value()));
    emit trendDaysChanged(TrackBar3->value());
}

void ControlPanel::ScrollBar1Change() { emit slotStartChanged(ScrollBar1->value()); }
void ControlPanel::Edit1Change() { applyTypedValue(Edit1, TrackBar1); }
void ControlPanel::Edit2Change() { applyTypedValue(Edit2, TrackBar2); }
void ControlPanel::Edit3Change() { applyTypedValue(Edit3, TrackBar3); }
void ControlPanel::SpeedButton1Click() { emit rotated(-1); }
void ControlPanel::SpeedButton2Click() { emit rotated(+1); }

}  // namespace quomble
