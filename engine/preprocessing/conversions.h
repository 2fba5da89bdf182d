#pragma once

#include <string>

#include "engine/engine_state.h"

namespace kivo {

/// Converts every input entry (TOXSWA .cwa) into a series file in the output directory and
/// lists it in state.ConcentrationFiles. Returns 0; file errors end the run.
int ConvertCwaFiles(EngineState& state);
/// The same for TOXSWA 4.4.3 .out files, with the hour selection ("FULL" or other).
int ConvertOut443Files(EngineState& state, const std::string& hourSelection);
/// The same for TOXSWA 5.5.3 .out files.
int ConvertOut553Files(EngineState& state);

}  // namespace kivo
