#include "ui/components/messages.h"

#include <QMessageBox>
#include <QStringDecoder>

namespace quomble {

namespace {

MessageHandler& handler()
{
    static MessageHandler h;
    return h;
}

}  // namespace

void setMessageHandler(MessageHandler h) { handler() = std::move(h); }

void showMessage(MessageKind kind, const QString& text, QWidget* parent)
{
    if (handler()) {
        handler()(kind, text);
        return;
    }
    const bool error = kind == MessageKind::Error;
    QMessageBox box(error ? QMessageBox::Critical : QMessageBox::Warning,
                    error ? QStringLiteral("Error") : QStringLiteral("Warning"), text,
                    error ? QMessageBox::Cancel : QMessageBox::Ok, parent);
    box.setObjectName(error ? QStringLiteral("ErrorBox") : QStringLiteral("WarningBox"));
    box.exec();
}

QString textFromCore(const std::string& text)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString decoded = utf8(QByteArrayView(text.data(), static_cast<qsizetype>(text.size())));
    if (!utf8.hasError())
        return decoded;
    QStringDecoder cp1252("windows-1252");
    if (cp1252.isValid())
        return cp1252(QByteArrayView(text.data(), static_cast<qsizetype>(text.size())));
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace quomble
