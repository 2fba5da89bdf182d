#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace kivo::gui {

/// The kinds of message box: titles "Information", "Error", "Confirm" and "KIVO GUI"; a
/// conversion error has the error icon and the title "KIVO GUI".
enum class MessageKind { Information, Error, Confirm, Plain, ConversionError };
/// The buttons a box offers and the answer it gives.
enum class MessageButtons { Ok, YesNo, YesNoCancel };
enum class MessageAnswer { Ok, Yes, No, Cancel };

/// Shows a modal message box and returns the answer. Every box of the front end goes through
/// here, so tests can answer without a modal loop (SetMessageBoxHandler).
MessageAnswer ShowMessage(QWidget* parent, MessageKind kind, const QString& text,
                          MessageButtons buttons = MessageButtons::Ok);

/// Replaces the boxes (tests): the handler gets kind, text and buttons and returns the answer.
using MessageBoxHandler = std::function<MessageAnswer(MessageKind, const QString&, MessageButtons)>;
void SetMessageBoxHandler(MessageBoxHandler handler);

/// Shortcuts for the common boxes.
void ShowInformation(QWidget* parent, const QString& text);
void ShowError(QWidget* parent, const QString& text);
MessageAnswer AskConfirmation(QWidget* parent, const QString& text, MessageButtons buttons);

}  // namespace kivo::gui
