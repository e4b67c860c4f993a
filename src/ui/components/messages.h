#pragma once

#include <QString>

#include <functional>
#include <string>

class QWidget;

namespace quomble {

enum class MessageKind { Error, Warning, Printed };

// Every message of the program goes through here: an error box (error icon, the text, one
// Cancel button) or, for the single-instance guard only, a warning box with one OK button.
// Both are modal and wait until the user closes them.
void showMessage(MessageKind kind, const QString& text, QWidget* parent = nullptr);
inline void showError(const QString& text, QWidget* parent = nullptr)
{
    showMessage(MessageKind::Error, text, parent);
}

// A message for whoever started the program, when nobody may be at the screen to close a
// box (the system ends the program): "QuombleV: <text>" on standard error, at once.
void printMessage(const QString& text);

// Replaces the boxes (and the printed messages, as MessageKind::Printed), e.g. to record the
// messages instead of waiting for a user.
// An empty handler brings the boxes back. Returns the handler it replaces.
using MessageHandler = std::function<void(MessageKind, const QString&)>;
MessageHandler setMessageHandler(MessageHandler handler);

}  // namespace quomble
