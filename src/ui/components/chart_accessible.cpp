#include "ui/components/chart_accessible.h"

#include "ui/components/chartview.h"

#include <QAccessible>
#include <QAccessibleWidget>

namespace quomble {

namespace {

QString valueText(double value) { return QString::number(value, 'g', 6); }

class ChartAccessible : public QAccessibleWidget {
public:
    explicit ChartAccessible(ChartView* chart) : QAccessibleWidget(chart, QAccessible::Chart) {}

    QString text(QAccessible::Text t) const override
    {
        const auto* chart = static_cast<const ChartView*>(widget());
        if (t == QAccessible::Name && chart->accessibleName().isEmpty())
            return QStringLiteral("Chart");
        if (t == QAccessible::Description && chart->accessibleDescription().isEmpty())
            return chartSummary(*chart);
        return QAccessibleWidget::text(t);
    }
};

QAccessibleInterface* chartInterface(const QString&, QObject* object)
{
    if (auto* chart = qobject_cast<ChartView*>(object))
        return new ChartAccessible(chart);
    return nullptr;
}

}  // namespace

void installChartAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(chartInterface);
        return true;
    }();
    (void)installed;
}

QString chartSummary(const ChartView& chart)
{
    const ChartSeries* first = nullptr;
    for (const auto& s : chart.seriesList())
        if (s->count() > 0) {
            first = s.get();
            break;
        }
    if (!first)
        return QStringLiteral("No points.");
    QString text = first->count() == 1 ? QStringLiteral("1 point, %1.").arg(first->label(0))
                                       : QStringLiteral("%1 points from %2 to %3.")
                                             .arg(first->count())
                                             .arg(first->label(0), first->label(first->count() - 1));
    for (const auto& s : chart.seriesList()) {
        if (!s->isActive() || s->count() == 0)
            continue;
        int high = 0;
        int low = 0;
        for (int i = 1; i < s->count(); ++i) {
            if (s->yValue(i) > s->yValue(high))
                high = i;
            if (s->yValue(i) < s->yValue(low))
                low = i;
        }
        if (s->yValue(high) == s->yValue(low))
            text += QStringLiteral(" %1: %2 throughout.").arg(s->title(), valueText(s->yValue(high)));
        else
            text += QStringLiteral(" %1: highest %2 at %3, lowest %4 at %5.")
                        .arg(s->title(), valueText(s->yValue(high)), s->label(high),
                             valueText(s->yValue(low)), s->label(low));
    }
    return text;
}

}  // namespace quomble
