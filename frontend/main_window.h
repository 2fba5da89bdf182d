#pragma once

#include <QMainWindow>
#include <QString>
#include <QStringList>

#include "frontend/edited_settings.h"

class QAction;
class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QToolButton;

namespace kivo::gui {

class TAboutBox;
class TAGrid;

/// The main window: every analysis setting in one screen, the file actions, the input file
/// list and the actions that run the engine and show the results.
class TMainForm : public QMainWindow {
    Q_OBJECT

  public:
    explicit TMainForm(QWidget* parent = nullptr);
    ~TMainForm() override;

    /// The record of the settings being edited.
    EditedSettings& Settings() { return settings_; }

    /// Copies the record into the controls.
    void ShowSettings();
    /// Reads the controls into the record and checks them; false after one message.
    bool CollectSettings();

    /// Sets the defaults of New and shows them.
    void ResetSettings();
    /// Reads the file named by the record into it; false when a message was shown.
    bool LoadSettingsFile();
    /// Writes the record to `target`, asking for a name when it is empty or "Noname.kvo".
    bool SaveSettingsFile(const QString& target);
    /// True when the caller may go on: settings saved, not to be saved, or saved now.
    bool QuerySaveChanges();

    void FileNewExecute();
    void FileOpenExecute();
    void FileSaveExecute();
    void FileSaveAsExecute();
    void AnalysisRunExecute();
    /// Shows the About box modally.
    void ShowAboutExecute();

    /// The mode list's rule for its current item (data source, dialog, list emptied).
    void ComboBox_ModeSelectChange();
    void EvaluationPeriodComboSelect();
    void EvaluationPeriodStartSpinExit();
    void EvaluationPeriodEndSpinExit();
    void RadioGroup_UnitClick();
    void Edit_convFactorExit();
    void OutputDirSpeedClick();

    /// The default extension and filter the add-file dialog uses for the current data source.
    QString AddFileDefaultExtension() const { return addFileDefaultExtension_; }
    QString AddFileFilter() const { return addFileFilter_; }

  protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void FormCreate();
    void FormResize();
    void BuildActions();
    QWidget* BuildLeftColumn();
    QWidget* BuildRightArea();
    void ConnectHandlers();
    void ShowInputSide();
    void ShowInputFiles();
    void ShowThresholds();
    void SetInputGridColumnCount(int columns);
    void WriteInputFilesToGrid();
    void WriteThresholdsToGrid();
    void SetPeriodSpinsEnabled(bool enabled);
    bool CollectInputFiles();
    bool CollectThresholds();
    void MarkUnsaved();
    void SetTitleForSettingsFile();

    EditedSettings settings_;
    QStringList substanceNames_;
    QString thresholdEscapeText_;
    QString addFileDefaultExtension_;
    QString addFileFilter_;
    QString lastSaveDialogName_;
    TAboutBox* aboutBox_ = nullptr;

  public:
    QAction* FileNew = nullptr;
    QAction* FileOpen = nullptr;
    QAction* FileSave = nullptr;
    QAction* FileSaveAs = nullptr;
    QAction* FileExit = nullptr;
    QAction* AnalysisRun = nullptr;
    QAction* ViewResults = nullptr;
    QAction* ShowAbout = nullptr;

    QComboBox* EvaluationPeriodCombo = nullptr;
    QLabel* EvaluationPeriodStartLabel = nullptr;
    QSpinBox* EvaluationPeriodStartSpin = nullptr;
    QLabel* EvaluationPeriodEndLabel = nullptr;
    QSpinBox* EvaluationPeriodEndSpin = nullptr;
    QLineEdit* LOQEdit = nullptr;
    TAGrid* ThresholdsGrid = nullptr;
    QGroupBox* RadioGroup_Unit = nullptr;
    QButtonGroup* UnitButtons = nullptr;
    QLineEdit* Edit_UnitString = nullptr;
    QLineEdit* Edit_convFactor = nullptr;
    QSpinBox* UserDefinedPercentileSpin = nullptr;
    QSpinBox* UserDefinedWindowSizeSpin = nullptr;
    QComboBox* ComboBox_ModeSelect = nullptr;
    QComboBox* ComboBox_Substance = nullptr;
    QGroupBox* RadioGroup_Hour = nullptr;
    QButtonGroup* HourButtons = nullptr;
    TAGrid* InputFileGrid = nullptr;
    QPushButton* AddToxwaFileButton = nullptr;
    QPushButton* DeleteToxwaFileButton = nullptr;
    QPushButton* ClearToxswaFilesButton = nullptr;
    QLineEdit* OutputDirEdit = nullptr;
    QToolButton* OutputDirSpeed = nullptr;
};

}  // namespace kivo::gui
