#pragma once

#include <QDir>
#include <QFile>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include "frontend/file_dialogs.h"
#include "frontend/grid.h"
#include "frontend/main_window.h"
#include "frontend/message_boxes.h"

namespace kivo::gui::test {

/// Answers every message box while it lives and records what was shown.
class MessageRecorder {
  public:
    struct Shown {
        MessageKind kind;
        QString text;
        MessageButtons buttons;
    };

    MessageRecorder() {
        SetMessageBoxHandler([this](MessageKind kind, const QString& text, MessageButtons buttons) {
            shown.append({kind, text, buttons});
            if (!answers.isEmpty()) return answers.takeFirst();
            return buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::Cancel;
        });
    }
    ~MessageRecorder() { SetMessageBoxHandler({}); }
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    /// The texts shown, in order.
    QStringList Texts() const {
        QStringList texts;
        for (const Shown& box : shown) texts << box.text;
        return texts;
    }

    QList<Shown> shown;
    QList<MessageAnswer> answers;
};

/// Answers every file dialog while it lives (cancel when no answer is queued).
class DialogRecorder {
  public:
    struct Request {
        FileDialogKind kind;
        FileDialogRequest request;
    };

    DialogRecorder() {
        SetFileDialogHandler([this](FileDialogKind kind, const FileDialogRequest& request) {
            requests.append({kind, request});
            return answers.isEmpty() ? QStringList() : answers.takeFirst();
        });
    }
    ~DialogRecorder() { SetFileDialogHandler({}); }
    DialogRecorder(const DialogRecorder&) = delete;
    DialogRecorder& operator=(const DialogRecorder&) = delete;

    QList<Request> requests;
    QList<QStringList> answers;
};

/// Writes bytes to a file, replacing it.
inline void WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) file.write(bytes);
}

/// The bytes of a file; empty when it cannot be read.
inline QByteArray ReadBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

/// A fixture file of the front-end tests.
inline QString FixturePath(const QString& name) {
    return QDir(QStringLiteral(KIVO_TEST_DATA_DIR "/frontend")).filePath(name);
}

/// Puts the window into a state that CollectSettings accepts: one concentration file, an
/// existing output directory and one threshold.
inline void MakeCollectable(TMainForm& window, const QTemporaryDir& dir) {
    window.ComboBox_ModeSelect->setCurrentIndex(4);
    window.ComboBox_ModeSelectChange();
    const QString file = dir.filePath(QStringLiteral("a.con"));
    WriteBytes(file, "t\tc\n");
    window.InputFileGrid->setCellText(1, 0, file);
    window.InputFileGrid->setCellText(1, 1, QStringLiteral("1"));
    window.OutputDirEdit->setText(dir.path());
    window.ThresholdsGrid->setCellText(1, 1, QStringLiteral("0.1"));
}

}  // namespace kivo::gui::test
