#pragma once

#include <QFrame>

namespace kivo::gui {

/// The borderless start-up window with the product panel.
class TSplashScreenBox : public QFrame {
    Q_OBJECT

  public:
    /// Builds the splash window hidden, without owner.
    TSplashScreenBox();
};

/// Creates the splash window, shows and paints it at once; it is destroyed when the program
/// ends at the latest.
TSplashScreenBox* ShowSplashScreen();

/// Hides and destroys the splash window 1000 ms after the main window is first shown.
void CloseSplashAfterFirstShow(TSplashScreenBox* splash, QWidget* mainWindow);

/// Shows the splash window until 1000 ms after the main window is first shown.
void ShowSplashUntilShown(QWidget* mainWindow);

}  // namespace kivo::gui
