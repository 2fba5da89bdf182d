#pragma once

#include <vector>

#include "common/analysis_settings.h"
#include "common/text_file_writer.h"
#include "engine/events.h"

namespace kivo {

/// Writes the event summary: per threshold with events its Max and Min rows and one row per
/// percentile level. Sorts the result lists of the analyses in place, so the events table
/// must be written first.
void WriteEventSummary(TextFileWriter& out, const AnalysisSettings& settings,
                       std::vector<TThresholdLevelAnalysis>& analyses);

}  // namespace kivo
