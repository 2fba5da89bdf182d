#include "frontend/main_window.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSpinBox>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "frontend/file_dialogs.h"
#include "frontend/grid.h"
#include "frontend/message_boxes.h"
#include "frontend/number_display.h"
#include "frontend/settings_files.h"
#include "frontend/viewer/about_box.h"

namespace kivo::gui {
namespace {

constexpr int kLeftColumnWidth = 265;
constexpr int kThresholdRows = 51;
constexpr int kInputFileRows = 50;
constexpr int kScientificDigits = 5;

struct ModeItem {
    const char* caption;
    bool detectFormat;
    int dataSource;
    const char* defaultExtension;
    const char* filter;
    bool substanceEnabled;
    bool hourEnabled;
};

constexpr const char* kFilterDetect =
    "TOXSWA out file (*.out)|*.out|TOXSWA cwa file (*.cwa)|*.cwa|TOXSWA con files "
    "(*.con)|*.con|All files (*.*)|*.*";
constexpr const char* kFilterOut = "TOXSWA concentration file (*.out)|*.out|All files (*.*)|*.*";
constexpr const char* kFilterOut443 =
    "TOXSWA 4.4.3 concentration file (*.out)|*.out|All files (*.*)|*.*";
constexpr const char* kFilterOut553 =
    "TOXSWA 5.5.3 concentration file (*.out)|*.out|All files (*.*)|*.*";
constexpr const char* kFilterCwa = "TOXSWA concentration file (*.cwa)|*.cwa|All files (*.*)|*.*";
constexpr const char* kFilterCon = "Concentration file (*.con)|*.con|All files (*.*)|*.*";

constexpr ModeItem kModeItems[] = {
    {"Detect TOXSWA version automatically", true, 3, "*", kFilterDetect, false, false},
    {"Analyse TOXSWA 5.5.3 *.out files", false, 3, "out", kFilterOut, true, false},
    {"Analyse TOXSWA 4.4.3 *.out files", false, 2, "out", kFilterOut, true, true},
    {"Analyse TOXSWA *.cwa files", false, 0, "cwa", kFilterCwa, false, false},
    {"Analyse user defined files/KIVO concentration files", false, 1, "con", kFilterCon, false,
     false},
};

// True when the focus moved to another control of the window, not to another window or a
// pop-up.
bool LeavesControl(const QEvent& event) {
    const Qt::FocusReason reason = static_cast<const QFocusEvent&>(event).reason();
    return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}

// The value of a spin edit as its text gives it: a text that is no whole number reads as the
// minimum, which the spin then shows.
int SpinEditValue(QSpinBox& spin) {
    if (const std::optional<int> typed = ParseSegmentNumber(spin.text())) return *typed;
    spin.setValue(spin.minimum());
    return spin.minimum();
}

// True for a key that types a character (Enter, Backspace and Escape included); arrows,
// Delete and the focus keys Tab and Backtab type none.
bool TypesCharacter(const QKeyEvent& event) {
    const int key = event.key();
    return !event.text().isEmpty() && key != Qt::Key_Tab && key != Qt::Key_Backtab &&
           key != Qt::Key_Delete;
}

bool IsToxswaOutSource(int dataSource) {
    return dataSource == 2 || dataSource == 3;
}

QLabel* NoteLabel(const QString& text, const QString& color) {
    auto* label = new QLabel(text);
    label->setWordWrap(true);
    label->setStyleSheet(QStringLiteral("color: %1;").arg(color));
    return label;
}

QSpinBox* SpinEdit(const QString& name, int minimum, int maximum) {
    auto* spin = new QSpinBox;
    spin->setObjectName(name);
    spin->setRange(minimum, maximum);
    return spin;
}

QLineEdit* LineEdit(const QString& name) {
    auto* edit = new QLineEdit;
    edit->setObjectName(name);
    return edit;
}

QGroupBox* RadioGroup(const QString& name, const QString& caption, const QStringList& items,
                      QButtonGroup*& buttons) {
    auto* group = new QGroupBox(caption);
    group->setObjectName(name);
    auto* layout = new QVBoxLayout(group);
    buttons = new QButtonGroup(group);
    for (int i = 0; i < items.size(); ++i) {
        auto* radio = new QRadioButton(items[i]);
        layout->addWidget(radio);
        buttons->addButton(radio, i);
    }
    buttons->button(0)->setChecked(true);
    return group;
}

}  // namespace

TMainForm::TMainForm(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("MainForm"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    BuildActions();
    auto* central = new QWidget;
    auto* columns = new QHBoxLayout(central);
    columns->addWidget(BuildLeftColumn());
    columns->addWidget(BuildRightArea(), 1);
    setCentralWidget(central);
    statusBar();
    setMinimumSize(780, 469);
    resize(1324, 863);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
    aboutBox_ = new TAboutBox(this);
    ConnectHandlers();
    FormCreate();
}

TMainForm::~TMainForm() = default;

void TMainForm::BuildActions() {
    auto makeAction = [this](const char* name, const QString& caption, const QKeySequence& keys,
                             const QString& hint, QStyle::StandardPixmap icon) {
        auto* action = new QAction(style()->standardIcon(icon), caption, this);
        action->setObjectName(QString::fromLatin1(name));
        action->setShortcut(keys);
        const QStringList parts = hint.split(QLatin1Char('|'));
        if (!hint.isEmpty()) action->setToolTip(parts.first());
        if (parts.size() > 1) action->setStatusTip(parts[1]);
        return action;
    };
    FileNew = makeAction("FileNew", QStringLiteral("&New"), {},
                         QStringLiteral("New|Resets all settings to default"), QStyle::SP_FileIcon);
    FileOpen =
        makeAction("FileOpen", QStringLiteral("&Open..."), QKeySequence(Qt::CTRL | Qt::Key_O),
                   QStringLiteral("Open|Opens an existing file"), QStyle::SP_DialogOpenButton);
    FileSave =
        makeAction("FileSave", QStringLiteral("&Save"), QKeySequence(Qt::CTRL | Qt::Key_S),
                   QStringLiteral("Save As|Saves the active file"), QStyle::SP_DialogSaveButton);
    FileSaveAs = makeAction("FileSaveAs", QStringLiteral("Save &as..."), {},
                            QStringLiteral("Save As|Saves the active file with a new name"),
                            QStyle::SP_DialogSaveButton);
    FileExit =
        makeAction("FileExit", QStringLiteral("E&xit"), {},
                   QStringLiteral("Exit|Quits the application"), QStyle::SP_DialogCloseButton);
    AnalysisRun = makeAction("AnalysisRun", QStringLiteral("&Run analysis"),
                             QKeySequence(Qt::CTRL | Qt::Key_R), {}, QStyle::SP_MediaPlay);
    ViewResults = makeAction("ViewResults", QStringLiteral("&View results"), {}, {},
                             QStyle::SP_FileDialogContentsView);
    ViewResults->setEnabled(false);
    ShowAbout = makeAction("ShowAbout", QStringLiteral("&About..."), {}, {},
                           QStyle::SP_MessageBoxInformation);

    QMenu* fileMenu = menuBar()->addMenu(QStringLiteral("&File"));
    fileMenu->addActions({FileNew, FileOpen, FileSave, FileSaveAs});
    fileMenu->addSeparator();
    fileMenu->addAction(FileExit);
    menuBar()->addMenu(QStringLiteral("&Analysis"))->addActions({AnalysisRun, ViewResults});
    menuBar()->addMenu(QStringLiteral("&Info"))->addAction(ShowAbout);

    QToolBar* toolBar = addToolBar(QStringLiteral("ToolBar"));
    toolBar->setObjectName(QStringLiteral("ToolBar"));
    toolBar->setMovable(false);
    toolBar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    toolBar->addActions({FileNew, FileOpen, FileSave});
    toolBar->addSeparator();
    toolBar->addAction(AnalysisRun);
    toolBar->widgetForAction(AnalysisRun)->setObjectName(QStringLiteral("RunButton"));
    toolBar->addSeparator();
    toolBar->addAction(ViewResults);
    toolBar->widgetForAction(ViewResults)->setObjectName(QStringLiteral("ResultsButton"));
}

QWidget* TMainForm::BuildLeftColumn() {
    auto* column = new QWidget;
    column->setFixedWidth(kLeftColumnWidth);
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);

    auto* general = new QGroupBox(QStringLiteral(" General settings "));
    auto* generalLayout = new QGridLayout(general);
    EvaluationPeriodCombo = new QComboBox;
    EvaluationPeriodCombo->setObjectName(QStringLiteral("EvaluationPeriodCombo"));
    EvaluationPeriodCombo->addItems(
        {QStringLiteral("Complete series"), QStringLiteral("User defined period")});
    auto* periodLabel = new QLabel(QStringLiteral("Evaluation &period:"));
    periodLabel->setBuddy(EvaluationPeriodCombo);
    EvaluationPeriodStartSpin = SpinEdit(QStringLiteral("EvaluationPeriodStartSpin"), 0, 999999);
    EvaluationPeriodStartLabel = new QLabel(QStringLiteral("&Start [d]:"));
    EvaluationPeriodStartLabel->setBuddy(EvaluationPeriodStartSpin);
    EvaluationPeriodEndSpin = SpinEdit(QStringLiteral("EvaluationPeriodEndSpin"), 0, 999999);
    EvaluationPeriodEndLabel = new QLabel(QStringLiteral("&End [d]:"));
    EvaluationPeriodEndLabel->setBuddy(EvaluationPeriodEndSpin);
    LOQEdit = LineEdit(QStringLiteral("LOQEdit"));
    LOQEdit->setText(QStringLiteral("0"));
    auto* loqLabel = new QLabel(QStringLiteral("Assumed &LOQ:"));
    loqLabel->setBuddy(LOQEdit);
    generalLayout->addWidget(periodLabel, 0, 0);
    generalLayout->addWidget(EvaluationPeriodCombo, 0, 1);
    generalLayout->addWidget(EvaluationPeriodStartLabel, 1, 0);
    generalLayout->addWidget(EvaluationPeriodStartSpin, 1, 1);
    generalLayout->addWidget(EvaluationPeriodEndLabel, 2, 0);
    generalLayout->addWidget(EvaluationPeriodEndSpin, 2, 1);
    generalLayout->addWidget(loqLabel, 3, 0);
    generalLayout->addWidget(LOQEdit, 3, 1);
    QLabel* zeroLevelNote =
        NoteLabel(QStringLiteral("(used as \"zero-level\")"), QStringLiteral("gray"));
    zeroLevelNote->setWordWrap(false);
    generalLayout->addWidget(zeroLevelNote, 4, 0, 1, 2, Qt::AlignRight);
    SetPeriodSpinsEnabled(false);
    layout->addWidget(general);

    auto* thresholds = new QGroupBox(QStringLiteral(" Threshold concentrations "));
    auto* thresholdsLayout = new QVBoxLayout(thresholds);
    thresholdsLayout->addWidget(
        NoteLabel(QStringLiteral("Please enter thresholds using the unit you selected below."),
                  QStringLiteral("blue")));
    ThresholdsGrid = new TAGrid;
    ThresholdsGrid->setObjectName(QStringLiteral("ThresholdsGrid"));
    ThresholdsGrid->setColumnCount(2);
    ThresholdsGrid->setRowCount(kThresholdRows);
    ThresholdsGrid->setFixedRowCount(1);
    ThresholdsGrid->setFixedColCount(1);
    ThresholdsGrid->setEditingAllowed(true);
    ThresholdsGrid->setSelectionMode(QAbstractItemView::ContiguousSelection);
    ThresholdsGrid->setColumnWidth(0, 43);
    ThresholdsGrid->setColumnWidth(1, 153);
    ThresholdsGrid->verticalHeader()->setDefaultSectionSize(18);
    ThresholdsGrid->setMinimumHeight(120);
    thresholdsLayout->addWidget(ThresholdsGrid);
    layout->addWidget(thresholds, 1);

    auto* graphics = new QGroupBox(QStringLiteral("Graphics Settings "));
    auto* graphicsLayout = new QGridLayout(graphics);
    RadioGroup_Unit = RadioGroup(
        QStringLiteral("RadioGroup_Unit"), QStringLiteral("Unit Selection "),
        {QStringLiteral("mg/L (default)"), QStringLiteral("µg/L"), QStringLiteral("Custom")},
        UnitButtons);
    Edit_UnitString = LineEdit(QStringLiteral("Edit_UnitString"));
    Edit_UnitString->setText(QStringLiteral("mg/L"));
    Edit_UnitString->setEnabled(false);
    Edit_convFactor = LineEdit(QStringLiteral("Edit_convFactor"));
    Edit_convFactor->setText(QStringLiteral("1"));
    Edit_convFactor->setEnabled(false);
    graphicsLayout->addWidget(RadioGroup_Unit, 0, 0, 1, 2);
    graphicsLayout->addWidget(new QLabel(QStringLiteral("Unit Name")), 1, 0);
    graphicsLayout->addWidget(Edit_UnitString, 1, 1);
    graphicsLayout->addWidget(new QLabel(QStringLiteral("Conversion Factor")), 2, 0);
    graphicsLayout->addWidget(Edit_convFactor, 2, 1);
    layout->addWidget(graphics);

    auto* misc = new QGroupBox(QStringLiteral(" Miscellaneous settings "));
    auto* miscLayout = new QGridLayout(misc);
    UserDefinedPercentileSpin = SpinEdit(QStringLiteral("UserDefinedPercentileSpin"), 1, 99);
    UserDefinedWindowSizeSpin = SpinEdit(QStringLiteral("UserDefinedWindowSizeSpin"), 1, 9999);
    miscLayout->addWidget(new QLabel(QStringLiteral("User defined percentile:")), 0, 0);
    miscLayout->addWidget(UserDefinedPercentileSpin, 0, 1);
    miscLayout->addWidget(new QLabel(QStringLiteral("User defined window size [d]:")), 1, 0);
    miscLayout->addWidget(UserDefinedWindowSizeSpin, 1, 1);
    layout->addWidget(misc);
    return column;
}

QWidget* TMainForm::BuildRightArea() {
    auto* area = new QWidget;
    auto* layout = new QVBoxLayout(area);
    layout->setContentsMargins(0, 0, 0, 0);

    auto* files = new QGroupBox(QStringLiteral(" Files selected for analysis "));
    auto* filesLayout = new QVBoxLayout(files);
    ComboBox_ModeSelect = new QComboBox;
    ComboBox_ModeSelect->setObjectName(QStringLiteral("ComboBox_ModeSelect"));
    for (const ModeItem& item : kModeItems)
        ComboBox_ModeSelect->addItem(QString::fromLatin1(item.caption));
    filesLayout->addWidget(ComboBox_ModeSelect);
    filesLayout->addWidget(NoteLabel(
        QStringLiteral("Highest concentrations are observed in the last segment (i.e. pond: "
                       "segment 1, ditch: segment 10, stream: segment 20)"),
        QStringLiteral("gray")));
    auto* substanceRow = new QHBoxLayout;
    ComboBox_Substance = new QComboBox;
    ComboBox_Substance->setObjectName(QStringLiteral("ComboBox_Substance"));
    ComboBox_Substance->setEditable(true);
    ComboBox_Substance->setMinimumWidth(200);
    substanceRow->addWidget(new QLabel(QStringLiteral("Substance selection")));
    substanceRow->addWidget(ComboBox_Substance);
    RadioGroup_Hour = RadioGroup(
        QStringLiteral("RadioGroup_Hour"), QStringLiteral("Time "),
        {QStringLiteral("Full hour (default)"), QStringLiteral("Half hour")}, HourButtons);
    substanceRow->addWidget(RadioGroup_Hour);
    substanceRow->addStretch(1);
    filesLayout->addLayout(substanceRow);

    InputFileGrid = new TAGrid;
    InputFileGrid->setObjectName(QStringLiteral("InputFileGrid"));
    InputFileGrid->setColumnCount(2);
    InputFileGrid->setRowCount(kInputFileRows);
    InputFileGrid->setFixedRowCount(1);
    InputFileGrid->setEditingAllowed(true);
    InputFileGrid->setColumnWidth(0, 497);
    InputFileGrid->setColumnWidth(1, 64);
    InputFileGrid->verticalHeader()->setDefaultSectionSize(18);
    filesLayout->addWidget(InputFileGrid, 1);

    auto* buttons = new QHBoxLayout;
    AddToxwaFileButton = new QPushButton(QStringLiteral("&Add file"));
    AddToxwaFileButton->setObjectName(QStringLiteral("AddToxwaFileButton"));
    DeleteToxwaFileButton = new QPushButton(QStringLiteral("&Delete file"));
    DeleteToxwaFileButton->setObjectName(QStringLiteral("DeleteToxwaFileButton"));
    ClearToxswaFilesButton = new QPushButton(QStringLiteral("&Clear"));
    ClearToxswaFilesButton->setObjectName(QStringLiteral("ClearToxswaFilesButton"));
    buttons->addWidget(AddToxwaFileButton);
    buttons->addWidget(DeleteToxwaFileButton);
    buttons->addWidget(ClearToxswaFilesButton);
    buttons->addStretch(1);
    filesLayout->addLayout(buttons);
    layout->addWidget(files, 1);

    auto* output = new QGroupBox(QStringLiteral(" Output directory "));
    auto* outputLayout = new QHBoxLayout(output);
    OutputDirEdit = LineEdit(QStringLiteral("OutputDirEdit"));
    OutputDirSpeed = new QToolButton;
    OutputDirSpeed->setObjectName(QStringLiteral("OutputDirSpeed"));
    OutputDirSpeed->setIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));
    OutputDirSpeed->setToolTip(QStringLiteral("Select a folder"));
    outputLayout->addWidget(OutputDirEdit, 1);
    outputLayout->addWidget(OutputDirSpeed);
    layout->addWidget(output);
    return area;
}

void TMainForm::ConnectHandlers() {
    connect(FileNew, &QAction::triggered, this, &TMainForm::FileNewExecute);
    connect(FileOpen, &QAction::triggered, this, &TMainForm::FileOpenExecute);
    connect(FileSave, &QAction::triggered, this, &TMainForm::FileSaveExecute);
    connect(FileSaveAs, &QAction::triggered, this, &TMainForm::FileSaveAsExecute);
    connect(FileExit, &QAction::triggered, this, &QWidget::close);
    connect(AnalysisRun, &QAction::triggered, this, &TMainForm::AnalysisRunExecute);
    connect(ShowAbout, &QAction::triggered, this, &TMainForm::ShowAboutExecute);

    connect(EvaluationPeriodCombo, &QComboBox::activated, this,
            &TMainForm::EvaluationPeriodComboSelect);
    // A spin also finishes editing when another window or a message box takes the focus; only
    // a move to another control of this window leaves it.
    connect(EvaluationPeriodStartSpin, &QSpinBox::editingFinished, this, [this] {
        if (isActiveWindow() && QApplication::activePopupWidget() == nullptr) {
            EvaluationPeriodStartSpinExit();
        }
    });
    connect(EvaluationPeriodEndSpin, &QSpinBox::editingFinished, this, [this] {
        if (isActiveWindow() && QApplication::activePopupWidget() == nullptr) {
            EvaluationPeriodEndSpinExit();
        }
    });
    for (QSpinBox* spin : {EvaluationPeriodStartSpin, EvaluationPeriodEndSpin,
                           UserDefinedPercentileSpin, UserDefinedWindowSizeSpin}) {
        // Typed keys reach the spin's text field first.
        spin->installEventFilter(this);
        if (QLineEdit* text = spin->findChild<QLineEdit*>()) text->installEventFilter(this);
    }
    // Every change of the text: the spin reports new values, its edit field also a typed text
    // that is no number yet.
    for (QSpinBox* spin : {UserDefinedPercentileSpin, UserDefinedWindowSizeSpin}) {
        connect(spin, &QSpinBox::textChanged, this, &TMainForm::MarkUnsaved);
        connect(spin->findChild<QLineEdit*>(), &QLineEdit::textChanged, this,
                &TMainForm::MarkUnsaved);
    }
    connect(LOQEdit, &QLineEdit::textChanged, this, &TMainForm::MarkUnsaved);
    connect(OutputDirEdit, &QLineEdit::textChanged, this, &TMainForm::MarkUnsaved);
    OutputDirEdit->installEventFilter(this);
    InputFileGrid->installEventFilter(this);
    connect(OutputDirSpeed, &QToolButton::clicked, this, &TMainForm::OutputDirSpeedClick);

    ThresholdsGrid->setKeyDownHandler([this](TAGrid& grid, int key, Qt::KeyboardModifiers mods) {
        MarkUnsaved();
        HandleGridKeys(grid, key, mods, EscapeRule::WhileEditing, thresholdEscapeText_);
    });
    InputFileGrid->setKeyDownHandler([this](TAGrid& grid, int key, Qt::KeyboardModifiers mods) {
        MarkUnsaved();
        HandleGridKeys(grid, key, mods, EscapeRule::None, QString());
    });

    connect(UnitButtons, &QButtonGroup::idToggled, this, [this](int, bool checked) {
        if (checked) RadioGroup_UnitClick();
    });
    connect(Edit_UnitString, &QLineEdit::textChanged, this, [this](const QString& text) {
        settings_.unitName = text;
        MarkUnsaved();
    });
    // Leaving the edit runs the factor rule even when its text is unchanged, and Enter does not.
    Edit_convFactor->installEventFilter(this);
    connect(HourButtons, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked) settings_.hourIndex = id;
    });
    connect(ComboBox_ModeSelect, &QComboBox::activated, this,
            &TMainForm::ComboBox_ModeSelectChange);
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
    const bool spinKey = qobject_cast<QSpinBox*>(watched) != nullptr ||
                         qobject_cast<QSpinBox*>(watched->parent()) != nullptr;
    if (event->type() == QEvent::KeyPress && spinKey) {
        const auto* keyEvent = static_cast<QKeyEvent*>(event);
        if (TypesCharacter(*keyEvent)) MarkUnsaved();
        const int key = keyEvent->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) return true;
    }
    if (event->type() == QEvent::Resize && watched == InputFileGrid) FormResize();
    if (event->type() == QEvent::FocusOut && watched == Edit_convFactor && LeavesControl(*event)) {
        Edit_convFactorExit();
    }
    if (event->type() == QEvent::MouseButtonDblClick && watched == OutputDirEdit) {
        OutputDirSpeedClick();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void TMainForm::FormCreate() {
    settings_.startDirectory = QDir::currentPath();
    ThresholdsGrid->setCellText(0, 1, QStringLiteral("Threshold concentration"));
    for (int row = 1; row < ThresholdsGrid->rowCount(); ++row) {
        ThresholdsGrid->setCellText(row, 0, QString::number(row));
    }
    ResetSettings();
    ShowSettings();
    settings_.settingsSaved = true;
    settings_.unitId = 0;
    settings_.unitName = QStringLiteral("mg/L");
    settings_.unitFactor = 1.0f;
    ComboBox_ModeSelectChange();
}

void TMainForm::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    FormResize();
}

// The TOXSWA .out modes leave room for the segment column; every other mode gives the file
// name column nearly the whole width.
void TMainForm::FormResize() {
    const int margin = IsToxswaOutSource(settings_.dataSource) ? 87 : 23;
    InputFileGrid->setColumnWidth(0, std::max(64, InputFileGrid->width() - margin));
}

void TMainForm::closeEvent(QCloseEvent* event) {
    if (QuerySaveChanges()) {
        event->accept();
    } else {
        event->ignore();
    }
}

void TMainForm::MarkUnsaved() {
    settings_.settingsSaved = false;
}

void TMainForm::SetPeriodSpinsEnabled(bool enabled) {
    for (QWidget* widget :
         std::initializer_list<QWidget*>{EvaluationPeriodStartLabel, EvaluationPeriodStartSpin,
                                         EvaluationPeriodEndLabel, EvaluationPeriodEndSpin}) {
        widget->setEnabled(enabled);
    }
}

// Keeps the segment column when the list shows file names only: the engine ignores it for
// concentration files, and a later switch of the data source shows it again.
void TMainForm::SetInputGridColumnCount(int columns) {
    InputFileGrid->setColumnHidden(1, columns < 2);
    InputFileGrid->setCellText(0, 0, QStringLiteral("Filename"));
    InputFileGrid->setCellText(0, 1, columns < 2 ? QString() : QStringLiteral("Segment"));
}

void TMainForm::ShowInputSide() {
    const int source = settings_.dataSource;
    if (source == 0) {
        addFileDefaultExtension_ = QStringLiteral("cwa");
        addFileFilter_ = QString::fromLatin1(kFilterCwa);
        SetInputGridColumnCount(2);
        RadioGroup_Hour->setEnabled(false);
        ComboBox_Substance->setEnabled(false);
    } else if (IsToxswaOutSource(source)) {
        addFileDefaultExtension_ = QStringLiteral("out");
        addFileFilter_ = QString::fromLatin1(source == 2 ? kFilterOut443 : kFilterOut553);
        SetInputGridColumnCount(2);
        ComboBox_Substance->clear();
        ComboBox_Substance->addItem(settings_.substanceSelection);
        ComboBox_Substance->setCurrentIndex(0);
        ComboBox_Substance->setEnabled(true);
        RadioGroup_Hour->setEnabled(true);
        HourButtons->button(settings_.hourIndex == 1 ? 1 : 0)->setChecked(true);
    } else {
        addFileDefaultExtension_ = QStringLiteral("con");
        addFileFilter_ = QString::fromLatin1(kFilterCon);
        ComboBox_Substance->setEnabled(false);
        SetInputGridColumnCount(1);
        RadioGroup_Hour->setEnabled(false);
    }
}

void TMainForm::WriteInputFilesToGrid() {
    ClearGridCells(*InputFileGrid);
    const int needed = static_cast<int>(settings_.inputFiles.size()) + 1;
    if (InputFileGrid->rowCount() < needed) InputFileGrid->setRowCount(needed);
    for (std::size_t i = 0; i < settings_.inputFiles.size(); ++i) {
        const int row = static_cast<int>(i) + 1;
        InputFileGrid->setCellText(row, 0, settings_.inputFiles[i].fileName);
        InputFileGrid->setCellText(row, 1, QString::number(settings_.inputFiles[i].segment));
    }
}

void TMainForm::WriteThresholdsToGrid() {
    const int needed = static_cast<int>(settings_.thresholdLevels.size()) + 1;
    if (ThresholdsGrid->rowCount() < needed) ThresholdsGrid->setRowCount(needed);
    ClearGridCells(*ThresholdsGrid);
    for (std::size_t i = 0; i < settings_.thresholdLevels.size(); ++i) {
        ThresholdsGrid->setCellText(
            static_cast<int>(i) + 1, 1,
            ScientificText(settings_.thresholdLevels[i], kScientificDigits));
    }
}

void TMainForm::ShowSettings() {
    ShowInputSide();
    FormResize();
    EvaluationPeriodCombo->setCurrentIndex(settings_.evaluationPeriod == 1 ? 1 : 0);
    EvaluationPeriodStartSpin->setValue(settings_.periodStart);
    EvaluationPeriodEndSpin->setValue(settings_.periodEnd);
    if (EvaluationPeriodCombo->currentIndex() != 0) {
        SetPeriodSpinsEnabled(true);
        if (settings_.periodStart > settings_.periodEnd) {
            ShowInformation(this, QStringLiteral("The evaluation period starts on day %1, after "
                                                 "its end on day %2. Please correct the "
                                                 "evaluation period.")
                                      .arg(settings_.periodStart)
                                      .arg(settings_.periodEnd));
        }
        EvaluationPeriodStartSpin->setValue(settings_.periodStart);
        EvaluationPeriodEndSpin->setValue(settings_.periodEnd);
    } else {
        SetPeriodSpinsEnabled(false);
    }
    WriteInputFilesToGrid();
    OutputDirEdit->setText(settings_.outputDirectory);
    LOQEdit->setText(ScientificText(settings_.loq, kScientificDigits));
    WriteThresholdsToGrid();
    UserDefinedPercentileSpin->setValue(settings_.userPercentile);
    UserDefinedWindowSizeSpin->setValue(settings_.userWindowSize);
    if (settings_.unitId >= 0 && settings_.unitId <= 2) {
        UnitButtons->button(settings_.unitId)->setChecked(true);
    }
    if (settings_.unitId == 2) {
        Edit_UnitString->setText(settings_.unitName);
        Edit_convFactor->setText(GeneralText(settings_.unitFactor, 5));
    }
}

bool TMainForm::CollectInputFiles() {
    if (IsColumnEmpty(*InputFileGrid, 0)) {
        ShowInformation(this, QStringLiteral("Please select one or more input files!"));
        return false;
    }
    settings_.inputFiles.clear();
    for (int row = 1; row < InputFileGrid->rowCount(); ++row) {
        const QString path = InputFileGrid->cellText(row, 0);
        if (TrimBlanksAndControls(path).isEmpty()) continue;
        if (!QFileInfo(path).isFile()) {
            ShowInformation(this, QStringLiteral("File '") + FileNameWithoutDirectory(path) +
                                      QStringLiteral("' not found!"));
            return false;
        }
        const QString segmentText = InputFileGrid->cellText(row, 1);
        std::optional<int> segment = ParseSegmentNumber(segmentText);
        // Concentration files have no segment and the list hides its column: nothing to check.
        if (!segment && settings_.dataSource == 1) segment = -1;
        if (!segment) {
            ShowError(this, QStringLiteral("Invalid segment '") + segmentText +
                                QStringLiteral("' given for file '") +
                                FileNameWithoutDirectory(path) + QStringLiteral("'."));
            return false;
        }
        settings_.inputFiles.push_back({TrimBlanksAndControls(path), *segment});
    }
    WriteInputFilesToGrid();
    return true;
}

bool TMainForm::CollectThresholds() {
    settings_.thresholdLevels.clear();
    for (int row = 1; row < ThresholdsGrid->rowCount(); ++row) {
        const QString text = ThresholdsGrid->cellText(row, 1);
        if (TrimBlanksAndControls(text).isEmpty()) continue;
        const std::optional<double> value = ParseLocaleNumber(text);
        if (!value) {
            ShowMessage(
                this, MessageKind::ConversionError,
                QLatin1Char('\'') + text + QStringLiteral("' is not a valid floating point value"));
            return false;
        }
        settings_.thresholdLevels.push_back(*value);
    }
    WriteThresholdsToGrid();
    return true;
}

bool TMainForm::CollectSettings() {
    if (!CollectInputFiles()) return false;
    settings_.outputDirectory = OutputDirEdit->text();
    if (settings_.outputDirectory.isEmpty()) {
        ShowInformation(this, QStringLiteral("Please select an output directory!"));
        return false;
    }
    if (!QFileInfo(settings_.outputDirectory).isDir()) {
        ShowInformation(this, QStringLiteral("Directory '") + settings_.outputDirectory +
                                  QStringLiteral("' does not exist. Please select a valid "
                                                 "output directory!"));
        return false;
    }
    const int periodStart = SpinEditValue(*EvaluationPeriodStartSpin);
    const int periodEnd = SpinEditValue(*EvaluationPeriodEndSpin);
    if (periodStart >= periodEnd) {
        ShowMessage(this, MessageKind::Plain, QStringLiteral("Invalid evaluation period!"));
        return false;
    }
    settings_.evaluationPeriod = EvaluationPeriodCombo->currentIndex();
    settings_.periodStart = periodStart;
    settings_.periodEnd = periodEnd;
    const std::optional<double> loq = ParseLocaleNumber(LOQEdit->text());
    if (!loq) {
        ShowInformation(this, QLatin1Char('\'') + LOQEdit->text() +
                                  QStringLiteral("' (LOQ) is not a valid float number!"));
        return false;
    }
    settings_.loq = *loq;
    if (!CollectThresholds()) return false;
    settings_.userPercentile = SpinEditValue(*UserDefinedPercentileSpin);
    settings_.userWindowSize = SpinEditValue(*UserDefinedWindowSizeSpin);
    if (IsToxswaOutSource(settings_.dataSource)) {
        if (ComboBox_Substance->currentText().isEmpty()) {
            ShowInformation(this, QStringLiteral("No substance selected!"));
            return false;
        }
        settings_.substanceSelection = ComboBox_Substance->currentText();
    } else {
        settings_.substanceSelection.clear();
    }
    return true;
}

void TMainForm::EvaluationPeriodComboSelect() {
    MarkUnsaved();
    SetPeriodSpinsEnabled(EvaluationPeriodCombo->currentIndex() == 1);
}

void TMainForm::EvaluationPeriodStartSpinExit() {
    if (EvaluationPeriodEndSpin->value() < EvaluationPeriodStartSpin->value()) {
        EvaluationPeriodEndSpin->setValue(EvaluationPeriodStartSpin->value());
    }
    MarkUnsaved();
}

void TMainForm::EvaluationPeriodEndSpinExit() {
    if (EvaluationPeriodEndSpin->value() < EvaluationPeriodStartSpin->value()) {
        EvaluationPeriodStartSpin->setValue(EvaluationPeriodEndSpin->value());
    }
    MarkUnsaved();
}

void TMainForm::RadioGroup_UnitClick() {
    const int item = UnitButtons->checkedId();
    if (item < 0 || item > 2) {
        MarkUnsaved();
        return;
    }
    // The record follows the control, so that a settings file without unit lines keeps the
    // unit shown.
    settings_.unitId = item;
    if (item == 2) {
        Edit_convFactor->setEnabled(true);
        Edit_convFactor->setText(GeneralText(settings_.unitFactor, 2));
        Edit_UnitString->setEnabled(true);
    } else {
        const bool micrograms = item == 1;
        settings_.unitFactor = micrograms ? 1000.0f : 1.0f;
        settings_.unitName = micrograms ? QStringLiteral("µg/L") : QStringLiteral("mg/L");
        Edit_convFactor->setEnabled(false);
        Edit_convFactor->setText(micrograms ? QStringLiteral("1000") : QStringLiteral("1"));
        Edit_UnitString->setEnabled(false);
    }
    Edit_UnitString->setText(settings_.unitName);
    MarkUnsaved();
}

void TMainForm::Edit_convFactorExit() {
    if (const std::optional<float> factor = ParseUnitFactor(Edit_convFactor->text())) {
        settings_.unitFactor = *factor;
    } else {
        ShowMessage(this, MessageKind::Plain,
                    QStringLiteral("Please enter a number as conversion factor!"));
        UnitButtons->button(0)->setChecked(true);
    }
    MarkUnsaved();
}

void TMainForm::OutputDirSpeedClick() {
    const QStringList chosen =
        ShowFileDialog(this, FileDialogKind::Folder,
                       {QStringLiteral("Select a folder:"), {}, {}, settings_.outputDirectory});
    if (chosen.isEmpty()) return;
    settings_.outputDirectory = QDir::toNativeSeparators(chosen.first());
    OutputDirEdit->setText(settings_.outputDirectory);
    MarkUnsaved();
}

void TMainForm::ComboBox_ModeSelectChange() {
    const ModeItem& item = kModeItems[std::clamp(ComboBox_ModeSelect->currentIndex(), 0, 4)];
    settings_.detectFormat = item.detectFormat;
    settings_.dataSource = item.dataSource;
    addFileDefaultExtension_ = QString::fromLatin1(item.defaultExtension);
    addFileFilter_ = QString::fromLatin1(item.filter);
    SetInputGridColumnCount(item.dataSource == 1 ? 1 : 2);
    ComboBox_Substance->setEnabled(item.substanceEnabled);
    RadioGroup_Hour->setEnabled(item.hourEnabled);
    if (item.dataSource == 2 || item.dataSource == 3) {
        HourButtons->button(settings_.hourIndex == 1 ? 1 : 0)->setChecked(true);
    }
    MarkUnsaved();
    ClearGridCells(*InputFileGrid);
    FormResize();
}

void TMainForm::AnalysisRunExecute() {
    if (!CollectSettings()) return;
    if (!settings_.settingsSaved) {
        ShowInformation(this, QStringLiteral("Please save settings first!"));
        return;
    }
}

void TMainForm::ShowAboutExecute() {
    aboutBox_->exec();
}

}  // namespace kivo::gui
