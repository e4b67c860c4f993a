#include "ui/components/messages.h"

#include <QMessageBox>

#include <cstdio>
#include <utility>

namespace quomble {

namespace {

MessageHandler& handler()
{
    static MessageHandler h;
    return h;
}

}  // namespace

MessageHandler setMessageHandler(MessageHandler h) { return std::exchange(handler(), std::move(h)); }

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

void printMessage(const QString& text)
{
    if (handler()) {
        handler()(MessageKind::Printed, text);
        return;
    }
    const QByteArray line = (QStringLiteral("QuombleV: ") + text + QLatin1Char('\n')).toLocal8Bit();
    std::fwrite(line.constData(), 1, static_cast<std::size_t>(line.size()), stderr);
    std::fflush(stderr);
}

}  // namespace quomble
