#pragma once

#include <QString>
#include <vector>

namespace kivo::gui {

/// An input file of the main window's list and its water-body segment (-1: none).
struct EditedInputFile {
    QString fileName;
    int segment = -1;
};

/// The main window's copy of the settings being edited; field names follow the engine's
/// settings record where the meaning is the same.
struct EditedSettings {
    QString startDirectory;
    bool settingsSaved = false;
    bool detectFormat = true;
    int dataSource = 3;
    QString settingsFile;
    std::vector<EditedInputFile> inputFiles;
    QString outputDirectory;
    int evaluationPeriod = 0;
    int periodStart = 0;
    int periodEnd = 0;
    double loq = 1e-10;
    std::vector<double> thresholdLevels;
    int userPercentile = 95;
    int userWindowSize = 56;
    int hourIndex = 0;
    QString substanceSelection;
    QString unitName;
    float unitFactor = 1.0f;
    int unitId = 0;
};

}  // namespace kivo::gui
