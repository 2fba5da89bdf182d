#include "common/settings_format.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <system_error>

#include "common/code_tables.h"
#include "common/text_lines.h"

namespace kivo {
namespace {

bool IsCSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string_view SkipCSpace(std::string_view text) {
    std::size_t start = 0;
    while (start < text.size() && IsCSpace(text[start])) ++start;
    return text.substr(start);
}

std::string_view TrimSpaces(std::string_view text) {
    std::size_t start = 0;
    while (start < text.size() && text[start] == ' ') ++start;
    std::size_t end = text.size();
    while (end > start && text[end - 1] == ' ') --end;
    return text.substr(start, end - start);
}

/// The decimal exponent of the leading digit of a number text that from_chars found out of
/// range (mantissa and exponent, no sign); it tells an overflow from an underflow.
long long LeadingDigitExponent(std::string_view number) {
    long long exponent = 0;
    std::size_t i = 0;
    long long integerDigits = 0;
    bool significantSeen = false;
    for (; i < number.size() && IsDigit(number[i]); ++i) {
        if (number[i] != '0') significantSeen = true;
        if (significantSeen) ++integerDigits;
    }
    long long leadingFractionZeros = 0;
    if (i < number.size() && number[i] == '.') {
        for (++i; i < number.size() && IsDigit(number[i]); ++i) {
            if (!significantSeen && number[i] == '0') ++leadingFractionZeros;
            if (number[i] != '0') significantSeen = true;
        }
    }
    if (i < number.size() && (number[i] == 'e' || number[i] == 'E')) {
        // The written exponent may carry a "+" and may be far too long for any integer: it
        // saturates, which keeps its sign, and the sign is all that matters here.
        ++i;
        bool negativeExponent = false;
        if (i < number.size() && (number[i] == '+' || number[i] == '-')) {
            negativeExponent = number[i] == '-';
            ++i;
        }
        // Beyond the length of any text, so the digit counts cannot outweigh it.
        constexpr long long kExponentLimit = 1000000000000000LL;
        for (; i < number.size() && IsDigit(number[i]); ++i) {
            exponent = std::min(kExponentLimit, exponent * 10 + (number[i] - '0'));
        }
        if (negativeExponent) exponent = -exponent;
    }
    return integerDigits > 0 ? exponent + integerDigits - 1 : exponent - leadingFractionZeros - 1;
}

/// Reads a decimal number at the start of `text` like atof in the "C" locale; returns the
/// number of characters used, 0 when the text does not begin with a number.
std::size_t ReadDecimalPrefix(std::string_view text, double& value) {
    value = 0.0;
    std::string_view rest = SkipCSpace(text);
    std::size_t skipped = text.size() - rest.size();
    bool negative = false;
    if (!rest.empty() && (rest[0] == '+' || rest[0] == '-')) {
        negative = rest[0] == '-';
        rest.remove_prefix(1);
        ++skipped;
    }
    bool startsWithDigit = !rest.empty() && IsDigit(rest[0]);
    bool startsWithPoint = rest.size() > 1 && rest[0] == '.' && IsDigit(rest[1]);
    if (!startsWithDigit && !startsWithPoint) return 0;
    double magnitude = 0.0;
    auto result = std::from_chars(rest.data(), rest.data() + rest.size(), magnitude,
                                  std::chars_format::general);
    std::string_view number(rest.data(), static_cast<std::size_t>(result.ptr - rest.data()));
    if (result.ec == std::errc::result_out_of_range) {
        magnitude = LeadingDigitExponent(number) > 0 ? HUGE_VAL : 0.0;
    } else if (result.ec != std::errc()) {
        return 0;
    }
    value = negative ? -magnitude : magnitude;
    return skipped + number.size();
}

bool IsWholeNumberText(std::string_view text) {
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) text.remove_prefix(1);
    if (text.empty()) return false;
    for (char c : text) {
        if (!IsDigit(c)) return false;
    }
    return true;
}

float ToFloat(double value) {
    if (value > std::numeric_limits<float>::max()) return std::numeric_limits<float>::infinity();
    if (value < -std::numeric_limits<float>::max()) return -std::numeric_limits<float>::infinity();
    return static_cast<float>(value);
}

bool UsesSegments(int dataSource) {
    return dataSource == toxswa_data || dataSource == toxswa_out_data ||
           dataSource == toxswa_out_data_553;
}

std::string Quoted(std::string_view text) {
    std::string quoted;
    quoted.reserve(text.size() + 2);
    quoted += '"';
    quoted += text;
    quoted += '"';
    return quoted;
}

std::vector<std::string_view> SplitAt(std::string_view text, char separator) {
    std::vector<std::string_view> pieces;
    std::size_t start = 0;
    while (true) {
        std::size_t found = text.find(separator, start);
        if (found == std::string_view::npos) {
            pieces.push_back(text.substr(start));
            return pieces;
        }
        pieces.push_back(text.substr(start, found - start));
        start = found + 1;
    }
}

/// Reads the lines of one settings text into a values record and collects the messages.
class SettingsLineReader {
  public:
    SettingsLineReader(SettingsDialect dialect, SettingsFileValues& values,
                       const SettingsFileSystem& fileSystem)
        : dialect_(dialect), values_(values), settings_(values.analysis), fileSystem_(fileSystem) {}

    void ReadLine(std::string_view line, long lineNumber);
    void FinalChecks();
    const std::string& Messages() const { return messages_; }

  private:
    using Handler = void (SettingsLineReader::*)(std::string_view value, long lineNumber);
    struct KeyHandler {
        std::string_view key;
        Handler handler;
    };
    static const std::array<KeyHandler, 15> kKeyTable;

    void DataSource(std::string_view value, long lineNumber);
    void EvaluationPeriod(std::string_view value, long lineNumber);
    void EvaluationPeriodStart(std::string_view value, long lineNumber);
    void EvaluationPeriodEnd(std::string_view value, long lineNumber);
    void Loq(std::string_view value, long lineNumber);
    void ThresholdLevel(std::string_view value, long lineNumber);
    void UserPercentile(std::string_view value, long lineNumber);
    void UserWindowSize(std::string_view value, long lineNumber);
    void InputFile(std::string_view value, long lineNumber);
    void OutputDirectory(std::string_view value, long lineNumber);
    void SubstanceSelection(std::string_view value, long lineNumber);
    void HourSelection(std::string_view value, long lineNumber);
    void UnitId(std::string_view value, long lineNumber);
    void UnitName(std::string_view value, long lineNumber);
    void UnitFactor(std::string_view value, long lineNumber);

    int32_t InputSegment(std::string_view value, const std::string& fileName);
    void Report(const std::string& message) { messages_ += message; }
    bool IsFrontEnd() const { return dialect_ == SettingsDialect::FrontEnd; }

    SettingsDialect dialect_;
    SettingsFileValues& values_;
    AnalysisSettings& settings_;
    const SettingsFileSystem& fileSystem_;
    std::string messages_;
};

const std::array<SettingsLineReader::KeyHandler, 15> SettingsLineReader::kKeyTable = {{
    {"DATA_SOURCE", &SettingsLineReader::DataSource},
    {"EVALUATION_PERIOD", &SettingsLineReader::EvaluationPeriod},
    {"EVALUATION_PERIOD_START", &SettingsLineReader::EvaluationPeriodStart},
    {"EVALUATION_PERIOD_END", &SettingsLineReader::EvaluationPeriodEnd},
    {"LOQ", &SettingsLineReader::Loq},
    {"THRESHOLD_CONCENTRATION_LEVEL", &SettingsLineReader::ThresholdLevel},
    {"USER_DEFINED_PERCENTILE", &SettingsLineReader::UserPercentile},
    {"USER_DEFINED_WINDOW_SIZE", &SettingsLineReader::UserWindowSize},
    {"INPUT_FILE", &SettingsLineReader::InputFile},
    {"OUTPUT_DIRECTORY", &SettingsLineReader::OutputDirectory},
    {"SUBSTANCE_SELECTION", &SettingsLineReader::SubstanceSelection},
    {"HOUR_SELECTION", &SettingsLineReader::HourSelection},
    {"UNIT_ID", &SettingsLineReader::UnitId},
    {"UNIT_NAME", &SettingsLineReader::UnitName},
    {"UNIT_FACTOR", &SettingsLineReader::UnitFactor},
}};

void SettingsLineReader::ReadLine(std::string_view line, long lineNumber) {
    if (line.empty() || line[0] == '#') return;
    std::size_t colon = line.find(':');
    if (colon == std::string_view::npos) {
        Report("- Line " + std::to_string(lineNumber) +
               " is not a setting (no colon): " + Quoted(line) + "\n");
        return;
    }
    std::string_view key = TrimSpaces(line.substr(0, colon));
    std::string_view value = TrimSpaces(line.substr(colon + 1));
    for (const KeyHandler& entry : kKeyTable) {
        if (entry.key == key) {
            (this->*entry.handler)(value, lineNumber);
            return;
        }
    }
}

void SettingsLineReader::FinalChecks() {
    if (settings_.evaluationPeriod == user_defined &&
        settings_.periodEnd == settings_.periodStart) {
        Report("- Incorrect evaluation period start and end defined!\n");
    }
    if (settings_.thresholdLevels.empty()) Report("- No threshold levels defined!\n");
    if (settings_.inputFiles.empty()) Report("- No input files defined!\n");
}

void SettingsLineReader::DataSource(std::string_view value, long) {
    if (auto code = DataSourceFromKeyText(value)) {
        settings_.dataSource = *code;
    } else {
        Report("- Unknown analysis type " + Quoted(value) + "\n");
    }
}

void SettingsLineReader::EvaluationPeriod(std::string_view value, long) {
    if (auto code = EvaluationPeriodFromKeyText(value)) {
        settings_.evaluationPeriod = *code;
    } else {
        Report("- Unknown evaluation period " + Quoted(value) + "\n");
    }
}

void SettingsLineReader::EvaluationPeriodStart(std::string_view value, long) {
    long day = ParseWholeNumber(value);
    if (day < 0) {
        Report("- Invalid evaluation period start " + Quoted(value) + "\n");
    } else {
        settings_.periodStart = static_cast<int32_t>(day);
    }
}

void SettingsLineReader::EvaluationPeriodEnd(std::string_view value, long) {
    long day = ParseWholeNumber(value);
    if (day < 0) {
        Report("- Invalid evaluation period end " + Quoted(value) + "\n");
    } else {
        settings_.periodEnd = static_cast<int32_t>(day);
    }
}

void SettingsLineReader::Loq(std::string_view value, long) {
    double loq = ParseDecimalNumber(value);
    if (loq < 0.0) {
        Report("- Invalid LOQ value " + Quoted(value) + "\n");
    } else {
        settings_.loq = loq;
    }
}

void SettingsLineReader::ThresholdLevel(std::string_view value, long) {
    settings_.thresholdLevels.push_back(ParseDecimalNumber(value));
}

void SettingsLineReader::UserPercentile(std::string_view value, long) {
    long percentile = ParseWholeNumber(value);
    if (percentile < 0 || percentile > 100) {
        Report("- Invalid user defined percentile " + Quoted(value) + "\n");
    } else {
        settings_.userPercentile = static_cast<int32_t>(percentile);
    }
}

void SettingsLineReader::UserWindowSize(std::string_view value, long) {
    long days = ParseWholeNumber(value);
    if (days < 0) {
        Report("- Invalid user defined window size " + Quoted(value) + "\n");
    } else {
        settings_.userWindowSize = static_cast<int32_t>(days);
    }
}

int32_t SettingsLineReader::InputSegment(std::string_view value, const std::string& fileName) {
    int32_t segment = -1;
    std::vector<std::string_view> pieces = SplitAt(value, '=');
    if (pieces.size() >= 2) {
        segment = static_cast<int32_t>(ParseWholeNumber(pieces[1]));
        if (segment < 1) {
            Report("- Segment " + Quoted(pieces[1]) + " input file " + Quoted(fileName) +
                   " is invalid\n");
        }
    }
    if (segment < 1) Report("- Segment for input file " + Quoted(fileName) + " not given\n");
    return segment;
}

void SettingsLineReader::InputFile(std::string_view value, long lineNumber) {
    // An empty value names no file at all: reported on its own, and no entry is added.
    if (value.empty()) {
        Report("- Input file name missing in line " + std::to_string(lineNumber) + "\n");
        return;
    }
    TInputFileAndSegment entry;
    entry.fileName = std::string(TrimSpaces(SplitAt(value, ',')[0]));
    if (UsesSegments(settings_.dataSource)) entry.segment = InputSegment(value, entry.fileName);
    if (!fileSystem_.fileExists || !fileSystem_.fileExists(entry.fileName)) {
        Report("- Warning: Input file " + Quoted(entry.fileName) + " not found\n");
    }
    settings_.inputFiles.push_back(std::move(entry));
}

void SettingsLineReader::OutputDirectory(std::string_view value, long) {
    settings_.outputDirectory = std::string(value);
    if (!fileSystem_.directoryExists || !fileSystem_.directoryExists(settings_.outputDirectory)) {
        Report("- Warning: Output directory " + Quoted(value) + " not found\n");
    }
}

void SettingsLineReader::SubstanceSelection(std::string_view value, long) {
    if (settings_.dataSource == toxswa_out_data || settings_.dataSource == toxswa_out_data_553) {
        settings_.substanceSelection = std::string(value);
    }
}

void SettingsLineReader::HourSelection(std::string_view value, long) {
    if (!IsFrontEnd()) {
        if (settings_.dataSource == toxswa_out_data) settings_.hourSelection = std::string(value);
        return;
    }
    if (value == "FULL") {
        values_.hourIndex = 0;
    } else if (value == "HALF") {
        values_.hourIndex = 1;
    } else {
        Report("- No valid time was selected; FULL and HALF are allowed\n");
    }
}

void SettingsLineReader::UnitId(std::string_view value, long) {
    if (!IsFrontEnd()) return;
    if (!IsWholeNumberText(value)) {
        Report("- No valid unit selection!\n");
        return;
    }
    long unitId = ParseWholeNumber(value);
    if (unitId < 0 || unitId > 2) {
        Report("Unit selection invalid; only 0, 1 and 2 are allowed!\n");
        return;
    }
    values_.unitId = static_cast<int>(unitId);
}

void SettingsLineReader::UnitName(std::string_view value, long) {
    if (IsFrontEnd() && values_.unitId != 2) return;
    settings_.unitName = std::string(value);
}

void SettingsLineReader::UnitFactor(std::string_view value, long) {
    double factor = 0.0;
    std::size_t used = ReadDecimalPrefix(value, factor);
    if (!IsFrontEnd()) {
        settings_.unitFactor = ToFloat(factor);
        return;
    }
    if (values_.unitId != 2) return;
    if (used == 0 || used != value.size()) {
        Report("- No valid conversion factor!\n");
        return;
    }
    settings_.unitFactor = ToFloat(factor);
}

const char* const kDashLine =
    "# ------------------------------------------------------------------------------------";

const std::array<const char*, 6> kCreditLines = {
    "#    Developed by:                             On behalf of:",
    "#    the KIVO project                          the KIVO project",
    "#    Exposure analysis software team           Surface water assessment group",
    "#    1 Example Lane                            2 Example Lane",
    "#    1000 AA Exampletown                       1000 AB Exampletown",
    "#    Exampleland                               Exampleland",
};

/// Collects the lines of a settings file, each closed with CR LF.
class SettingsTextBuilder {
  public:
    void Line(std::string_view text) {
        text_ += text;
        text_ += "\r\n";
    }
    void Empty() { text_ += "\r\n"; }
    void Setting(std::string_view keyPart, std::string_view value) {
        text_ += keyPart;
        Line(value);
    }
    std::string Take() { return std::move(text_); }

  private:
    std::string text_;
};

void WriteHeader(SettingsTextBuilder& out) {
    out.Line("#                               KIVO SETTINGS FILE");
    out.Line(kDashLine);
    out.Line("#                       KIVO - Kivoscope");
    out.Line("#                                   Version 1.2.0 ");
    out.Line(kDashLine);
    for (const char* credit : kCreditLines) out.Line(credit);
    out.Line(kDashLine);
    out.Empty();
}

void WriteDataSourceAndPeriod(SettingsTextBuilder& out, const AnalysisSettings& settings) {
    out.Line(
        "# Data source: For analysing TOXSWA 5.5.3 output files (*.out) enter \"DATA_SOURCE: "
        "toxswa_out_data_553\". For analysing TOXSWA 4.4.3 output files (*.out) enter "
        "\"DATA_SOURCE: toxswa_out_data\". For analysing old TOXSWA output files (*.cwa) enter "
        "\"DATA_SOURCE: toxswa_data\". For analysing KIVO-concentration files or user defined "
        "files enter \"DATA_SOURCE: conc_data\".");
    out.Empty();
    out.Setting("  DATA_SOURCE: ", DataSourceKeyText(settings.dataSource));
    out.Empty();
    out.Line(
        "# Evaluation period: Evaluation period is either \"complete\" or \"user_defined\". If "
        "\"user_defined\" is selected then the start and end day of the year has to be given.");
    out.Empty();
    std::string_view period = EvaluationPeriodKeyText(settings.evaluationPeriod);
    out.Setting("  EVALUATION_PERIOD: ", period);
    if (period == "user_defined") {
        out.Setting("  EVALUATION_PERIOD_START: ", std::to_string(settings.periodStart));
        out.Setting("  EVALUATION_PERIOD_END: ", std::to_string(settings.periodEnd));
    }
    out.Empty();
}

void WriteLevels(SettingsTextBuilder& out, const AnalysisSettings& settings) {
    out.Line("# LOQ: LOQ is the concentration considered as zero level.");
    out.Empty();
    out.Setting("  LOQ: ", SettingsScientific(settings.loq));
    out.Empty();
    out.Line(
        "# Threshold concentration levels: THRESHOLD_CONCENTRATION_LEVEL is a list of thresholds "
        "used for analysis. Enter more than one threshold levels as follows:");
    out.Line("#   THRESHOLD_CONCENTRATION_LEVEL: 0.15");
    out.Line("#   THRESHOLD_CONCENTRATION_LEVEL: 0.30");
    out.Line("#   THRESHOLD_CONCENTRATION_LEVEL: 0.50");
    out.Empty();
    for (double level : settings.thresholdLevels) {
        out.Setting("  THRESHOLD_CONCENTRATION_LEVEL: ", SettingsScientific(level));
    }
    out.Empty();
    out.Line(
        "# User defined percentile: By default analyses are performed for the 10th ,25th ,50th "
        ",75th and 90th percentiles. To perform an analysis for an user defined percentile enter "
        "the percentile in the format \"USER_DEFINED_PERCENTILE: 95\".");
    out.Empty();
    out.Setting("  USER_DEFINED_PERCENTILE: ", std::to_string(settings.userPercentile));
    out.Empty();
    out.Line(
        "# User defined window size: By default analysis are performend for the following window "
        "sizes: 1,2,4,7,14,21,28,42,50 and 100 days. To perform an analysis for a user defined "
        "window size enter the window size in the format \"USER_DEFINED_WINDOW_SIZE: 56\".");
    out.Empty();
    out.Setting("  USER_DEFINED_WINDOW_SIZE: ", std::to_string(settings.userWindowSize));
    out.Empty();
}

void WriteFiles(SettingsTextBuilder& out, const AnalysisSettings& settings) {
    out.Line(
        "# Input files: Define one or many input files (*.cwa or *.con) including the FULL "
        "pathname and the segment which shall be analysed (only for *.cwa files):");
    out.Line("#   INPUT_FILE: c:\\Data\\myfile.con");
    out.Line("#   or");
    out.Line("#   INPUT_FILE: c:\\Data\\myfile.cwa, segment=1");
    out.Line("#   or");
    out.Line("#   INPUT_FILE: c:\\Data\\myfile.out, segment=1");
    out.Empty();
    std::string_view source = DataSourceKeyText(settings.dataSource);
    bool withSegment =
        source == "toxswa_data" || source == "toxswa_out_data" || source == "toxswa_out_data_553";
    for (const TInputFileAndSegment& entry : settings.inputFiles) {
        std::string value = entry.fileName;
        if (withSegment) value += ", segment=" + std::to_string(entry.segment);
        out.Setting("  INPUT_FILE: ", value);
    }
    out.Empty();
    out.Line(
        "# Output directory: Define the directory into which output files (concentration files) "
        "and result files (summary files) shall be written:");
    out.Line("#   OUTPUT_DIRECTORY: C:\\Data");
    out.Empty();
    if (!settings.outputDirectory.empty()) {
        out.Setting("  OUTPUT_DIRECTORY: ", settings.outputDirectory);
    }
    out.Empty();
}

void WriteSelections(SettingsTextBuilder& out, const SettingsFileValues& values) {
    const AnalysisSettings& settings = values.analysis;
    out.Line(
        "# Substance selection (TOXSWA >= 4.4.3): Give the substance code which is used in the "
        "TOXSWA project:");
    out.Line("#   SUBSTANCE_SELECTION: MySubst");
    out.Empty();
    out.Setting("  SUBSTANCE_SELECTION: ", settings.substanceSelection);
    out.Empty();
    out.Line(
        "# Hour selection (only TOXSWA 4.4.3): Enter FULL or HALF to choose the values reported "
        "at full or half hours. FULL is the default value");
    out.Line("#   HOUR_SELECTION: FULL");
    out.Empty();
    out.Setting("  HOUR_SELECTION: ", values.hourIndex == 1 ? "HALF" : "FULL");
    out.Empty();
    out.Line(
        "# Unit ID: The selection of the unit in the user interface. If you use KIVO on the "
        "commandline, just set it to 0.");
    out.Line("#   UNIT_ID: 0");
    out.Empty();
    out.Setting("  UNIT_ID: ", std::to_string(values.unitId));
    out.Empty();
    out.Line("# Unit name: Enter the name of the unit as it will be shown in graphs");
    out.Line("#   UNIT_NAME: \xB5g/kg");
    out.Empty();
    out.Setting("  UNIT_NAME: ", settings.unitName);
    out.Empty();
    out.Line(
        "# Unit factor: Enter the multiplication factor corresponding to the unit conversion.");
    out.Line("#   UNIT_FACTOR: 1");
    out.Empty();
    out.Setting("  UNIT_FACTOR: ", SettingsScientific(static_cast<double>(settings.unitFactor)));
    out.Empty();
}

}  // namespace

SettingsFileValues SettingsStartValues(SettingsDialect dialect,
                                       const SettingsFileValues& previous) {
    SettingsFileValues start = previous;
    AnalysisSettings& settings = start.analysis;
    settings.dataSource = dialect == SettingsDialect::FrontEnd ? toxswa_out_data_553 : toxswa_data;
    settings.evaluationPeriod = complete;
    settings.periodStart = 0;
    settings.periodEnd = 0;
    settings.userWindowSize = 56;
    settings.userPercentile = 95;
    settings.loq = 1e-10;
    settings.thresholdLevels.clear();
    settings.inputFiles.clear();
    settings.outputDirectory.clear();
    if (dialect == SettingsDialect::FrontEnd) {
        start.hourIndex = 0;
        settings.substanceSelection.clear();
    }
    return start;
}

std::string ReadSettingsText(std::string_view text, SettingsDialect dialect,
                             SettingsFileValues& values, const SettingsFileSystem& fileSystem) {
    SettingsLineReader reader(dialect, values, fileSystem);
    long lineNumber = 0;
    for (std::string_view line : SplitTextLines(text)) reader.ReadLine(line, ++lineNumber);
    reader.FinalChecks();
    return reader.Messages();
}

std::string SettingsErrorReport(const std::string& settingsFile, const std::string& messages) {
    return "The following error(s) occurred while reading file " + Quoted(settingsFile) + ":\n\n" +
           messages;
}

std::string SettingsFileText(const SettingsFileValues& values) {
    SettingsTextBuilder out;
    WriteHeader(out);
    WriteDataSourceAndPeriod(out, values.analysis);
    WriteLevels(out, values.analysis);
    WriteFiles(out, values.analysis);
    WriteSelections(out, values);
    return out.Take();
}

std::string SettingsScientific(double value) {
    std::array<char, 64> buffer{};
    auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                std::chars_format::scientific, 6);
    return std::string(buffer.data(), result.ptr);
}

long ParseWholeNumber(std::string_view text) {
    std::string_view rest = SkipCSpace(text);
    bool negative = false;
    if (!rest.empty() && (rest[0] == '+' || rest[0] == '-')) {
        negative = rest[0] == '-';
        rest.remove_prefix(1);
    }
    // Values beyond the 32-bit range saturate, so every field stays within its type.
    const long long limit = negative ? -static_cast<long long>(INT32_MIN) : INT32_MAX;
    long long magnitude = 0;
    for (char c : rest) {
        if (!IsDigit(c)) break;
        magnitude = std::min(limit, magnitude * 10 + (c - '0'));
    }
    return static_cast<long>(negative ? -magnitude : magnitude);
}

double ParseDecimalNumber(std::string_view text) {
    double value = 0.0;
    ReadDecimalPrefix(text, value);
    return value;
}

}  // namespace kivo
