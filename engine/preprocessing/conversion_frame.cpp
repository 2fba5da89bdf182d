#include "engine/preprocessing/conversion_frame.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "common/concentration_series.h"
#include "common/file_naming.h"
#include "engine/console.h"

namespace kivo {
namespace {

void EnterOutputDirectory(const EngineState& state) {
    // A directory that cannot be entered was already reported by the settings reader; the
    // files are then written to the current directory.
    std::error_code ignored;
    std::filesystem::current_path(ResolveSettingsPath(state, state.settings.outputDirectory),
                                  ignored);
}

std::string ReadingError(const std::string& inputPath) {
    return "Error while reading file \"" + inputPath + "\"!";
}

std::string WritingError(const std::string& outputName) {
    return "Error while writing file \"" + outputName + "\"!";
}

void ConvertEntry(EngineState& state, const TInputFileAndSegment& entry,
                  const LineConverter& convert) {
    PrintLine("Preprocessing file:\t" + entry.fileName);
    const std::string outputName = ConcentrationFileName(entry.fileName, entry.segment);
    const std::string inputPath = ResolveSettingsPath(state, entry.fileName);

    TextFileWriter out;
    out.Open(outputName);
    state.ConcentrationFiles.push_back(outputName);
    if (out.IsOpen()) WriteConcentrationHeader(out, state.settings, entry.fileName, entry.segment);

    TextLineReader in;
    std::string badInput;
    if (in.Open(inputPath)) badInput = convert(ConversionJob{state.settings, entry, in, out});
    const bool inputFailed = in.Failed() && !in.ReachedEnd();
    const long lineNumber = in.LineNumber();
    in.Close();
    const bool outputFailed = !out.Close();

    std::string error;
    if (!badInput.empty()) {
        error =
            ReadingError(entry.fileName) + " Line " + std::to_string(lineNumber) + ": " + badInput;
    } else if (inputFailed) {
        error = ReadingError(entry.fileName);
    }
    if (outputFailed) error += WritingError(outputName);
    if (!error.empty()) ReportFatalError(error);
}

}  // namespace

int ConvertInputFiles(EngineState& state, const LineConverter& convert) {
    EnterOutputDirectory(state);
    state.ConcentrationFiles.clear();
    for (const TInputFileAndSegment& entry : state.settings.inputFiles) {
        ConvertEntry(state, entry, convert);
    }
    return 0;
}

double LeadingNumber(std::string_view text) {
    if (!text.empty() && text[0] == '+') {
        text.remove_prefix(1);
        if (!text.empty() && text[0] == '-') return 0.0;
    }
    const std::size_t digitsAt = (!text.empty() && text[0] == '-') ? 1 : 0;
    if (digitsAt >= text.size()) return 0.0;
    const char first = text[digitsAt];
    if (!std::isdigit(static_cast<unsigned char>(first)) && first != '.') return 0.0;
    const char* last = text.data() + text.size();
    double value = 0.0;
    auto [end, error] = std::from_chars(text.data(), last, value);
    if (error == std::errc::result_out_of_range) {
        return std::strtod(std::string(text.data(), end).c_str(), nullptr);
    }
    return error == std::errc() ? value : 0.0;
}

bool ParseWholeNumber(std::string_view text, double& value) {
    if (!text.empty() && text[0] == '+') {
        text.remove_prefix(1);
        if (!text.empty() && text[0] == '-') return false;
    }
    if (text.empty()) return false;
    const char* last = text.data() + text.size();
    auto [end, error] = std::from_chars(text.data(), last, value);
    if (end != last) return false;
    if (error == std::errc::result_out_of_range) {
        value = std::strtod(std::string(text).c_str(), nullptr);
    } else if (error != std::errc()) {
        return false;
    }
    return std::isfinite(value);
}

}  // namespace kivo
