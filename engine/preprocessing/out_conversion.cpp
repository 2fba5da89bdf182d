#include <string>
#include <string_view>
#include <vector>

#include "common/number_formats.h"
#include "engine/preprocessing/blank_tokens.h"
#include "engine/preprocessing/conversion_frame.h"
#include "engine/preprocessing/conversions.h"

namespace kivo {
namespace {

/// How one TOXSWA version's .out files are read.
struct OutFormat {
    std::string columnName;      // marks the lines of the wanted variable
    int headerLines = 0;         // lines skipped whatever they hold
    bool completeDates = false;  // an 11-character date gets "-00h00"
};

std::string_view TrimBlanks(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    const std::size_t last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

/// Drops the header lines and the block of "*" lines after them; false when the file ends
/// first, otherwise `line` is the first candidate data line.
bool SkipHeader(const ConversionJob& job, int headerLines, std::string_view& line) {
    for (int skipped = 0; skipped < headerLines; ++skipped) {
        if (!job.in.NextLine(line)) return false;
    }
    while (job.in.NextLine(line)) {
        if (line.empty() || line[0] != '*') return true;
    }
    return false;
}

/// Appends the concentration: the text itself when the factor is 1, else the converted value.
bool AppendConcentration(std::string_view token, float unitFactor, std::string& row) {
    if (unitFactor == 1.0f) {
        row.append(token);
        return true;
    }
    double value = 0.0;
    if (!ParseWholeNumber(token, value)) return false;
    row.append(General6(value * static_cast<double>(unitFactor)));
    return true;
}

/// Handles one line of the wanted variable; sets `stop` beyond the period end.
std::string ConvertDataLine(const ConversionJob& job, const OutFormat& format,
                            std::string_view line, std::vector<std::size_t>& tokenStarts,
                            std::string& row, bool& stop) {
    const AnalysisSettings& settings = job.settings;
    const int segment = job.entry.segment;
    const std::size_t valueIndex = 2 + static_cast<std::size_t>(segment < 1 ? 0 : segment);
    FindTokenStarts(line, valueIndex + 1, tokenStarts);
    const std::string_view timeText = TokenAt(line, tokenStarts[0]);
    if (settings.evaluationPeriod == 1) {
        // t is held in single precision and compared with the exact whole-day bounds.
        const double t = static_cast<float>(LeadingNumber(timeText));
        const bool inPeriod = settings.periodStart <= t && t < settings.periodEnd;
        if (t > settings.periodEnd) stop = true;
        if (!inPeriod) return {};
    }
    if (segment < 1 || valueIndex >= tokenStarts.size()) {
        return "no value for segment " + std::to_string(segment) + ".";
    }
    const std::string_view date = TokenAt(line, tokenStarts[1]);
    const std::string_view value = TokenAt(line, tokenStarts[valueIndex]);
    row.assign(date);
    if (format.completeDates && date.size() == 11) row.append("-00h00");
    row.append("\t").append(timeText).append("\t");
    if (!AppendConcentration(value, settings.unitFactor, row)) {
        return "the value \"" + std::string(value) + "\" of segment " + std::to_string(segment) +
               " is not a number.";
    }
    job.out.WriteLine(row);
    return {};
}

std::string ConvertOutLines(const ConversionJob& job, const OutFormat& format) {
    std::string_view line;
    if (!SkipHeader(job, format.headerLines, line)) return {};
    std::vector<std::size_t> tokenStarts;
    std::string row;
    bool stop = false;
    do {
        if (line.empty() || line[0] == '*') continue;
        line = TrimBlanks(line);
        if (line.find(format.columnName) == std::string_view::npos) continue;
        std::string error = ConvertDataLine(job, format, line, tokenStarts, row, stop);
        if (!error.empty()) return error;
    } while (!stop && job.in.NextLine(line));
    return {};
}

int ConvertOutFiles(EngineState& state, const OutFormat& format) {
    return ConvertInputFiles(
        state, [&format](const ConversionJob& job) { return ConvertOutLines(job, format); });
}

}  // namespace

int ConvertOut443Files(EngineState& state, const std::string& hourSelection) {
    const std::string variable = hourSelection == "FULL" ? "ConLiqWatLayCur" : "ConLiqWatLay";
    return ConvertOutFiles(state,
                           OutFormat{variable + "_" + state.settings.substanceSelection, 14, true});
}

int ConvertOut553Files(EngineState& state) {
    return ConvertOutFiles(
        state, OutFormat{"ConLiqWatLay_" + state.settings.substanceSelection, 12, false});
}

}  // namespace kivo
