#include "frontend/viewer/splash_screen.h"

#include <QApplication>
#include <QEvent>
#include <QScreen>
#include <QTimer>

#include "frontend/viewer/product_panel.h"

namespace kivo::gui {
namespace {

constexpr int kCloseDelayMs = 1000;

void HideAndDestroyLater(TSplashScreenBox* splash) {
    QTimer::singleShot(kCloseDelayMs, splash, [splash] {
        splash->hide();
        splash->deleteLater();
    });
}

/// Watches the main window, owned by the splash window, for its first showing.
class FirstShowWatcher : public QObject {
  public:
    explicit FirstShowWatcher(TSplashScreenBox* splash) : QObject(splash), splash_(splash) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show) {
            watched->removeEventFilter(this);
            HideAndDestroyLater(splash_);
        }
        return false;
    }

  private:
    TSplashScreenBox* splash_;
};

}  // namespace

TSplashScreenBox::TSplashScreenBox() : QFrame(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("SplashScreenBox"));
    setWindowTitle(QStringLiteral("KIVO project - Kivoscope"));
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setLineWidth(2);
    QFont boxFont(QStringLiteral("MS Sans Serif"));
    boxFont.setPixelSize(11);
    setFont(boxFont);
    setFixedSize(513, 257);
    BuildProductPanel(this, QSize(497, 241))->move(8, 8);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
}

TSplashScreenBox* ShowSplashScreen() {
    auto* splash = new TSplashScreenBox;
    QObject::connect(qApp, &QCoreApplication::aboutToQuit, splash, &QObject::deleteLater);
    splash->show();
    splash->repaint();
    QApplication::processEvents();
    return splash;
}

void CloseSplashAfterFirstShow(TSplashScreenBox* splash, QWidget* mainWindow) {
    if (splash == nullptr) return;
    if (mainWindow == nullptr || mainWindow->isVisible()) {
        HideAndDestroyLater(splash);
        return;
    }
    mainWindow->installEventFilter(new FirstShowWatcher(splash));
}

void ShowSplashUntilShown(QWidget* mainWindow) {
    CloseSplashAfterFirstShow(ShowSplashScreen(), mainWindow);
}

}  // namespace kivo::gui
