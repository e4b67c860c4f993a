#include "ui/main/totals_panel.h"

#include "core/model.h"
#include "ui/components/clickablelabel.h"
#include "ui/components/labels.h"
#include "ui/components/palette.h"
#include "ui/components/programicon.h"
#include "ui/main/figures_format.h"
#include "ui/main/label_set.h"

#include <QLabel>

namespace quomble {

namespace {

// The four sentences, each a line of labels that follow one another (0 ends a line).
constexpr int kLines[][5] = {
    {6, 23, 52, 53, 54},
    {7, 55, 56, 0, 0},
    {8, 57, 58, 59, 60},
    {9, 61, 62, 80, 81},
};

}  // namespace

TotalsPanel::TotalsPanel(LabelSet& labels, QWidget* parent)
    : BevelPanel(BevelPanel::Bevel::Lowered, BevelPanel::Bevel::Raised, parent), labels_(labels)
{
    setGeometry(6, 311, 428, 80);
    // The words between the values, in the button text colour of the scheme shown.
    const auto plain = [this](int number, int y, const QString& text) {
        labels_.add(this, number, 10, y, text, QColor(), false)->setForegroundRole(QPalette::ButtonText);
    };

    plain(6, 8, QStringLiteral("Altogether"));
    labels_.add(this, 23, 10, 8, QString(), palette::Navy, true);
    plain(52, 8, QStringLiteral("times booted on"));
    labels_.add(this, 53, 10, 8, QString(), palette::Navy, true);
    plain(54, 8, QStringLiteral("different days."));

    plain(7, 22, QStringLiteral("That results in a BootIndex of"));
    labels_.add(this, 55, 10, 22, QString(), palette::Navy, true);
    plain(56, 22, QStringLiteral("boots per day."));

    plain(8, 42, QStringLiteral("Altogether"));
    labels_.add(this, 57, 10, 42, QString(), palette::Red, true);
    plain(58, 42, QStringLiteral("times crashed and"));
    labels_.add(this, 59, 10, 42, QString(), palette::Navy, true);
    plain(60, 42, QStringLiteral("times shutdowned."));

    plain(9, 56, QStringLiteral("Those are"));
    labels_.add(this, 61, 10, 56, QString(), palette::Navy, true);
    plain(62, 56, QStringLiteral("crashs per boot and"));
    labels_.add(this, 80, 10, 56, QString(), palette::Navy, true);
    plain(81, 56, QStringLiteral("crashs per day."));
    relayout();

    frame_ = new BevelPanel(BevelPanel::Bevel::Lowered, BevelPanel::Bevel::None, this);
    frame_->setFilled(false);
    frame_->setGeometry(374, 24, 36, 36);
    frame_->hide();

    icon_ = new ClickableLabel(this);
    icon_->setGeometry(376, 26, 32, 32);
    icon_->setPixmap(programPixmap(32));
    icon_->setCursor(Qt::PointingHandCursor);
    icon_->setAccessibleName(QStringLiteral("Program icon"));
    icon_->setAccessibleDescription(QStringLiteral("Opens the About window"));
    frame_->setAccessibleName(QStringLiteral("Frame of the program icon"));
    connect(icon_, &ClickableLabel::clicked, this, &TotalsPanel::iconClicked);
}

void TotalsPanel::showTotals(const LogModel& m)
{
    // Each figure, and its name with it as a screen reader reads it.
    const struct {
        int label;
        const char* name;
        QString value;
    } figures[] = {
        {23, "Boots", QString::number(m.BootCount)},
        {53, "Days with boots", QString::number(m.DaysWithOnTime)},
        {55, "BootIndex", systemRatioText(m.BootIndex)},
        {57, "Crashes", QString::number(m.CrashCount)},
        {59, "Shutdowns", QString::number(m.LogoutCount)},
        {61, "Crashes per boot", systemRatioText(m.CrashsPerBoot)},
        {80, "Crashes per day", systemRatioText(m.CrashsPerDay)},
    };
    for (const auto& figure : figures) {
        QLabel* label = labels_[figure.label];
        setLabelText(label, figure.value);
        label->setAccessibleName(QLatin1String(figure.name) + QStringLiteral(": ") + figure.value);
    }
    relayout();
}

void TotalsPanel::relayout()
{
    for (const auto& line : kLines)
        labels_.flow(line, false);
}

}  // namespace quomble
