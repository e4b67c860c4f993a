#include "ui/diagrams/control_panel.h"

#include "core/settings.h"
#include "ui/components/control_name.h"
#include "ui/components/keyboard.h"

#include <QKeyEvent>
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
// keeps the platform's smallest size, however few days there are to scroll through. It takes
// the focus like the other controls (the arrow keys, Page Up and Down, Home and End move it)
// and shows it.
class SlotScrollBar : public QScrollBar {
public:
    SlotScrollBar(Qt::Orientation orientation, QWidget* parent) : QScrollBar(orientation, parent)
    {
        setFocusPolicy(Qt::StrongFocus);
    }

protected:
    void paintEvent(QPaintEvent* event) override
    {
        QScrollBar::paintEvent(event);
        drawFocusFrame(this);
    }
    void keyPressEvent(QKeyEvent* event) override
    {
        // Left goes to older days and Right to newer ones (a scroll bar's controls are
        // turned round for its wheel, which turns the arrow keys round as well).
        if (event->modifiers() == Qt::NoModifier &&
            (event->key() == Qt::Key_Left || event->key() == Qt::Key_Right)) {
            triggerAction(event->key() == Qt::Key_Left ? SliderSingleStepSub : SliderSingleStepAdd);
            return;
        }
        QScrollBar::keyPressEvent(event);
    }

    void initStyleOption(QStyleOptionSlider* option) const override
    {
        QScrollBar::initStyleOption(option);
        option->pageStep = 0;  // the thumb's length follows the page size; it has none
    }
};

using C = ControlPanelControls;

// The panels, parents before their children; a panel without a parent lies on the control
// panel itself. The panels of a row carry its hint.
struct PanelBox {
    QWidget* C::*member;
    const char* name;
    QWidget* C::*parent;
    int x, y, width, height;
    const char* hint;
};
const PanelBox kPanels[] = {
    {QUOMBLE_CONTROL(C, Panel7), nullptr, 4, 4, 605, kPanel7Height, nullptr},
    {QUOMBLE_CONTROL(C, Panel2), &C::Panel7, 0, 0, 605, 20, nullptr},
    {QUOMBLE_CONTROL(C, Panel3), &C::Panel7, 0, kPanel7Height - kRowHeight, 605, kRowHeight, nullptr},
    {QUOMBLE_CONTROL(C, Panel6), &C::Panel3, 0, 0, 281, kRowHeight,
     "Number of days, which are indicated at the same time"},
    {QUOMBLE_CONTROL(C, Panel8), &C::Panel3, 280, 0, 281, kRowHeight,
     "Number of days over those the trend determine becomes"},
    {QUOMBLE_CONTROL(C, Panel4), nullptr, 4, 60, 281, kRowHeight, "Minutes, over which one smoothes"},
    {QUOMBLE_CONTROL(C, Panel5), nullptr, 288, 60, 257, kRowHeight, "rotate daytime"},
};

// The rows of a width: its caption, its track bar and the edit box that shows the value.
struct SliderRow {
    const char* what;  // what the row's controls set, for a screen reader
    QWidget* C::*panel;
    QLabel* C::*label;
    const char* labelName;
    const char* caption;
    int labelLeft;
    QSlider* C::*bar;
    const char* barName;
    int barLeft;
    int minimum;
    QLineEdit* C::*edit;
    const char* editName;
};
const SliderRow kSliderRows[] = {
    {"Time slot in days", &C::Panel6, QUOMBLE_CONTROL(C, Label1), "Time slot", 6,
     QUOMBLE_CONTROL(C, TrackBar1), 60, 1, QUOMBLE_CONTROL(C, Edit1)},
    {"Trend width in days", &C::Panel8, QUOMBLE_CONTROL(C, Label5), "Trend", 6, QUOMBLE_CONTROL(C, TrackBar3),
     38, 1, QUOMBLE_CONTROL(C, Edit3)},
    {"Smoothing width in minutes", &C::Panel4, QUOMBLE_CONTROL(C, Label3), "Trend", 6,
     QUOMBLE_CONTROL(C, TrackBar2), 38, 0, QUOMBLE_CONTROL(C, Edit2)},
};

QLabel* makeLabel(QWidget* parent, const QString& text, int left)
{
    auto* label = new QLabel(text, parent);
    label->adjustSize();
    label->move(left, (kRowHeight - label->height()) / 2);
    return label;
}

QSlider* makeTrackBar(QWidget* parent, int left, int minimum)
{
    auto* bar = new QSlider(Qt::Horizontal, parent);
    bar->setMinimum(minimum);
    bar->setMaximum(std::max(minimum, 1));
    bar->setValue(minimum);
    bar->setPageStep(10);
    bar->setSingleStep(1);
    bar->setTickPosition(QSlider::NoTicks);
    bar->setGeometry(left, 0, 100, kRowHeight);
    return bar;
}

QLineEdit* makeEdit(QWidget* parent)
{
    auto* edit = new QLineEdit(parent);
    edit->setGeometry(200, 1, 42, kRowHeight - 2);
    // The window's menu opens over it as over the rest of the window.
    edit->setContextMenuPolicy(Qt::NoContextMenu);
    return edit;
}

QToolButton* makeButton(QWidget* parent, const QString& text)
{
    auto* b = new QToolButton(parent);
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

    for (const PanelBox& box : kPanels) {
        QWidget* panel =
            nameControl(this, box.member, box.name, new QWidget(box.parent ? this->*box.parent : this));
        panel->setGeometry(box.x, box.y, box.width, box.height);
        if (box.hint) {
            panel->setToolTip(QLatin1String(box.hint));
            panel->setToolTipDuration(kHintDuration);
        }
    }
    nameControl(this, QUOMBLE_CONTROL(ControlPanelControls, ScrollBar1),
                new SlotScrollBar(Qt::Horizontal, Panel2));
    ScrollBar1->setRange(1, 1);
    ScrollBar1->setSingleStep(1);
    ScrollBar1->setPageStep(5);
    ScrollBar1->setGeometry(0, 0, 605, 20);
    ScrollBar1->setContextMenuPolicy(Qt::NoContextMenu);

    for (const SliderRow& row : kSliderRows) {
        QWidget* panel = this->*row.panel;
        nameControl(this, row.label, row.labelName,
                    makeLabel(panel, QLatin1String(row.caption), row.labelLeft));
        nameControl(this, row.bar, row.barName, makeTrackBar(panel, row.barLeft, row.minimum));
        nameControl(this, row.edit, row.editName, makeEdit(panel));
        const QString what = QLatin1String(row.what);
        (this->*row.label)->setBuddy(this->*row.bar);
        (this->*row.bar)->setAccessibleName(what);
        (this->*row.bar)->setAccessibleDescription(panel->toolTip());
        (this->*row.edit)->setAccessibleName(what + QStringLiteral(", typed"));
        (this->*row.edit)
            ->setAccessibleDescription(QStringLiteral("Type a number to set the slider beside it"));
    }
    nameControl(this, QUOMBLE_CONTROL(ControlPanelControls, Label7),
                makeLabel(Panel5, QStringLiteral("Rotation:"), 160));
    nameControl(this, QUOMBLE_CONTROL(ControlPanelControls, SpeedButton1),
                makeButton(Panel5, QStringLiteral("<")));
    nameControl(this, QUOMBLE_CONTROL(ControlPanelControls, SpeedButton2),
                makeButton(Panel5, QStringLiteral(">")));
    ScrollBar1->setAccessibleName(QStringLiteral("First day shown"));
    SpeedButton1->setAccessibleName(QStringLiteral("Rotate daytime one hour to the left"));
    SpeedButton2->setAccessibleName(QStringLiteral("Rotate daytime one hour to the right"));
    Label7->setBuddy(SpeedButton1);

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
