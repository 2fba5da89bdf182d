#include "frontend/viewer/about_box.h"

#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>

#include "frontend/viewer/splash_screen.h"

using kivo::gui::TAboutBox;
using kivo::gui::TSplashScreenBox;

namespace {

QString LabelText(const QWidget& window, const char* name) {
    const auto* label = window.findChild<QLabel*>(QLatin1String(name));
    return label != nullptr ? label->text() : QStringLiteral("<no label %1>").arg(name);
}

/// Checks the product panel's texts and the product name's font.
void VerifyProductPanel(const QWidget& window) {
    QCOMPARE(LabelText(window, "ProductLabel"), QStringLiteral("KIVO - Kivoscope"));
    QCOMPARE(LabelText(window, "VersionLabel"), QStringLiteral("Version 1.2.0"));
    const QFont font = window.findChild<QLabel*>(QStringLiteral("ProductLabel"))->font();
    QCOMPARE(font.family(), QStringLiteral("Arial"));
    QCOMPARE(font.pixelSize(), 16);
    QVERIFY(font.bold());
    for (const char* block : {"DeveloperText", "SponsorText"}) {
        const QString text = LabelText(window, block);
        QCOMPARE(text.split(QLatin1Char('\n')).size(), 8);
        QVERIFY2(text.contains(QStringLiteral("KIVO")), qPrintable(text));
    }
    const auto* logo = window.findChild<QLabel*>(QStringLiteral("LogoImage"));
    QVERIFY(logo != nullptr);
    QCOMPARE(logo->pixmap().size(), QSize(156, 75));
}

TSplashScreenBox* FindSplash() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* splash = qobject_cast<TSplashScreenBox*>(widget)) return splash;
    }
    return nullptr;
}

}  // namespace

class AboutBoxTest : public QObject {
    Q_OBJECT

  private slots:
    void aboutBoxShowsProductPanel() {
        TAboutBox box;
        QCOMPARE(box.windowTitle(), QStringLiteral("About"));
        QCOMPARE(box.size(), QSize(506, 272));
        QCOMPARE(box.minimumSize(), box.maximumSize());
        VerifyProductPanel(box);
    }

    void okClosesAboutBox() {
        TAboutBox box;
        box.open();
        QVERIFY(box.isVisible());
        auto* ok = box.findChild<QPushButton*>(QStringLiteral("OKButton"));
        QVERIFY(ok != nullptr);
        QCOMPARE(ok->text(), QStringLiteral("OK"));
        QVERIFY(ok->isDefault());

        QTest::mouseClick(ok, Qt::LeftButton);

        QVERIFY(!box.isVisible());
        QCOMPARE(box.result(), int(QDialog::Accepted));
    }

    void splashShowsUntilAfterMainWindowIsShown() {
        QWidget mainWindow;
        kivo::gui::ShowSplashUntilShown(&mainWindow);
        QPointer<TSplashScreenBox> splash = FindSplash();
        QVERIFY(splash != nullptr);
        QVERIFY(splash->isVisible());
        QCOMPARE(splash->size(), QSize(513, 257));
        QVERIFY(splash->windowFlags().testFlag(Qt::FramelessWindowHint));
        VerifyProductPanel(*splash);

        QTest::qWait(200);
        QVERIFY2(splash != nullptr, "the splash window stays until the main window is shown");
        mainWindow.show();
        QVERIFY(splash != nullptr);
        QTRY_VERIFY_WITH_TIMEOUT(splash == nullptr, 5000);
    }
};

QTEST_MAIN(AboutBoxTest)
#include "about_box_test.moc"
