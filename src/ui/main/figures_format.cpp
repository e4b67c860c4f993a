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
