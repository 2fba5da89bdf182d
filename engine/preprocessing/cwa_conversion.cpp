#include <charconv>
#include <string>
#include <string_view>

#include "common/number_formats.h"
#include "engine/preprocessing/conversion_frame.h"
#include "engine/preprocessing/conversions.h"

namespace kivo {
namespace {

/// The fields of one .cwa data line that the conversion uses, and its two flags.
struct CwaLine {
    std::string date;           // field 1
    std::string time;           // field 2
    std::string segment;        // field 3
    std::string concentration;  // field 5
    bool skip = false;
    bool stop = false;
    bool complete = false;  // field 5 was ended by a blank or tab
};

long long LeadingInteger(std::string_view text) {
    if (!text.empty() && text[0] == '+') text.remove_prefix(1);
    long long value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() ? value : 0;
}

std::string* FieldBuffer(CwaLine& line, int field) {
    switch (field) {
        case 1:
            return &line.date;
        case 2:
            return &line.time;
        case 3:
            return &line.segment;
        case 5:
            return &line.concentration;
        default:
            return nullptr;  // fields 0 and 4 are not used
    }
}

/// Acts on a field at the blank or tab that ends it; an error text when it cannot be read.
std::string EndField(const ConversionJob& job, CwaLine& line, int field) {
    const AnalysisSettings& settings = job.settings;
    if (field == 2 && settings.evaluationPeriod == 1) {
        const double t = LeadingNumber(line.time);
        if (t < settings.periodStart) line.skip = true;
        if (t > settings.periodEnd) line.stop = true;
    } else if (field == 3) {
        if (LeadingInteger(line.segment) != job.entry.segment) line.skip = true;
    } else if (field == 5) {
        double value = 0.0;
        if (!ParseWholeNumber(line.concentration, value)) {
            return "the concentration \"" + line.concentration + "\" is not a number.";
        }
        line.concentration = General15(value * static_cast<double>(settings.unitFactor));
        line.complete = true;
    }
    return {};
}

/// Splits a data line into its fields at runs of blanks and tabs, acting on each field as
/// it ends; the scan stops once the line is skipped or stopped or field 5 has ended.
std::string ScanDataLine(const ConversionJob& job, std::string_view text, CwaLine& line) {
    int field = 0;
    bool inSeparator = false;
    for (const char c : text) {
        if (c == ' ' || c == '\t') {
            if (inSeparator) continue;
            inSeparator = true;
            std::string error = EndField(job, line, field);
            ++field;
            if (!error.empty() || line.skip || line.stop || field == 6) return error;
        } else {
            inSeparator = false;
            if (std::string* buffer = FieldBuffer(line, field)) buffer->push_back(c);
        }
    }
    return {};
}

std::string ConvertCwaLines(const ConversionJob& job) {
    CwaLine line;
    std::string row;
    std::string_view text;
    while (job.in.NextLine(text)) {
        if (text.empty() || text[0] == '*') continue;
        line.date.clear();
        line.time.clear();
        line.segment.clear();
        line.concentration.clear();
        line.skip = line.stop = line.complete = false;
        if (std::string error = ScanDataLine(job, text, line); !error.empty()) return error;
        if (line.stop) break;
        if (line.skip) continue;
        // The rows must carry date, t, segment and concentration: a line that ends before
        // the concentration is followed by a blank or tab would give a broken row.
        if (!line.complete) return "too few fields.";
        row.assign(line.date).append("\t").append(line.time).append("\t");
        row.append(line.concentration);
        job.out.WriteLine(row);
    }
    return {};
}

}  // namespace

int ConvertCwaFiles(EngineState& state) {
    return ConvertInputFiles(state, ConvertCwaLines);
}

}  // namespace kivo
