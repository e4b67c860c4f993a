#include "ui/components/labels.h"

#include "ui/components/palette.h"

#include <QFontDatabase>

namespace quomble {

QFont sansFont(int pixelHeight, bool bold)
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelHeight);
    // The layouts were made for a narrow sans-serif; a semi-condensed width keeps the
    // texts of the common desktop fonts within their places.
    font.setStretch(QFont::SemiCondensed);
    font.setBold(bold);
    return font;
}

QLabel* makeLabel(QWidget* parent, const QString& name, int x, int y, const QString& text,
                  const LabelStyle& style)
{
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    QFont font = style.pixelHeight > 0 ? sansFont(style.pixelHeight) : parent->font();
    font.setBold(style.bold);
    font.setUnderline(style.underline);
    label->setFont(font);
    if (style.color.isValid())
        palette::setTextColour(label, style.color);
    label->move(x, y);
    setLabelText(label, text);
    return label;
}

void setLabelText(QLabel* label, const QString& text)
{
    label->setText(text);
    label->adjustSize();
}

void setHint(QWidget* widget, const QString& hint)
{
    widget->setToolTip(hint);
    widget->setToolTipDuration(60000);
}

}  // namespace quomble
