#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kivo {

/// An input file path, as the settings file gives it, and its water-body segment (-1: none given).
struct TInputFileAndSegment {
    std::string fileName;
    int32_t segment = -1;
};

/// The settings of one engine run, filled by the settings reader and only read afterwards.
struct AnalysisSettings {
    int32_t dataSource = 0;
    std::string settingsFile;
    std::vector<TInputFileAndSegment> inputFiles;
    std::string outputDirectory;
    int32_t evaluationPeriod = 0;
    int32_t periodStart = 0;
    int32_t periodEnd = 0;
    double loq = 1e-10;
    std::vector<double> thresholdLevels;
    int32_t userPercentile = 95;
    int32_t userWindowSize = 56;
    std::string substanceSelection;
    std::string hourSelection;
    std::string unitName;
    float unitFactor = 0.0f;
};

}  // namespace kivo
