#pragma once

#include <QPixmap>
#include <QSize>

class QFrame;
class QWidget;

namespace kivo::gui {

/// Draws the product logo, 156 x 75 pixels.
QPixmap DrawKivoLogo();

/// Builds the white product panel shared by the About box and the splash window: logo, product
/// name, version, a line and the developer and sponsor address blocks.
QFrame* BuildProductPanel(QWidget* parent, QSize size);

}  // namespace kivo::gui
