#pragma once

#include <string>
#include <vector>

#include "common/analysis_settings.h"

namespace kivo {

/// What the engine holds for the life of its process: the settings, the list of series
/// files and the three lists of result tables, all indexed like settings.inputFiles.
struct EngineState {
    AnalysisSettings settings;
    std::vector<std::string> ConcentrationFiles;
    std::vector<std::string> EventsFiles;
    std::vector<std::string> EventSummaryFiles;
    std::vector<std::string> MovingWindowFiles;
    /// The working directory the engine started in; relative paths of the settings file
    /// (input files, output directory) are resolved against it.
    std::string startDirectory;
};

/// A path of the settings file as the engine opens it: relative paths are taken from the
/// start directory, so changing into the output directory does not change what they name.
std::string ResolveSettingsPath(const EngineState& state, const std::string& path);

}  // namespace kivo
