#pragma once

#include <string>
#include <vector>

#include "engine/engine_state.h"

namespace kivo {

/// Reads and checks the settings file named by the command-line arguments (without the
/// program name) into state.settings. Returns 0; every problem ends the run through
/// ReportFatalError with the full report.
int ReadSettingsFile(const std::vector<std::string>& arguments, EngineState& state);

}  // namespace kivo
