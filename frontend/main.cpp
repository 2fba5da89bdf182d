#include <QApplication>
#include <exception>

#include "frontend/main_window.h"
#include "frontend/message_boxes.h"
#include "frontend/viewer/splash_screen.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    kivo::gui::TSplashScreenBox* splash = kivo::gui::ShowSplashScreen();
    QApplication::setApplicationName(QStringLiteral("KIVO GUI"));
    kivo::gui::TMainForm mainForm;
    kivo::gui::CloseSplashAfterFirstShow(splash, &mainForm);
    mainForm.show();
    try {
        return QApplication::exec();
    } catch (const std::exception& error) {
        kivo::gui::ShowError(nullptr, QString::fromLocal8Bit(error.what()));
    } catch (...) {
        kivo::gui::ShowError(nullptr, QString());
    }
    return 1;
}
