#include "frontend/message_boxes.h"

#include <QMessageBox>

namespace kivo::gui {
namespace {

MessageBoxHandler& Handler() {
    static MessageBoxHandler handler;
    return handler;
}

QString TitleOf(MessageKind kind) {
    switch (kind) {
        case MessageKind::Information:
            return QStringLiteral("Information");
        case MessageKind::Error:
            return QStringLiteral("Error");
        case MessageKind::Confirm:
            return QStringLiteral("Confirm");
        case MessageKind::Plain:
        case MessageKind::ConversionError:
            break;
    }
    return QStringLiteral("KIVO GUI");
}

QMessageBox::Icon IconOf(MessageKind kind) {
    switch (kind) {
        case MessageKind::Information:
            return QMessageBox::Information;
        case MessageKind::Error:
        case MessageKind::ConversionError:
            return QMessageBox::Critical;
        case MessageKind::Confirm:
            return QMessageBox::Question;
        case MessageKind::Plain:
            break;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

void SetMessageBoxHandler(MessageBoxHandler handler) {
    Handler() = std::move(handler);
}

MessageAnswer ShowMessage(QWidget* parent, MessageKind kind, const QString& text,
                          MessageButtons buttons) {
    if (Handler()) return Handler()(kind, text, buttons);
    QMessageBox box(IconOf(kind), TitleOf(kind), text, QMessageBox::NoButton, parent);
    switch (buttons) {
        case MessageButtons::Ok:
            box.setStandardButtons(QMessageBox::Ok);
            break;
        case MessageButtons::YesNo:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            break;
        case MessageButtons::YesNoCancel:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            break;
    }
    switch (box.exec()) {
        case QMessageBox::Yes:
            return MessageAnswer::Yes;
        case QMessageBox::No:
            return MessageAnswer::No;
        case QMessageBox::Cancel:
            return MessageAnswer::Cancel;
        default:
            break;
    }
    return buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::Cancel;
}

void ShowInformation(QWidget* parent, const QString& text) {
    ShowMessage(parent, MessageKind::Information, text);
}

void ShowError(QWidget* parent, const QString& text) {
    ShowMessage(parent, MessageKind::Error, text);
}

MessageAnswer AskConfirmation(QWidget* parent, const QString& text, MessageButtons buttons) {
    return ShowMessage(parent, MessageKind::Confirm, text, buttons);
}

}  // namespace kivo::gui
