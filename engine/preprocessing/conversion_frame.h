#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "common/analysis_settings.h"
#include "common/text_file_writer.h"
#include "common/text_lines.h"
#include "engine/engine_state.h"

namespace kivo {

/// What a format-specific converter gets for one input entry.
struct ConversionJob {
    const AnalysisSettings& settings;
    const TInputFileAndSegment& entry;
    TextLineReader& in;
    TextFileWriter& out;
};

/// Converts the lines of one open input file into rows; returns an empty text when the file
/// was converted, else why the line last read cannot be converted.
using LineConverter = std::function<std::string(const ConversionJob& job)>;

/// Runs the conversion shared by all TOXSWA formats: works in the output directory, clears
/// state.ConcentrationFiles, and for every input entry announces it, creates its series file
/// with the header, lets `convert` write the rows and checks both files. Returns 0; every
/// file error ends the run through ReportFatalError.
int ConvertInputFiles(EngineState& state, const LineConverter& convert);

/// The value of the longest leading part of `text` that reads as a decimal number; 0 when
/// the text does not begin with one.
double LeadingNumber(std::string_view text);

/// Reads the whole of `text` as a finite decimal number; false when it is not one.
bool ParseWholeNumber(std::string_view text, double& value);

}  // namespace kivo
