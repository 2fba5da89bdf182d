#include "frontend/settings_files.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include "frontend/file_dialogs.h"
#include "frontend/main_window.h"
#include "frontend/message_boxes.h"

namespace kivo::gui {
namespace {

const QString kSettingsFileFilter =
    QStringLiteral("Settings file (*.kvo)|*.kvo|All files (*.*)|*.*");

std::string Latin1(const QString& text) {
    return text.toLatin1().toStdString();
}

QString FromLatin1(const std::string& bytes) {
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

FileDialogRequest SettingsDialogRequest(const QString& title, const QString& presetPath) {
    return {title, QStringLiteral("kvo"), kSettingsFileFilter, presetPath};
}

}  // namespace

SettingsFileValues ToSettingsFileValues(const EditedSettings& settings, int unitChoice) {
    SettingsFileValues values;
    AnalysisSettings& analysis = values.analysis;
    analysis.dataSource = settings.dataSource;
    analysis.settingsFile = Latin1(settings.settingsFile);
    for (const EditedInputFile& file : settings.inputFiles) {
        analysis.inputFiles.push_back({Latin1(file.fileName), file.segment});
    }
    analysis.outputDirectory = Latin1(settings.outputDirectory);
    analysis.evaluationPeriod = settings.evaluationPeriod;
    analysis.periodStart = settings.periodStart;
    analysis.periodEnd = settings.periodEnd;
    analysis.loq = settings.loq;
    analysis.thresholdLevels = settings.thresholdLevels;
    analysis.userPercentile = settings.userPercentile;
    analysis.userWindowSize = settings.userWindowSize;
    analysis.substanceSelection = Latin1(settings.substanceSelection);
    analysis.hourSelection = settings.hourIndex == 1 ? "HALF" : "FULL";
    analysis.unitName = Latin1(settings.unitName);
    analysis.unitFactor = settings.unitFactor;
    values.hourIndex = settings.hourIndex;
    values.unitId = unitChoice;
    return values;
}

void TakeSettingsFileValues(const SettingsFileValues& values, EditedSettings& settings) {
    const AnalysisSettings& analysis = values.analysis;
    settings.dataSource = analysis.dataSource;
    settings.inputFiles.clear();
    for (const TInputFileAndSegment& file : analysis.inputFiles) {
        settings.inputFiles.push_back({FromLatin1(file.fileName), file.segment});
    }
    settings.outputDirectory = FromLatin1(analysis.outputDirectory);
    settings.evaluationPeriod = analysis.evaluationPeriod;
    settings.periodStart = analysis.periodStart;
    settings.periodEnd = analysis.periodEnd;
    settings.loq = analysis.loq;
    settings.thresholdLevels = analysis.thresholdLevels;
    settings.userPercentile = analysis.userPercentile;
    settings.userWindowSize = analysis.userWindowSize;
    settings.substanceSelection = FromLatin1(analysis.substanceSelection);
    settings.hourIndex = values.hourIndex;
    settings.unitId = values.unitId;
    settings.unitName = FromLatin1(analysis.unitName);
    settings.unitFactor = analysis.unitFactor;
}

SettingsFileSystem FrontEndFileSystem() {
    return {[](const std::string& path) { return QFileInfo(FromLatin1(path)).isFile(); },
            [](const std::string& path) { return QFileInfo(FromLatin1(path)).isDir(); }};
}

void TMainForm::SetTitleForSettingsFile() {
    setWindowTitle(QStringLiteral("KIVO GUI - ") + settings_.settingsFile);
}

void TMainForm::ResetSettings() {
    settings_.settingsFile = kNonameSettingsFile;
    settings_.dataSource = 3;
    // The mode list shows automatic detection again, so the record says so too.
    settings_.detectFormat = true;
    ComboBox_ModeSelect->setCurrentIndex(0);
    ComboBox_Substance->clear();
    substanceNames_.clear();
    settings_.inputFiles.clear();
    settings_.outputDirectory.clear();
    settings_.evaluationPeriod = 0;
    settings_.periodStart = 0;
    settings_.periodEnd = 365;
    settings_.loq = 1e-10;
    settings_.thresholdLevels.clear();
    settings_.userPercentile = 95;
    settings_.userWindowSize = 56;
    settings_.settingsSaved = true;
    setWindowTitle(QStringLiteral("KIVO GUI"));
    ShowSettings();
}

bool TMainForm::LoadSettingsFile() {
    const QString path = settings_.settingsFile;
    if (!QFileInfo(path).isFile()) {
        ShowError(this,
                  QStringLiteral("Settings file \"") + path + QStringLiteral("\" not found!"));
        return false;
    }
    SetTitleForSettingsFile();
    SettingsFileValues values = SettingsStartValues(
        SettingsDialect::FrontEnd, ToSettingsFileValues(settings_, settings_.unitId));
    QByteArray bytes;
    QFile file(path);
    if (file.open(QIODevice::ReadOnly)) bytes = file.readAll();
    const std::string messages = ReadSettingsText(
        std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())),
        SettingsDialect::FrontEnd, values, FrontEndFileSystem());
    TakeSettingsFileValues(values, settings_);
    // A complete series is written without period lines; the period then reads 0 to 0, which
    // the next save would reject although the series uses no period. New's period is kept.
    if (settings_.evaluationPeriod == 0 && settings_.periodStart >= settings_.periodEnd) {
        settings_.periodStart = 0;
        settings_.periodEnd = 365;
    }
    if (messages.empty()) return true;
    ShowError(this, QStringLiteral("The following error(s) occurred while reading file \"") + path +
                        QStringLiteral("\":\n\n") + FromLatin1(messages));
    return false;
}

bool TMainForm::SaveSettingsFile(const QString& target) {
    QString path = target;
    if (target.isEmpty() || target == kNonameSettingsFile) {
        const QString preset = target.isEmpty() ? settings_.settingsFile : lastSaveDialogName_;
        const QStringList chosen =
            ShowFileDialog(this, FileDialogKind::SaveFile,
                           SettingsDialogRequest(QStringLiteral("Save settings as"), preset));
        if (chosen.isEmpty()) return false;
        lastSaveDialogName_ = chosen.first();
        if (QFileInfo(chosen.first()).isFile() &&
            AskConfirmation(this,
                            QStringLiteral("File '") + FileNameWithoutDirectory(chosen.first()) +
                                QStringLiteral("' exists. Overwrite?"),
                            MessageButtons::YesNo) != MessageAnswer::Yes) {
            return false;
        }
        settings_.settingsFile = chosen.first();
        path = settings_.settingsFile;
        SetTitleForSettingsFile();
    }
    const std::string text =
        SettingsFileText(ToSettingsFileValues(settings_, UnitButtons->checkedId()));
    // The old file is replaced only once the new one is complete, so a failed save keeps it.
    QSaveFile file(path);
    const bool written = file.open(QIODevice::WriteOnly) &&
                         file.write(text.data(), static_cast<qint64>(text.size())) ==
                             static_cast<qint64>(text.size()) &&
                         file.commit();
    if (!written) {
        ShowError(this, QStringLiteral("An error occurred while saving file '") +
                            settings_.settingsFile + QStringLiteral("'!"));
        return false;
    }
    settings_.settingsSaved = true;
    return true;
}

bool TMainForm::QuerySaveChanges() {
    if (settings_.settingsSaved) return true;
    switch (AskConfirmation(this, QStringLiteral("Settings not saved. Save?"),
                            MessageButtons::YesNoCancel)) {
        case MessageAnswer::Yes:
            return CollectSettings() && SaveSettingsFile(settings_.settingsFile);
        case MessageAnswer::No:
            return true;
        default:
            return false;
    }
}

void TMainForm::FileNewExecute() {
    if (AskConfirmation(this, QStringLiteral("Reset all settings?"), MessageButtons::YesNo) ==
        MessageAnswer::Yes) {
        ResetSettings();
    }
}

void TMainForm::FileOpenExecute() {
    if (!QuerySaveChanges()) return;
    const QStringList chosen = ShowFileDialog(
        this, FileDialogKind::OpenFile, SettingsDialogRequest(QStringLiteral("Open settings"), {}));
    if (chosen.isEmpty()) return;
    settings_.settingsFile = chosen.first();
    LoadSettingsFile();
    ShowSettings();
    settings_.settingsSaved = true;
}

void TMainForm::FileSaveExecute() {
    if (CollectSettings()) SaveSettingsFile(settings_.settingsFile);
}

void TMainForm::FileSaveAsExecute() {
    if (CollectSettings()) SaveSettingsFile(QString());
}

}  // namespace kivo::gui
