#include "frontend/main_window.h"

#include <QAbstractButton>
#include <QAction>
#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QtTest>

#include "frontend/grid.h"
#include "frontend/number_display.h"
#include "frontend_test_support.h"

using namespace kivo::gui;
using namespace kivo::gui::test;

Q_DECLARE_METATYPE(kivo::gui::MessageKind)

class MainWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void startUpState() {
        TMainForm window;
        QCOMPARE(window.windowTitle(), QStringLiteral("KIVO GUI"));
        QCOMPARE(window.LOQEdit->text(), QStringLiteral("1.0000E-10"));
        QCOMPARE(window.UserDefinedPercentileSpin->value(), 95);
        QCOMPARE(window.UserDefinedWindowSizeSpin->value(), 56);
        QCOMPARE(window.EvaluationPeriodStartSpin->value(), 0);
        QCOMPARE(window.EvaluationPeriodEndSpin->value(), 365);
        QVERIFY(!window.EvaluationPeriodStartSpin->isEnabled());
        QVERIFY(!window.EvaluationPeriodEndSpin->isEnabled());
        QCOMPARE(window.UnitButtons->checkedId(), 0);
        QCOMPARE(window.Edit_UnitString->text(), QStringLiteral("mg/L"));
        QCOMPARE(window.Edit_convFactor->text(), QStringLiteral("1"));
        QVERIFY(!window.Edit_UnitString->isEnabled());
        QVERIFY(!window.Edit_convFactor->isEnabled());
        QCOMPARE(window.ComboBox_ModeSelect->currentIndex(), 0);
        QCOMPARE(window.Settings().dataSource, 3);
        QCOMPARE(window.Settings().settingsFile, QStringLiteral("Noname.kvo"));
        QVERIFY(!window.Settings().settingsSaved);
        QVERIFY(!window.ViewResults->isEnabled());
        QCOMPARE(window.ThresholdsGrid->cellText(0, 1), QStringLiteral("Threshold concentration"));
        QCOMPARE(window.ThresholdsGrid->cellText(50, 0), QStringLiteral("50"));
        QCOMPARE(window.InputFileGrid->cellText(0, 0), QStringLiteral("Filename"));
        QCOMPARE(window.InputFileGrid->cellText(0, 1), QStringLiteral("Segment"));
        QCOMPARE(window.minimumSize(), QSize(780, 469));
    }

    void numberDisplay_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("digits");
        QTest::addColumn<QString>("scientific");
        QTest::addColumn<QString>("general");
        QTest::newRow("thousandth") << 0.001 << 5 << "1.0000E-3"
                                    << "0.001";
        QTest::newRow("default LOQ") << 1e-10 << 5 << "1.0000E-10"
                                     << "1E-10";
        QTest::newRow("150") << 150.0 << 5 << "1.5000E+2"
                             << "150";
        QTest::newRow("1000, two digits") << 1000.0 << 2 << "1.0E+3"
                                          << "1E3";
        QTest::newRow("1234, two digits") << 1234.0 << 2 << "1.2E+3"
                                          << "1.2E3";
        QTest::newRow("1000, five digits") << 1000.0 << 5 << "1.0000E+3"
                                           << "1000";
        QTest::newRow("half") << 0.5 << 5 << "5.0000E-1"
                              << "0.5";
        QTest::newRow("smallest plain") << 0.0001 << 5 << "1.0000E-4"
                                        << "0.0001";
        QTest::newRow("below plain") << 0.00001234 << 5 << "1.2340E-5"
                                     << "1.234E-5";
        QTest::newRow("too many digits") << 123456.0 << 5 << "1.2346E+5"
                                         << "1.2346E5";
        QTest::newRow("rounds up") << 99999.5 << 5 << "1.0000E+5"
                                   << "1E5";
        QTest::newRow("negative") << -2.5 << 5 << "-2.5000E+0"
                                  << "-2.5";
        QTest::newRow("zero") << 0.0 << 5 << "0.0000E+0"
                              << "0";
    }

    void numberDisplay() {
        QFETCH(double, value);
        QFETCH(int, digits);
        QTEST(ScientificText(value, digits), "scientific");
        QTEST(GeneralText(value, digits), "general");
    }

    void numberParsing_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("german");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<double>("value");
        QTest::newRow("plain") << "0.5" << false << true << 0.5;
        QTest::newRow("spaces around") << " 1e3 " << false << true << 1000.0;
        QTest::newRow("leading point") << ".25" << false << true << 0.25;
        QTest::newRow("signed exponent") << "-1.5E-2" << false << true << -0.015;
        QTest::newRow("text") << "abc" << false << false << 0.0;
        QTest::newRow("empty") << "" << false << false << 0.0;
        QTest::newRow("exponent without digits") << "1e" << false << false << 0.0;
        QTest::newRow("trailing text") << "0.5x" << false << false << 0.0;
        QTest::newRow("comma locale") << "0,5" << true << true << 0.5;
        QTest::newRow("point under comma locale") << "0.5" << true << false << 0.0;
    }

    void numberParsing() {
        QFETCH(QString, text);
        QFETCH(bool, german);
        QFETCH(bool, valid);
        QFETCH(double, value);
        const QLocale locale = german ? QLocale(QLocale::German, QLocale::Germany) : QLocale::c();
        const std::optional<double> parsed = ParseLocaleNumber(text, locale);
        QCOMPARE(parsed.has_value(), valid);
        if (valid) QCOMPARE(*parsed, value);
    }

    void commaLocaleDisplay() {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        {
            TMainForm window;
            QCOMPARE(window.LOQEdit->text(), QStringLiteral("1,0000E-10"));
        }
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    }

    void thresholdRowsCompactedAndNormalised() {
        MessageRecorder messages;
        QTemporaryDir dir;
        TMainForm window;
        MakeCollectable(window, dir);
        window.ThresholdsGrid->setCellText(1, 1, QStringLiteral("0.001"));
        window.ThresholdsGrid->setCellText(2, 1, QStringLiteral("  "));
        window.ThresholdsGrid->setCellText(3, 1, QStringLiteral("0.5"));
        QVERIFY(window.CollectSettings());
        QCOMPARE(window.Settings().thresholdLevels, (std::vector<double>{0.001, 0.5}));
        QCOMPARE(window.ThresholdsGrid->cellText(1, 1), QStringLiteral("1.0000E-3"));
        QCOMPARE(window.ThresholdsGrid->cellText(2, 1), QStringLiteral("5.0000E-1"));
        QCOMPARE(window.ThresholdsGrid->cellText(3, 1), QString());
        QVERIFY(messages.shown.isEmpty());
    }

    void inputRowsCompacted() {
        MessageRecorder messages;
        QTemporaryDir dir;
        TMainForm window;
        window.ComboBox_ModeSelect->setCurrentIndex(3);
        window.ComboBox_ModeSelectChange();
        const QString first = dir.filePath(QStringLiteral("00001d_pa.cwa"));
        const QString second = dir.filePath(QStringLiteral("00001p_pa.cwa"));
        WriteBytes(first, "x");
        WriteBytes(second, "x");
        window.InputFileGrid->setCellText(1, 0, first);
        window.InputFileGrid->setCellText(1, 1, QStringLiteral("10"));
        window.InputFileGrid->setCellText(3, 0,
                                          QStringLiteral(" ") + second + QStringLiteral("\t"));
        window.InputFileGrid->setCellText(3, 1, QStringLiteral("1"));
        window.OutputDirEdit->setText(dir.path());
        window.ThresholdsGrid->setCellText(1, 1, QStringLiteral("1"));
        // A path with blanks around it names no file.
        QVERIFY(!window.CollectSettings());
        QCOMPARE(messages.Texts(),
                 QStringList{QStringLiteral("File '00001p_pa.cwa\t' not found!")});
        window.InputFileGrid->setCellText(3, 0, second);
        QVERIFY(window.CollectSettings());
        QCOMPARE(window.Settings().inputFiles.size(), std::size_t(2));
        QCOMPARE(window.Settings().inputFiles[1].fileName, second);
        QCOMPARE(window.Settings().inputFiles[1].segment, 1);
        QCOMPARE(window.InputFileGrid->cellText(2, 0), second);
        QCOMPARE(window.InputFileGrid->cellText(2, 1), QStringLiteral("1"));
        QCOMPARE(window.InputFileGrid->cellText(3, 0), QString());
    }

    void collectFailures_data() {
        QTest::addColumn<QString>("failure");
        QTest::addColumn<kivo::gui::MessageKind>("kind");
        QTest::addColumn<QString>("text");
        QTest::newRow("no input file")
            << "no input" << MessageKind::Information << "Please select one or more input files!";
        QTest::newRow("missing input file")
            << "missing input" << MessageKind::Information << "File 'gone.con' not found!";
        QTest::newRow("segment not whole") << "bad segment" << MessageKind::Error
                                           << "Invalid segment '1.5' given for file 'a.cwa'.";
        QTest::newRow("no output directory")
            << "no output" << MessageKind::Information << "Please select an output directory!";
        QTest::newRow("missing output directory")
            << "missing output" << MessageKind::Information
            << "Directory '/no/such/kivo/dir' does not exist. Please select a valid output "
               "directory!";
        QTest::newRow("equal period, complete series")
            << "period" << MessageKind::Plain << "Invalid evaluation period!";
        QTest::newRow("LOQ no number")
            << "loq" << MessageKind::Information << "'abc' (LOQ) is not a valid float number!";
        QTest::newRow("threshold no number") << "threshold" << MessageKind::ConversionError
                                             << "'0.1x' is not a valid floating point value";
        QTest::newRow("no substance")
            << "substance" << MessageKind::Information << "No substance selected!";
    }

    void collectFailures() {
        QFETCH(QString, failure);
        QFETCH(kivo::gui::MessageKind, kind);
        QFETCH(QString, text);
        MessageRecorder messages;
        QTemporaryDir dir;
        TMainForm window;
        MakeCollectable(window, dir);
        if (failure == QStringLiteral("no input")) {
            window.InputFileGrid->setCellText(1, 0, QStringLiteral(" \t"));
        } else if (failure == QStringLiteral("missing input")) {
            window.InputFileGrid->setCellText(2, 0, dir.filePath(QStringLiteral("gone.con")));
        } else if (failure == QStringLiteral("bad segment")) {
            window.ComboBox_ModeSelect->setCurrentIndex(3);
            window.ComboBox_ModeSelectChange();
            WriteBytes(dir.filePath(QStringLiteral("a.cwa")), "x");
            window.InputFileGrid->setCellText(1, 0, dir.filePath(QStringLiteral("a.cwa")));
            window.InputFileGrid->setCellText(1, 1, QStringLiteral("1.5"));
        } else if (failure == QStringLiteral("no output")) {
            window.OutputDirEdit->clear();
        } else if (failure == QStringLiteral("missing output")) {
            window.OutputDirEdit->setText(QStringLiteral("/no/such/kivo/dir"));
        } else if (failure == QStringLiteral("period")) {
            window.EvaluationPeriodStartSpin->setValue(10);
            window.EvaluationPeriodEndSpin->setValue(10);
        } else if (failure == QStringLiteral("loq")) {
            window.LOQEdit->setText(QStringLiteral("abc"));
        } else if (failure == QStringLiteral("threshold")) {
            window.ThresholdsGrid->setCellText(1, 1, QStringLiteral("2"));
            window.ThresholdsGrid->setCellText(3, 1, QStringLiteral("0.1x"));
        } else if (failure == QStringLiteral("substance")) {
            window.ComboBox_ModeSelect->setCurrentIndex(1);
            window.ComboBox_ModeSelectChange();
            WriteBytes(dir.filePath(QStringLiteral("a.out")), "x");
            window.InputFileGrid->setCellText(1, 0, dir.filePath(QStringLiteral("a.out")));
            window.InputFileGrid->setCellText(1, 1, QStringLiteral("10"));
        }
        QVERIFY(!window.CollectSettings());
        QCOMPARE(messages.shown.size(), 1);
        QCOMPARE(messages.shown[0].kind, kind);
        QCOMPARE(messages.shown[0].text, text);
        if (failure == QStringLiteral("threshold")) {
            // The values read before the bad one stay; the grid is not rewritten.
            QCOMPARE(window.Settings().thresholdLevels, std::vector<double>{2.0});
            QCOMPARE(window.ThresholdsGrid->cellText(1, 1), QStringLiteral("2"));
        }
    }

    void concentrationFilesNeedNoSegment() {
        MessageRecorder messages;
        QTemporaryDir dir;
        TMainForm window;
        MakeCollectable(window, dir);
        window.InputFileGrid->setCellText(1, 1, QString());
        window.ComboBox_Substance->setEditText(QStringLiteral("MySubst"));
        QVERIFY(window.CollectSettings());
        QCOMPARE(window.Settings().inputFiles[0].segment, -1);
        QCOMPARE(window.Settings().substanceSelection, QString());
    }

    void unitRules() {
        MessageRecorder messages;
        TMainForm window;
        window.UnitButtons->button(1)->click();
        QCOMPARE(window.Edit_UnitString->text(), QStringLiteral("µg/L"));
        QCOMPARE(window.Edit_convFactor->text(), QStringLiteral("1000"));
        QCOMPARE(window.Settings().unitFactor, 1000.0f);
        QCOMPARE(window.Settings().unitId, 1);

        window.Settings().unitFactor = 1234.0f;
        window.UnitButtons->button(2)->click();
        QCOMPARE(window.Edit_convFactor->text(), QStringLiteral("1.2E3"));
        QVERIFY(window.Edit_convFactor->isEnabled());
        QVERIFY(window.Edit_UnitString->isEnabled());
        QCOMPARE(window.Edit_UnitString->text(), QStringLiteral("µg/L"));

        window.Edit_UnitString->setText(QStringLiteral("ng/L"));
        QCOMPARE(window.Settings().unitName, QStringLiteral("ng/L"));
        window.Edit_convFactor->setText(QStringLiteral("0.5"));
        window.Edit_convFactorExit();
        QCOMPARE(window.Settings().unitFactor, 0.5f);
        QCOMPARE(window.Edit_convFactor->text(), QStringLiteral("0.5"));
        QVERIFY(messages.shown.isEmpty());

        window.Settings().settingsSaved = true;
        window.Edit_convFactor->setText(QStringLiteral("abc"));
        window.Edit_convFactorExit();
        QCOMPARE(messages.Texts(),
                 QStringList{QStringLiteral("Please enter a number as conversion factor!")});
        QCOMPARE(messages.shown[0].kind, MessageKind::Plain);
        QCOMPARE(window.UnitButtons->checkedId(), 0);
        QCOMPARE(window.Settings().unitFactor, 1.0f);
        QCOMPARE(window.Settings().unitName, QStringLiteral("mg/L"));
        QCOMPARE(window.Edit_convFactor->text(), QStringLiteral("1"));
        QVERIFY(!window.Edit_convFactor->isEnabled());
        QVERIFY(!window.Settings().settingsSaved);
    }

    void periodSpinRules() {
        TMainForm window;
        window.EvaluationPeriodCombo->setCurrentIndex(1);
        emit window.EvaluationPeriodCombo->activated(1);
        QVERIFY(window.EvaluationPeriodStartSpin->isEnabled());
        QVERIFY(window.EvaluationPeriodEndSpin->isEnabled());

        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        const auto moveFocus = [](QWidget* to) {
            to->setFocus();
            QTRY_VERIFY(to->hasFocus());
        };

        window.Settings().settingsSaved = true;
        moveFocus(window.EvaluationPeriodStartSpin);
        window.EvaluationPeriodStartSpin->setValue(400);
        moveFocus(window.LOQEdit);
        QCOMPARE(window.EvaluationPeriodEndSpin->value(), 400);
        QVERIFY(!window.Settings().settingsSaved);

        moveFocus(window.EvaluationPeriodEndSpin);
        window.EvaluationPeriodEndSpin->setValue(100);
        moveFocus(window.LOQEdit);
        QCOMPARE(window.EvaluationPeriodStartSpin->value(), 100);

        // Another window taking the focus does not leave the spin; the next control does.
        window.Settings().settingsSaved = true;
        moveFocus(window.EvaluationPeriodStartSpin);
        window.EvaluationPeriodStartSpin->setValue(500);
        {
            QWidget other;
            other.show();
            other.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&other));
        }
        QCOMPARE(window.EvaluationPeriodEndSpin->value(), 100);
        QVERIFY(window.Settings().settingsSaved);
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        moveFocus(window.EvaluationPeriodStartSpin);
        moveFocus(window.LOQEdit);
        QCOMPARE(window.EvaluationPeriodEndSpin->value(), 500);

        window.EvaluationPeriodStartSpin->setValue(5000000);
        QCOMPARE(window.EvaluationPeriodStartSpin->value(), 999999);

        window.EvaluationPeriodCombo->setCurrentIndex(0);
        emit window.EvaluationPeriodCombo->activated(0);
        QVERIFY(!window.EvaluationPeriodStartSpin->isEnabled());
    }

    void loadedPercentileIsClamped() {
        MessageRecorder messages;
        QTemporaryDir dir;
        TMainForm window;
        window.Settings().userPercentile = 100;
        window.ShowSettings();
        QCOMPARE(window.UserDefinedPercentileSpin->value(), 99);
        MakeCollectable(window, dir);
        QVERIFY(window.CollectSettings());
        QCOMPARE(window.Settings().userPercentile, 99);
    }

    void spinTextThatIsNoNumberReadsAsMinimum() {
        MessageRecorder messages;
        QTemporaryDir dir;
        TMainForm window;
        MakeCollectable(window, dir);
        window.UserDefinedWindowSizeSpin->findChild<QLineEdit*>()->clear();
        window.EvaluationPeriodStartSpin->setValue(10);
        window.EvaluationPeriodStartSpin->findChild<QLineEdit*>()->clear();
        QVERIFY(window.CollectSettings());
        QCOMPARE(window.Settings().userWindowSize, 1);
        QCOMPARE(window.UserDefinedWindowSizeSpin->text(), QStringLiteral("1"));
        QCOMPARE(window.Settings().periodStart, 0);
        QCOMPARE(window.EvaluationPeriodStartSpin->text(), QStringLiteral("0"));
    }

    void fileNameColumnLeavesRoomForSegmentsOfOutFilesOnly_data() {
        QTest::addColumn<int>("dataSource");
        QTest::addColumn<int>("margin");
        QTest::newRow("cwa") << 0 << 23;
        QTest::newRow("con") << 1 << 23;
        QTest::newRow("4.4.3") << 2 << 87;
        QTest::newRow("5.5.3") << 3 << 87;
    }

    void fileNameColumnLeavesRoomForSegmentsOfOutFilesOnly() {
        QFETCH(int, dataSource);
        QFETCH(int, margin);
        TMainForm window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.Settings().dataSource = dataSource;
        window.ShowSettings();
        QVERIFY(window.InputFileGrid->width() > 200);
        QCOMPARE(window.InputFileGrid->columnWidth(0), window.InputFileGrid->width() - margin);
    }

    void leavingFactorEditTakesFactorAsShown() {
        MessageRecorder messages;
        TMainForm window;
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        window.Settings().unitFactor = 1234.0f;
        window.UnitButtons->button(2)->click();
        QCOMPARE(window.Edit_convFactor->text(), QStringLiteral("1.2E3"));
        window.Settings().settingsSaved = true;
        window.Edit_convFactor->setFocus();
        QTRY_VERIFY(window.Edit_convFactor->hasFocus());
        window.LOQEdit->setFocus();
        QTRY_VERIFY(window.LOQEdit->hasFocus());
        QCOMPARE(window.Settings().unitFactor, 1200.0f);
        QVERIFY(!window.Settings().settingsSaved);

        // Enter does not leave the edit.
        window.Edit_convFactor->setFocus();
        QTRY_VERIFY(window.Edit_convFactor->hasFocus());
        window.Edit_convFactor->setText(QStringLiteral("abc"));
        QTest::keyClick(window.Edit_convFactor, Qt::Key_Return);
        QVERIFY(messages.shown.isEmpty());
        window.LOQEdit->setFocus();
        QTRY_VERIFY(window.LOQEdit->hasFocus());
        QCOMPARE(messages.Texts(),
                 QStringList{QStringLiteral("Please enter a number as conversion factor!")});
        QCOMPARE(window.UnitButtons->checkedId(), 0);
    }

    void showSettingsSetsUpInputSide_data() {
        QTest::addColumn<int>("dataSource");
        QTest::addColumn<QString>("extension");
        QTest::addColumn<QString>("filter");
        QTest::addColumn<bool>("segmentColumn");
        QTest::addColumn<bool>("substanceEnabled");
        QTest::newRow("cwa") << 0 << "cwa"
                             << "TOXSWA concentration file (*.cwa)|*.cwa|All files (*.*)|*.*"
                             << true << false;
        QTest::newRow("con") << 1 << "con"
                             << "Concentration file (*.con)|*.con|All files (*.*)|*.*" << false
                             << false;
        QTest::newRow("4.4.3")
            << 2 << "out"
            << "TOXSWA 4.4.3 concentration file (*.out)|*.out|All files (*.*)|*.*" << true << true;
        QTest::newRow("5.5.3")
            << 3 << "out"
            << "TOXSWA 5.5.3 concentration file (*.out)|*.out|All files (*.*)|*.*" << true << true;
    }

    void showSettingsSetsUpInputSide() {
        QFETCH(int, dataSource);
        QFETCH(bool, segmentColumn);
        QFETCH(bool, substanceEnabled);
        TMainForm window;
        window.Settings().dataSource = dataSource;
        window.Settings().substanceSelection = QStringLiteral("MySubst");
        window.Settings().inputFiles = {{QStringLiteral("/data/run.x"), 7}};
        window.ShowSettings();
        QTEST(window.AddFileDefaultExtension(), "extension");
        QTEST(window.AddFileFilter(), "filter");
        QCOMPARE(!window.InputFileGrid->isColumnHidden(1), segmentColumn);
        QCOMPARE(window.InputFileGrid->cellText(0, 1),
                 segmentColumn ? QStringLiteral("Segment") : QString());
        QCOMPARE(window.InputFileGrid->cellText(1, 0), QStringLiteral("/data/run.x"));
        QCOMPARE(window.InputFileGrid->cellText(1, 1), QStringLiteral("7"));
        QCOMPARE(window.ComboBox_Substance->isEnabled(), substanceEnabled);
        QCOMPARE(window.RadioGroup_Hour->isEnabled(), substanceEnabled);
        if (substanceEnabled) {
            QCOMPARE(window.ComboBox_Substance->count(), 1);
            QCOMPARE(window.ComboBox_Substance->currentText(), QStringLiteral("MySubst"));
        }
    }

    void showSettingsInformsAboutReversedPeriod() {
        MessageRecorder messages;
        TMainForm window;
        window.Settings().evaluationPeriod = 1;
        window.Settings().periodStart = 200;
        window.Settings().periodEnd = 100;
        window.ShowSettings();
        QCOMPARE(messages.shown.size(), 1);
        QCOMPARE(messages.shown[0].kind, MessageKind::Information);
        QCOMPARE(window.EvaluationPeriodStartSpin->value(), 200);
        QCOMPARE(window.EvaluationPeriodEndSpin->value(), 100);
        QVERIFY(window.EvaluationPeriodStartSpin->isEnabled());
    }

    void editsClearSavedFlagButTimeOptionDoesNot() {
        TMainForm window;
        window.ComboBox_ModeSelect->setCurrentIndex(2);
        window.ComboBox_ModeSelectChange();
        QVERIFY(window.RadioGroup_Hour->isEnabled());
        window.Settings().settingsSaved = true;
        window.HourButtons->button(1)->click();
        QCOMPARE(window.Settings().hourIndex, 1);
        QVERIFY(window.Settings().settingsSaved);
        window.LOQEdit->setText(QStringLiteral("1"));
        QVERIFY(!window.Settings().settingsSaved);
        window.Settings().settingsSaved = true;
        QTest::keyClick(window.ThresholdsGrid, Qt::Key_Down);
        QVERIFY(!window.Settings().settingsSaved);
        window.Settings().settingsSaved = true;
        window.UserDefinedWindowSizeSpin->setValue(7);
        QVERIFY(!window.Settings().settingsSaved);
        window.Settings().settingsSaved = true;
        QTest::keyClick(window.UserDefinedPercentileSpin, Qt::Key_Return);
        QVERIFY(!window.Settings().settingsSaved);
        QCOMPARE(window.UserDefinedPercentileSpin->value(), 95);
        // A key that types nothing changes nothing; emptying the text does.
        window.Settings().settingsSaved = true;
        QTest::keyClick(window.UserDefinedPercentileSpin, Qt::Key_Left);
        QVERIFY(window.Settings().settingsSaved);
        window.UserDefinedWindowSizeSpin->findChild<QLineEdit*>()->clear();
        QVERIFY(!window.Settings().settingsSaved);
    }

    void folderChoice() {
        DialogRecorder dialogs;
        TMainForm window;
        window.Settings().outputDirectory = QStringLiteral("/previous");
        window.Settings().settingsSaved = true;
        window.OutputDirSpeedClick();
        QCOMPARE(dialogs.requests.size(), 1);
        QCOMPARE(dialogs.requests[0].kind, FileDialogKind::Folder);
        QCOMPARE(dialogs.requests[0].request.title, QStringLiteral("Select a folder:"));
        QCOMPARE(dialogs.requests[0].request.presetPath, QStringLiteral("/previous"));
        QCOMPARE(window.Settings().outputDirectory, QStringLiteral("/previous"));
        QVERIFY(window.Settings().settingsSaved);

        dialogs.answers << QStringList{QStringLiteral("/chosen")};
        window.OutputDirSpeedClick();
        QCOMPARE(window.Settings().outputDirectory, QStringLiteral("/chosen"));
        QCOMPARE(window.OutputDirEdit->text(), QStringLiteral("/chosen"));
        QVERIFY(!window.Settings().settingsSaved);
    }

    void runChecksSettingsAndSaving() {
        MessageRecorder messages;
        QTemporaryDir dir;
        TMainForm window;
        window.AnalysisRunExecute();
        QCOMPARE(messages.Texts(),
                 QStringList{QStringLiteral("Please select one or more input files!")});
        MakeCollectable(window, dir);
        window.AnalysisRunExecute();
        QCOMPARE(messages.Texts().last(), QStringLiteral("Please save settings first!"));
    }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
