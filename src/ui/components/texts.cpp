#include "ui/components/texts.h"

#include <QByteArrayView>
#include <QStringDecoder>

namespace quomble {

QString textOf(std::string_view text)
{
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

QString datePart(const Timestamp& t) { return textOf(t).left(10); }

QString timePart(const Timestamp& t) { return textOf(t).mid(11, 8); }

QString textFromCore(std::string_view text)
{
    const QByteArrayView bytes(text.data(), static_cast<qsizetype>(text.size()));
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString decoded = utf8(bytes);
    if (!utf8.hasError())
        return decoded;
    QStringDecoder cp1252("windows-1252");
    if (cp1252.isValid())
        return cp1252(bytes);
    return textOf(text);
}

}  // namespace quomble
