#pragma once

#include "core/datetime.h"
#include "ui/components/messages.h"

#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace quomble::testing {

// Records the messages instead of showing boxes, for as long as it lives.
class MessageRecorder {
public:
    MessageRecorder()
    {
        setMessageHandler(
            [this](MessageKind kind, const QString& text) { messages.emplace_back(kind, text); });
    }
    ~MessageRecorder() { setMessageHandler({}); }
    QStringList texts() const
    {
        QStringList out;
        for (const auto& m : messages)
            out << m.second;
        return out;
    }
    std::vector<std::pair<MessageKind, QString>> messages;
};

// A clock the test moves by hand.
struct ManualClock {
    std::shared_ptr<CivilDateTime> now =
        std::make_shared<CivilDateTime>(CivilDateTime{2026, 12, 7, 12, 0, 0});
    Clock clock() const
    {
        auto n = now;
        return [n] { return *n; };
    }
};

// A program directory in a temporary folder, with its trailing separator.
class AppFolder {
public:
    std::string appDir() const { return dir.path().toStdString() + "/"; }
    QString file(const QString& name) const { return dir.filePath(name); }
    void writeLog(const QStringList& lines) const
    {
        write(QStringLiteral("Quomble.log"), lines.join("\r\n") + "\r\n");
    }
    void write(const QString& name, const QString& content) const
    {
        QFile f(file(name));
        f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        f.write(content.toLatin1());
    }
    QString read(const QString& name) const
    {
        QFile f(file(name));
        if (!f.open(QIODevice::ReadOnly))
            return QString();
        return QString::fromLatin1(f.readAll());
    }
    QTemporaryDir dir;
};

// A log of five boots at the test clock's 07.12.2026 12:00:00: two shutdowns, a crash,
// a shutdown and the running boot.
inline QStringList knownLog()
{
    return {"01.12.2026 08:00:00 01.12.2026 10:00:00", "01.12.2026 12:00:00 01.12.2026 13:30:00",
            "02.12.2026 09:00:00 ", "03.12.2026 09:00:00 03.12.2026 11:00:00", "07.12.2026 11:00:00 "};
}

}  // namespace quomble::testing
