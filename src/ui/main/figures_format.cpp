#include "ui/main/figures_format.h"

#include "core/format.h"

#include <QLocale>

namespace quomble {

QString ratioTextWith(double value, const QString& decimalPoint)
{
    QString text = QString::fromStdString(ratioText(value, '.'));
    text.replace(QLatin1Char('.'), decimalPoint);
    return text;
}

QString systemRatioText(double value) { return ratioTextWith(value, QLocale::system().decimalPoint()); }

std::array<QString, 4> durationCells(std::int32_t days, int hours, int minutes, int seconds)
{
    // Split durations keep their sign in the day count alone (-10 s is -1 day 23:59:50),
    // which reads as nearly two days. A negative duration has no honest split form.
    if (days < 0)
        return {QStringLiteral("-"), QStringLiteral("-"), QStringLiteral("-"), QStringLiteral("-")};
    return {QString::number(days), QString::number(hours), QString::number(minutes), QString::number(seconds)};
}

QString dateLineText(const QString& weekday, const QString& timestamp)
{
    return weekday + QStringLiteral(", the ") + timestamp.left(10) + QStringLiteral(" at ") +
           timestamp.mid(11, 8) + QStringLiteral(" o\u00B4clock");
}

QString onClockHint(const QString& timestamp)
{
    return QStringLiteral("on ") + timestamp + QStringLiteral(" o\u00B4clock");
}

}  // namespace quomble
