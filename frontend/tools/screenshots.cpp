#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <cstdio>

#include "frontend/main_window.h"
#include "frontend/viewer/about_box.h"

namespace {

bool SaveWidget(QWidget& widget, const QDir& directory, const QString& fileName) {
    widget.show();
    QApplication::processEvents();
    const QString path = directory.filePath(fileName);
    if (!widget.grab().save(path, "PNG")) {
        std::fprintf(stderr, "Cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

}  // namespace

// Renders the windows of the front end into the directory given as the only argument.
int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("KIVO GUI"));
    if (argc != 2) {
        std::fprintf(stderr, "Usage: kivo_screenshots <directory>\n");
        return 2;
    }
    const QDir directory(QString::fromLocal8Bit(argv[1]));
    if (!directory.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "Cannot create %s\n", argv[1]);
        return 1;
    }
    kivo::gui::TMainForm mainForm;
    const bool mainSaved = SaveWidget(mainForm, directory, QStringLiteral("main_window.png"));
    kivo::gui::TAboutBox aboutBox;
    const bool aboutSaved = SaveWidget(aboutBox, directory, QStringLiteral("about_box.png"));
    return mainSaved && aboutSaved ? 0 : 1;
}
