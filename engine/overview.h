#pragma once

#include <string>

#include "engine/engine_state.h"

namespace kivo {

/// Joins the result tables of all series into the three overview tables.
void WriteOverviewTables(EngineState& state);

/// The scenario cell of an input file (location and water body, or the .log's water body).
std::string ScenarioName(const EngineState& state, const std::string& inputFile);
std::string ReadRunId(const std::string& fileName);
std::string ReadLocation(const std::string& fileName);
std::string ReadWaterbody(const std::string& fileName);

}  // namespace kivo
