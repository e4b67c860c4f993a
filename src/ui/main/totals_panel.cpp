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
    const QColor plain = QWidget::palette().color(QPalette::ButtonText);

    labels_.add(this, 6, 10, 8, QStringLiteral("Altogether"), plain, false);
    labels_.add(this, 23, 10, 8, QString(), palette::Navy, true);
    labels_.add(this, 52, 10, 8, QStringLiteral("times booted on"), plain, false);
    labels_.add(this, 53, 10, 8, QString(), palette::Navy, true);
    labels_.add(this, 54, 10, 8, QStringLiteral("different days."), plain, false);

    labels_.add(this, 7, 10, 22, QStringLiteral("That results in a BootIndex of"), plain, false);
    labels_.add(this, 55, 10, 22, QString(), palette::Navy, true);
    labels_.add(this, 56, 10, 22, QStringLiteral("boots per day."), plain, false);

    labels_.add(this, 8, 10, 42, QStringLiteral("Altogether"), plain, false);
    labels_.add(this, 57, 10, 42, QString(), palette::Red, true);
    labels_.add(this, 58, 10, 42, QStringLiteral("times crashed and"), plain, false);
    labels_.add(this, 59, 10, 42, QString(), palette::Navy, true);
    labels_.add(this, 60, 10, 42, QStringLiteral("times shutdowned."), plain, false);

    labels_.add(this, 9, 10, 56, QStringLiteral("Those are"), plain, false);
    labels_.add(this, 61, 10, 56, QString(), palette::Navy, true);
    labels_.add(this, 62, 10, 56, QStringLiteral("crashs per boot and"), plain, false);
    labels_.add(this, 80, 10, 56, QString(), palette::Navy, true);
    labels_.add(this, 81, 10, 56, QStringLiteral("crashs per day."), plain, false);
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
