#pragma once

#include "engine/engine_state.h"

namespace kivo {

/// Analyses every series of state.ConcentrationFiles and writes its three result tables
/// into the output directory, filling EventsFiles, EventSummaryFiles and MovingWindowFiles.
/// Returns 0; failures end the run through ReportFatalError.
int RunAnalysis(EngineState& state);

}  // namespace kivo
