#pragma once

#include "support/clock.h"
#include "support/temp_folder.h"
#include "ui/components/messages.h"
#include "ui/main/tform1.h"

#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

namespace quomble::testing {

// Records the messages instead of showing boxes, for as long as it lives; then the recorder
// before it records again.
class MessageRecorder {
public:
    MessageRecorder()
        : previous_(setMessageHandler(
              [this](MessageKind kind, const QString& text) { messages.emplace_back(kind, text); }))
    {
    }
    ~MessageRecorder() { setMessageHandler(std::move(previous_)); }
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;
    QStringList texts() const
    {
        QStringList out;
        for (const auto& m : messages)
            out << m.second;
        return out;
    }
    std::vector<std::pair<MessageKind, QString>> messages;

private:
    MessageHandler previous_;
};

// The program's folder in a fresh temporary folder: the log and the settings file lie here.
class AppFolder {
public:
    std::string appDir() const { return folder_.withSeparator(); }
    QString path() const { return QString::fromStdString(folder_.path().string()); }
    QString file(const QString& name) const { return path() + QLatin1Char('/') + name; }
    void writeLog(const QStringList& lines) const
    {
        write(QStringLiteral("Quomble.log"), lines.join("\r\n") + "\r\n");
    }
    void write(const QString& name, const QString& content) const
    {
        writeFile(folder_ / name.toStdString(), content.toLatin1().toStdString());
    }
    QString read(const QString& name) const
    {
        return QString::fromLatin1(readFile(folder_ / name.toStdString()));
    }

private:
    TempFolder folder_;
};

// The lines of tests/data/week.log: five boots at the test clock's 07.12.2026 12:00:00 (two
// shutdowns on day 1, a crash on day 2, a shutdown on day 3, the running boot on day 7).
inline QStringList knownLog()
{
    return QString::fromLatin1(testData("week.log")).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
}

// A main window over the log of a fresh program folder, at the test's clock, with its
// messages recorded.
class WindowFixture : public ::testing::Test {
protected:
    // The window, made at the first call (after the test has written its files).
    TForm1& window()
    {
        if (!form_)
            form_ = std::make_unique<TForm1>(programFilesIn(dir.appDir()), clock.clock());
        return *form_;
    }

    AppFolder dir;
    SettableClock clock;
    MessageRecorder messages;

private:
    std::unique_ptr<TForm1> form_;
};

}  // namespace quomble::testing
