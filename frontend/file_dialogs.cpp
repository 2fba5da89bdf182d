#include "frontend/file_dialogs.h"

#include <QFileDialog>
#include <algorithm>

namespace kivo::gui {
namespace {

FileDialogHandler& Handler() {
    static FileDialogHandler handler;
    return handler;
}

QFileDialog::FileMode FileModeOf(FileDialogKind kind) {
    switch (kind) {
        case FileDialogKind::OpenFiles:
            return QFileDialog::ExistingFiles;
        case FileDialogKind::Folder:
            return QFileDialog::Directory;
        case FileDialogKind::OpenFile:
        case FileDialogKind::SaveFile:
            break;
    }
    return QFileDialog::AnyFile;
}

}  // namespace

void SetFileDialogHandler(FileDialogHandler handler) {
    Handler() = std::move(handler);
}

QString FileNameWithoutDirectory(const QString& path) {
#ifdef Q_OS_WIN
    const qsizetype cut =
        std::max({path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')),
                  path.lastIndexOf(QLatin1Char(':'))});
#else
    const qsizetype cut = path.lastIndexOf(QLatin1Char('/'));
#endif
    return path.mid(cut + 1);
}

QString DialogNameFilters(const QString& barSeparatedFilter) {
    const QStringList parts = barSeparatedFilter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString& description = parts[i];
        const QString pattern = QString(parts[i + 1]).replace(QLatin1Char(';'), QLatin1Char(' '));
        filters << (description.contains(QLatin1Char('('))
                        ? description
                        : description + QStringLiteral(" (") + pattern + QLatin1Char(')'));
    }
    return filters.join(QStringLiteral(";;"));
}

QStringList ShowFileDialog(QWidget* parent, FileDialogKind kind, const FileDialogRequest& request) {
    if (Handler()) return Handler()(kind, request);
    QFileDialog dialog(parent, request.title);
    dialog.setFileMode(FileModeOf(kind));
    if (kind == FileDialogKind::Folder) {
        dialog.setOption(QFileDialog::ShowDirsOnly);
        if (!request.presetPath.isEmpty()) dialog.setDirectory(request.presetPath);
    } else {
        dialog.setAcceptMode(kind == FileDialogKind::SaveFile ? QFileDialog::AcceptSave
                                                              : QFileDialog::AcceptOpen);
        // The settings files ask their own overwrite question.
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
        dialog.setNameFilters(DialogNameFilters(request.filter).split(QStringLiteral(";;")));
        if (!request.defaultSuffix.isEmpty() && request.defaultSuffix != QStringLiteral("*")) {
            dialog.setDefaultSuffix(request.defaultSuffix);
        }
        if (!request.presetPath.isEmpty()) dialog.selectFile(request.presetPath);
    }
    if (dialog.exec() != QDialog::Accepted) return {};
    return dialog.selectedFiles();
}

}  // namespace kivo::gui
