#include "frontend/viewer/product_panel.h"

#include <QFrame>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>

namespace kivo::gui {
namespace {

constexpr int kMargin = 8;
constexpr QSize kLogoSize(156, 75);

const char* const kDeveloperText =
    "Developed by:\n"
    "The KIVO project team\n"
    "Kivoscope development group\n"
    "Attn. Software maintenance\n"
    "1 Example Street\n"
    "1234 AB Exampletown\n"
    "Postal address: P.O. Box 123\n"
    "1230 AA Exampletown";

const char* const kSponsorText =
    "Sponsored by:\n"
    "The KIVO project sponsors\n"
    "Surface-water exposure programme\n"
    "Attn. Programme office\n"
    "2 Sample Road\n"
    "5678 CD Sampleville\n"
    "Postal address: P.O. Box 456\n"
    "5670 AA Sampleville";

QLabel* AddLabel(QFrame* panel, const QString& name, const QString& text, QRect geometry) {
    auto* label = new QLabel(text, panel);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setGeometry(geometry);
    return label;
}

/// A concentration curve crossing a dashed threshold, the part above it shaded.
void DrawCurveAndThreshold(QPainter& painter) {
    QPainterPath curve(QPointF(6, 64));
    curve.cubicTo(22, 64, 26, 12, 42, 14);
    curve.cubicTo(56, 16, 58, 56, 74, 52);
    curve.cubicTo(88, 48, 90, 30, 104, 30);
    curve.cubicTo(120, 30, 126, 62, 150, 64);
    const qreal thresholdY = 38;
    QPainterPath above;
    above.addRect(0, 0, kLogoSize.width(), thresholdY);
    painter.fillPath(curve.intersected(above), QColor(230, 120, 60, 110));
    painter.setPen(QPen(QColor(20, 70, 150), 2.5));
    painter.drawPath(curve);
    painter.setPen(QPen(QColor(210, 60, 30), 1.5, Qt::DashLine));
    painter.drawLine(QPointF(4, thresholdY), QPointF(152, thresholdY));
}

}  // namespace

QPixmap DrawKivoLogo() {
    QPixmap logo(kLogoSize);
    logo.fill(Qt::white);
    QPainter painter(&logo);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(QRect(0, 56, kLogoSize.width(), 19), QColor(205, 228, 245));
    DrawCurveAndThreshold(painter);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(15);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(QColor(20, 70, 150));
    painter.drawText(QRect(0, 56, kLogoSize.width() - 6, 19), Qt::AlignRight | Qt::AlignVCenter,
                     QStringLiteral("KIVO"));
    painter.setPen(QPen(QColor(20, 70, 150), 1));
    painter.drawRect(QRectF(0.5, 0.5, kLogoSize.width() - 1, kLogoSize.height() - 1));
    return logo;
}

QFrame* BuildProductPanel(QWidget* parent, QSize size) {
    auto* panel = new QFrame(parent);
    panel->setObjectName(QStringLiteral("ProductPanel"));
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setLineWidth(1);
    panel->setFixedSize(size);
    QPalette palette = panel->palette();
    palette.setColor(QPalette::Window, Qt::white);
    palette.setColor(QPalette::WindowText, Qt::black);
    panel->setPalette(palette);
    panel->setAutoFillBackground(true);

    auto* logo = new QLabel(panel);
    logo->setObjectName(QStringLiteral("LogoImage"));
    logo->setPixmap(DrawKivoLogo());
    logo->setGeometry(QRect(QPoint(kMargin, kMargin), kLogoSize));

    const int textLeft = kMargin + kLogoSize.width() + 16;
    const int textWidth = size.width() - textLeft - kMargin;
    QLabel* product = AddLabel(panel, QStringLiteral("ProductLabel"),
                               QStringLiteral("KIVO - Kivoscope"), {textLeft, 16, textWidth, 22});
    QFont productFont(QStringLiteral("Arial"));
    productFont.setPixelSize(16);
    productFont.setBold(true);
    product->setFont(productFont);
    AddLabel(panel, QStringLiteral("VersionLabel"), QStringLiteral("Version 1.2.0"),
             {textLeft, 46, textWidth, 16});

    auto* line = new QFrame(panel);
    line->setObjectName(QStringLiteral("PanelLine"));
    line->setFrameStyle(QFrame::HLine | QFrame::Sunken);
    line->setGeometry(kMargin, 2 * kMargin + kLogoSize.height(), size.width() - 2 * kMargin, 2);

    const int blocksTop = 3 * kMargin + kLogoSize.height() + 2;
    const int blockWidth = (size.width() - 3 * kMargin) / 2;
    const int blockHeight = size.height() - blocksTop - kMargin;
    AddLabel(panel, QStringLiteral("DeveloperText"), QString::fromLatin1(kDeveloperText),
             {kMargin, blocksTop, blockWidth, blockHeight});
    AddLabel(panel, QStringLiteral("SponsorText"), QString::fromLatin1(kSponsorText),
             {2 * kMargin + blockWidth, blocksTop, blockWidth, blockHeight});
    return panel;
}

}  // namespace kivo::gui
