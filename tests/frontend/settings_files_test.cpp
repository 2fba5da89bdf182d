#include "frontend/settings_files.h"

#include <QAbstractButton>
#include <QAction>
#include <QButtonGroup>
#include <QComboBox>
#include <QLineEdit>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QtTest>

#include "common/settings_format.h"
#include "frontend/grid.h"
#include "frontend/main_window.h"
#include "frontend_test_support.h"

using namespace kivo::gui;
using namespace kivo::gui::test;

Q_DECLARE_METATYPE(kivo::gui::MessageAnswer)

namespace {

// The input files and output directory that the reviewed settings name, in the current
// directory.
void WriteReviewedInputs() {
    WriteBytes(QStringLiteral("D1_ditch.out"), "x");
    WriteBytes(QStringLiteral("R1_stream.out"), "x");
    QDir().mkdir(QStringLiteral("results"));
}

// The settings of the reviewed file, entered through the controls. Paths are relative to
// the current directory, so the written bytes do not depend on where the test runs.
void EnterReviewedSettings(TMainForm& window) {
    window.ComboBox_ModeSelect->setCurrentIndex(2);
    window.ComboBox_ModeSelectChange();
    window.InputFileGrid->setCellText(1, 0, QStringLiteral("D1_ditch.out"));
    window.InputFileGrid->setCellText(1, 1, QStringLiteral("10"));
    window.InputFileGrid->setCellText(3, 0, QStringLiteral("R1_stream.out"));
    window.InputFileGrid->setCellText(3, 1, QStringLiteral("20"));
    window.OutputDirEdit->setText(QStringLiteral("results"));
    window.EvaluationPeriodCombo->setCurrentIndex(1);
    emit window.EvaluationPeriodCombo->activated(1);
    window.EvaluationPeriodStartSpin->setValue(31);
    window.EvaluationPeriodEndSpin->setValue(396);
    window.LOQEdit->setText(QStringLiteral("0.0001"));
    window.ThresholdsGrid->setCellText(1, 1, QStringLiteral("0.15"));
    window.ThresholdsGrid->setCellText(2, 1, QStringLiteral("0.3"));
    window.ThresholdsGrid->setCellText(4, 1, QStringLiteral("-1000"));
    window.UserDefinedPercentileSpin->setValue(80);
    window.UserDefinedWindowSizeSpin->setValue(21);
    window.ComboBox_Substance->setEditText(QStringLiteral("MySubst"));
    window.HourButtons->button(1)->click();
    window.UnitButtons->button(1)->click();
}

class CurrentDirectory {
  public:
    explicit CurrentDirectory(const QString& path) : previous_(QDir::currentPath()) {
        QDir::setCurrent(path);
    }
    ~CurrentDirectory() { QDir::setCurrent(previous_); }

  private:
    QString previous_;
};

}  // namespace

class SettingsFilesTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void saveOfNewFileAsksForName() {
        MessageRecorder messages;
        DialogRecorder dialogs;
        QTemporaryDir dir;
        TMainForm window;
        MakeCollectable(window, dir);
        const QString target = dir.filePath(QStringLiteral("run.kvo"));
        dialogs.answers << QStringList{target};
        window.FileSaveExecute();
        QCOMPARE(dialogs.requests.size(), 1);
        QCOMPARE(dialogs.requests[0].kind, FileDialogKind::SaveFile);
        QCOMPARE(dialogs.requests[0].request.defaultSuffix, QStringLiteral("kvo"));
        QCOMPARE(dialogs.requests[0].request.filter,
                 QStringLiteral("Settings file (*.kvo)|*.kvo|All files (*.*)|*.*"));
        QVERIFY(messages.shown.isEmpty());
        QVERIFY(QFileInfo(target).isFile());
        QCOMPARE(window.windowTitle(), QStringLiteral("KIVO GUI - ") + target);
        QCOMPARE(window.Settings().settingsFile, target);
        QVERIFY(window.Settings().settingsSaved);
    }

    void saveOfOpenedFileWritesWithoutQuestion() {
        MessageRecorder messages;
        DialogRecorder dialogs;
        QTemporaryDir dir;
        TMainForm window;
        MakeCollectable(window, dir);
        const QString target = dir.filePath(QStringLiteral("run.kvo"));
        dialogs.answers << QStringList{target};
        window.FileSaveExecute();

        TMainForm reopened;
        reopened.Settings().settingsSaved = true;
        dialogs.answers << QStringList{target};
        reopened.FileOpenExecute();
        QCOMPARE(reopened.windowTitle(), QStringLiteral("KIVO GUI - ") + target);
        QVERIFY(reopened.Settings().settingsSaved);
        reopened.UserDefinedWindowSizeSpin->setValue(14);
        QVERIFY(!reopened.Settings().settingsSaved);
        const int dialogsBefore = int(dialogs.requests.size());
        reopened.FileSaveExecute();
        QCOMPARE(int(dialogs.requests.size()), dialogsBefore);
        QVERIFY2(messages.shown.isEmpty(), qPrintable(messages.Texts().join(QLatin1Char(10))));
        QVERIFY(ReadBytes(target).contains("  USER_DEFINED_WINDOW_SIZE: 14\r\n"));
        QVERIFY(reopened.Settings().settingsSaved);
    }

    void savedBytesMatchReviewedFile() {
        MessageRecorder messages;
        DialogRecorder dialogs;
        QTemporaryDir dir;
        CurrentDirectory inDir(dir.path());
        WriteReviewedInputs();
        TMainForm window;
        EnterReviewedSettings(window);
        dialogs.answers << QStringList{QStringLiteral("reviewed.kvo")};
        window.FileSaveAsExecute();
        QVERIFY2(messages.shown.isEmpty(), qPrintable(messages.Texts().join('\n')));
        QCOMPARE(ReadBytes(QStringLiteral("reviewed.kvo")),
                 ReadBytes(FixturePath(QStringLiteral("saved_settings.kvo"))));

        // The engine's reader takes the same file without a message.
        kivo::SettingsFileValues values = kivo::SettingsStartValues(kivo::SettingsDialect::Engine);
        const QByteArray bytes = ReadBytes(QStringLiteral("reviewed.kvo"));
        const kivo::SettingsFileSystem fileSystem = FrontEndFileSystem();
        const std::string report =
            kivo::ReadSettingsText(std::string_view(bytes.constData(), bytes.size()),
                                   kivo::SettingsDialect::Engine, values, fileSystem);
        QCOMPARE(QString::fromStdString(report), QString());
        QCOMPARE(values.analysis.dataSource, 2);
        QCOMPARE(values.analysis.inputFiles.size(), std::size_t(2));
        QCOMPARE(values.analysis.inputFiles[1].segment, 20);
        QCOMPARE(values.analysis.thresholdLevels, (std::vector<double>{0.15, 0.3, -1000.0}));
        QCOMPARE(values.analysis.unitName, std::string("\xB5g/L"));
        QCOMPARE(values.analysis.unitFactor, 1000.0f);
        QCOMPARE(values.analysis.hourSelection, std::string("HALF"));
    }

    void reopenedFileShowsSavedSettings() {
        MessageRecorder messages;
        DialogRecorder dialogs;
        QTemporaryDir dir;
        CurrentDirectory inDir(dir.path());
        WriteReviewedInputs();
        TMainForm window;
        EnterReviewedSettings(window);
        dialogs.answers << QStringList{QStringLiteral("again.kvo")};
        window.FileSaveAsExecute();

        TMainForm reopened;
        reopened.Settings().settingsSaved = true;
        dialogs.answers << QStringList{QStringLiteral("again.kvo")};
        reopened.FileOpenExecute();
        QVERIFY(messages.shown.isEmpty());
        QCOMPARE(reopened.InputFileGrid->cellText(2, 0), QStringLiteral("R1_stream.out"));
        QCOMPARE(reopened.InputFileGrid->cellText(2, 1), QStringLiteral("20"));
        QCOMPARE(reopened.ThresholdsGrid->cellText(3, 1), QStringLiteral("-1.0000E+3"));
        QCOMPARE(reopened.LOQEdit->text(), QStringLiteral("1.0000E-4"));
        QCOMPARE(reopened.EvaluationPeriodCombo->currentIndex(), 1);
        QCOMPARE(reopened.EvaluationPeriodStartSpin->value(), 31);
        QCOMPARE(reopened.EvaluationPeriodEndSpin->value(), 396);
        QCOMPARE(reopened.ComboBox_Substance->currentText(), QStringLiteral("MySubst"));
        QCOMPARE(reopened.HourButtons->checkedId(), 1);
        QCOMPARE(reopened.UnitButtons->checkedId(), 1);
        QCOMPARE(reopened.Edit_UnitString->text(), QStringLiteral("µg/L"));
        QCOMPARE(reopened.OutputDirEdit->text(), QStringLiteral("results"));
        QVERIFY(reopened.Settings().settingsSaved);
    }

    void saveAsOverExistingFile_data() {
        QTest::addColumn<bool>("overwrite");
        QTest::newRow("Yes writes") << true;
        QTest::newRow("No keeps everything") << false;
    }

    void saveAsOverExistingFile() {
        QFETCH(bool, overwrite);
        MessageRecorder messages;
        DialogRecorder dialogs;
        QTemporaryDir dir;
        TMainForm window;
        MakeCollectable(window, dir);
        const QString existing = dir.filePath(QStringLiteral("old.kvo"));
        WriteBytes(existing, "old");
        messages.answers << (overwrite ? MessageAnswer::Yes : MessageAnswer::No);
        dialogs.answers << QStringList{existing};
        window.FileSaveAsExecute();
        QCOMPARE(dialogs.requests[0].request.presetPath, QStringLiteral("Noname.kvo"));
        QCOMPARE(messages.Texts(),
                 QStringList{QStringLiteral("File 'old.kvo' exists. Overwrite?")});
        QCOMPARE(messages.shown[0].kind, MessageKind::Confirm);
        QCOMPARE(messages.shown[0].buttons, MessageButtons::YesNo);
        QCOMPARE(ReadBytes(existing) == "old", !overwrite);
        QCOMPARE(window.Settings().settingsSaved, overwrite);
        QCOMPARE(window.windowTitle(),
                 overwrite ? QStringLiteral("KIVO GUI - ") + existing : QStringLiteral("KIVO GUI"));
    }

    void failedSaveShowsMessageAndKeepsName() {
        MessageRecorder messages;
        DialogRecorder dialogs;
        QTemporaryDir dir;
        TMainForm window;
        MakeCollectable(window, dir);
        const QString target = dir.filePath(QStringLiteral("missing/dir/run.kvo"));
        dialogs.answers << QStringList{target};
        window.FileSaveAsExecute();
        QCOMPARE(messages.Texts(),
                 QStringList{QStringLiteral("An error occurred while saving file '") + target +
                             QStringLiteral("'!")});
        QCOMPARE(messages.shown[0].kind, MessageKind::Error);
        QVERIFY(!window.Settings().settingsSaved);
        QCOMPARE(window.Settings().settingsFile, target);
        QCOMPARE(window.windowTitle(), QStringLiteral("KIVO GUI - ") + target);
    }

    void failedSaveKeepsOldFile() {
        // A directory in the place of the temporary file makes the new file impossible to
        // complete; the old file must survive.
        MessageRecorder messages;
        DialogRecorder dialogs;
        QTemporaryDir dir;
        TMainForm window;
        MakeCollectable(window, dir);
        const QString target = dir.filePath(QStringLiteral("run.kvo"));
        dialogs.answers << QStringList{target};
        window.FileSaveExecute();
        const QByteArray saved = ReadBytes(target);
        QVERIFY(!saved.isEmpty());
        const QFile::Permissions writable = QFile::permissions(dir.path());
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner);
        QFile probe(dir.filePath(QStringLiteral("probe")));
        if (probe.open(QIODevice::WriteOnly)) {
            probe.remove();
            QFile::setPermissions(dir.path(), writable);
            QSKIP("this user may write into read-only directories");
        }
        window.UserDefinedWindowSizeSpin->setValue(3);
        window.FileSaveExecute();
        QFile::setPermissions(dir.path(), writable);
        QCOMPARE(messages.Texts().last(), QStringLiteral("An error occurred while saving file '") +
                                              target + QStringLiteral("'!"));
        QCOMPARE(ReadBytes(target), saved);
    }

    void openFileWithProblems() {
        MessageRecorder messages;
        DialogRecorder dialogs;
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("bad.kvo"));
        WriteBytes(path, "INPUT_FILE: " + dir.filePath(QStringLiteral("missing.out")).toLatin1() +
                             "\r\n"
                             "  DATA_SOURCE: conc_data\r\n"
                             "  LOQ: -1\r\n"
                             "  USER_DEFINED_PERCENTILE: 50\r\n"
                             "  THRESHOLD_CONCENTRATION_LEVEL: 0.25\r\n"
                             "  HOUR_SELECTION: QUARTER\r\n"
                             "  UNIT_ID: 7\r\n");
        TMainForm window;
        dialogs.answers << QStringList{path};
        messages.answers << MessageAnswer::No;  // settings of the fresh window not saved
        window.FileOpenExecute();
        QCOMPARE(messages.shown.size(), 2);
        QCOMPARE(messages.shown[1].kind, MessageKind::Error);
        const QString missing = dir.filePath(QStringLiteral("missing.out"));
        QCOMPARE(messages.shown[1].text,
                 QStringLiteral("The following error(s) occurred while reading file \"") + path +
                     QStringLiteral("\":\n\n- Segment for input file \"") + missing +
                     QStringLiteral("\" not given\n- Warning: Input file \"") + missing +
                     QStringLiteral("\" not found\n- Invalid LOQ value \"-1\"\n"
                                    "- No valid time was selected; FULL and HALF are allowed\n"
                                    "Unit selection invalid; only 0, 1 and 2 are allowed!\n"));
        QCOMPARE(window.windowTitle(), QStringLiteral("KIVO GUI - ") + path);
        QCOMPARE(window.UserDefinedPercentileSpin->value(), 50);
        QCOMPARE(window.ThresholdsGrid->cellText(1, 1), QStringLiteral("2.5000E-1"));
        QCOMPARE(window.InputFileGrid->cellText(1, 0), missing);
        QCOMPARE(window.Settings().dataSource, 1);
        QCOMPARE(window.LOQEdit->text(), QStringLiteral("1.0000E-10"));
        QVERIFY(window.Settings().settingsSaved);
    }

    void openMissingFile() {
        MessageRecorder messages;
        DialogRecorder dialogs;
        QTemporaryDir dir;
        TMainForm window;
        window.Settings().settingsSaved = true;
        const QString path = dir.filePath(QStringLiteral("none.kvo"));
        dialogs.answers << QStringList{path};
        window.FileOpenExecute();
        QCOMPARE(messages.Texts(), QStringList{QStringLiteral("Settings file \"") + path +
                                               QStringLiteral("\" not found!")});
        QCOMPARE(messages.shown[0].kind, MessageKind::Error);
        QCOMPARE(window.windowTitle(), QStringLiteral("KIVO GUI"));
        QCOMPARE(window.Settings().settingsFile, path);
        QVERIFY(window.Settings().settingsSaved);
    }

    void openBinaryFileDoesNotCrash() {
        MessageRecorder messages;
        DialogRecorder dialogs;
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("binary.kvo"));
        QByteArray bytes;
        for (int i = 0; i < 512; ++i) bytes.append(char((i * 37 + 11) % 256));
        bytes.insert(40, "\nLOQ:\xB5\xFF\x00\n", 9);
        WriteBytes(path, bytes);
        TMainForm window;
        window.Settings().settingsSaved = true;
        dialogs.answers << QStringList{path};
        window.FileOpenExecute();
        QCOMPARE(messages.shown.size(), 1);
        QVERIFY(messages.shown[0].text.startsWith(
            QStringLiteral("The following error(s) occurred while reading file \"")));
        QVERIFY(messages.shown[0].text.endsWith(
            QStringLiteral("- No threshold levels defined!\n- No input files defined!\n")));
    }

    void unitLinesFollowTheUnitChoice_data() {
        QTest::addColumn<int>("unitBefore");
        QTest::addColumn<QByteArray>("unitLines");
        QTest::addColumn<int>("unitAfter");
        QTest::addColumn<QString>("nameAfter");
        QTest::addColumn<float>("factorAfter");
        QTest::newRow("no unit lines keep micrograms")
            << 1 << QByteArray() << 1 << QStringLiteral("µg/L") << 1000.0f;
        QTest::newRow("name and factor above the choice, custom before")
            << 2 << QByteArray("UNIT_NAME: ng/L\nUNIT_FACTOR: 1e6\nUNIT_ID: 2\n") << 2
            << QStringLiteral("ng/L") << 1e6f;
        QTest::newRow("name and factor above the choice, mg/L before")
            << 0 << QByteArray("UNIT_NAME: ng/L\nUNIT_FACTOR: 1e6\nUNIT_ID: 2\n") << 2
            << QStringLiteral("mg/L") << 1.0f;
        QTest::newRow("custom choice then name and factor")
            << 0 << QByteArray("UNIT_ID: 2\nUNIT_NAME: \xB5g/kg\nUNIT_FACTOR: 0.5\n") << 2
            << QStringLiteral("µg/kg") << 0.5f;
    }

    void unitLinesFollowTheUnitChoice() {
        QFETCH(int, unitBefore);
        QFETCH(QByteArray, unitLines);
        QFETCH(int, unitAfter);
        QFETCH(QString, nameAfter);
        QFETCH(float, factorAfter);
        MessageRecorder messages;
        DialogRecorder dialogs;
        QTemporaryDir dir;
        const QString input = dir.filePath(QStringLiteral("a.con"));
        WriteBytes(input, "x");
        const QString path = dir.filePath(QStringLiteral("unit.kvo"));
        WriteBytes(path, "DATA_SOURCE: conc_data\nTHRESHOLD_CONCENTRATION_LEVEL: 1\nINPUT_FILE: " +
                             input.toLatin1() + "\n" + unitLines);
        TMainForm window;
        window.UnitButtons->button(unitBefore)->click();
        window.Settings().settingsSaved = true;
        dialogs.answers << QStringList{path};
        window.FileOpenExecute();
        QVERIFY2(messages.shown.isEmpty(), qPrintable(messages.Texts().join('\n')));
        QCOMPARE(window.UnitButtons->checkedId(), unitAfter);
        QCOMPARE(window.Settings().unitName, nameAfter);
        QCOMPARE(window.Edit_UnitString->text(), nameAfter);
        QCOMPARE(window.Settings().unitFactor, factorAfter);
    }

    void closingWithUnsavedSettings_data() {
        QTest::addColumn<kivo::gui::MessageAnswer>("answer");
        QTest::addColumn<bool>("closes");
        QTest::addColumn<bool>("written");
        QTest::newRow("Yes saves and closes") << MessageAnswer::Yes << true << true;
        QTest::newRow("No closes without writing") << MessageAnswer::No << true << false;
        QTest::newRow("Cancel stays open") << MessageAnswer::Cancel << false << false;
    }

    void closingWithUnsavedSettings() {
        QFETCH(kivo::gui::MessageAnswer, answer);
        QFETCH(bool, closes);
        QFETCH(bool, written);
        MessageRecorder messages;
        DialogRecorder dialogs;
        QTemporaryDir dir;
        TMainForm window;
        MakeCollectable(window, dir);
        window.show();
        const QString target = dir.filePath(QStringLiteral("closing.kvo"));
        messages.answers << answer;
        dialogs.answers << QStringList{target};
        QCOMPARE(window.close(), closes);
        QCOMPARE(messages.shown[0].text, QStringLiteral("Settings not saved. Save?"));
        QCOMPARE(messages.shown[0].kind, MessageKind::Confirm);
        QCOMPARE(messages.shown[0].buttons, MessageButtons::YesNoCancel);
        QCOMPARE(QFileInfo(target).isFile(), written);
    }

    void closingAfterFailedCheckStaysOpen() {
        MessageRecorder messages;
        TMainForm window;
        window.show();
        messages.answers << MessageAnswer::Yes;
        QVERIFY(!window.close());
        QCOMPARE(messages.Texts(), (QStringList{QStringLiteral("Settings not saved. Save?"),
                                                QStringLiteral("Please select one or more "
                                                               "input files!")}));
    }

    void newResetsButKeepsUnitAndTimeOption() {
        MessageRecorder messages;
        QTemporaryDir dir;
        TMainForm window;
        MakeCollectable(window, dir);
        window.ComboBox_ModeSelect->setCurrentIndex(2);
        window.ComboBox_ModeSelectChange();
        window.HourButtons->button(1)->click();
        window.UnitButtons->button(1)->click();
        window.UserDefinedPercentileSpin->setValue(50);
        messages.answers << MessageAnswer::No;
        window.FileNewExecute();
        QCOMPARE(window.UserDefinedPercentileSpin->value(), 50);
        messages.answers << MessageAnswer::Yes;
        window.FileNewExecute();
        QCOMPARE(messages.Texts(), (QStringList{QStringLiteral("Reset all settings?"),
                                                QStringLiteral("Reset all settings?")}));
        QCOMPARE(window.UserDefinedPercentileSpin->value(), 95);
        QCOMPARE(window.ThresholdsGrid->cellText(1, 1), QString());
        QCOMPARE(window.OutputDirEdit->text(), QString());
        QCOMPARE(window.ComboBox_ModeSelect->currentIndex(), 0);
        QCOMPARE(window.Settings().dataSource, 3);
        QVERIFY(window.Settings().detectFormat);
        QCOMPARE(window.Settings().settingsFile, QStringLiteral("Noname.kvo"));
        QCOMPARE(window.windowTitle(), QStringLiteral("KIVO GUI"));
        QCOMPARE(window.UnitButtons->checkedId(), 1);
        QCOMPARE(window.Settings().hourIndex, 1);
        // The changed edits count as unsaved again.
        QVERIFY(!window.Settings().settingsSaved);
    }
};

QTEST_MAIN(SettingsFilesTest)
#include "settings_files_test.moc"
