#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class QWidget;

namespace kivo::gui {

enum class FileDialogKind { OpenFile, OpenFiles, SaveFile, Folder };

/// What a file dialog is asked to show. The filter uses pairs of description and pattern
/// separated by "|" ("Settings file (*.kvo)|*.kvo|All files (*.*)|*.*").
struct FileDialogRequest {
    QString title;
    QString defaultSuffix;
    QString filter;
    QString presetPath;
};

/// Shows the dialog and returns the chosen paths (empty when cancelled). Every file dialog
/// of the front end goes through here, so tests can answer without a modal loop.
QStringList ShowFileDialog(QWidget* parent, FileDialogKind kind, const FileDialogRequest& request);

/// Replaces the dialogs (tests): the handler gets kind and request and returns the paths.
using FileDialogHandler = std::function<QStringList(FileDialogKind, const FileDialogRequest&)>;
void SetFileDialogHandler(FileDialogHandler handler);

/// The file name of a path without its directory (the text after the last separator).
QString FileNameWithoutDirectory(const QString& path);

/// The "|"-separated filter as the dialogs of this toolkit expect it ("a (*.x);;b (*.*)").
QString DialogNameFilters(const QString& barSeparatedFilter);

}  // namespace kivo::gui
