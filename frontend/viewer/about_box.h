#pragma once

#include <QDialog>

namespace kivo::gui {

/// The fixed-size "About" dialog: product panel and an OK button that closes it.
class TAboutBox : public QDialog {
    Q_OBJECT

  public:
    /// Builds the dialog hidden; show it modally with exec().
    explicit TAboutBox(QWidget* parent = nullptr);
};

}  // namespace kivo::gui
