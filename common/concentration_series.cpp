#include "common/concentration_series.h"

#include <bit>
#include <cctype>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "common/fatal_error.h"
#include "common/number_formats.h"

namespace kivo {
namespace {

constexpr std::size_t kBlockBytes = 1 << 17;
constexpr char kEndOfTextByte = '\x1A';
constexpr std::size_t kDateTimeTokenLength = 17;

/// Blank, tab, LF, VT, FF and CR separate tokens.
constexpr bool IsBlank(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

/// "Error while reading file "<f>"! Line <n>: <detail>." with the parts that are known.
std::string ReadErrorMessage(const std::string& fileName, long lineNumber,
                             const std::string& detail) {
    std::string message;
    if (!fileName.empty()) message = "Error while reading file \"" + fileName + "\"! ";
    if (lineNumber > 0) {
        message += "Line " + std::to_string(lineNumber) + ": " + detail;
    } else {
        message += detail;
        message[message.size() - detail.size()] =
            static_cast<char>(std::toupper(static_cast<unsigned char>(detail[0])));
    }
    return message + ".";
}

std::string FileReadError(const std::string& fileName) {
    return "Error while reading file \"" + fileName + "\"!";
}

/// The value of the leading decimal digits of a fixed-width field; false when it has none.
bool ReadLeadingDigits(std::string_view field, int& value) {
    value = 0;
    std::size_t count = 0;
    while (count < field.size() && field[count] >= '0' && field[count] <= '9') {
        value = value * 10 + (field[count] - '0');
        ++count;
    }
    return count > 0;
}

bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

/// Days from 1970-01-01 to a date of the proleptic Gregorian calendar.
constexpr long long DaysFromCivil(long long year, int month, int day) {
    year -= month <= 2 ? 1 : 0;
    const long long era = (year >= 0 ? year : year - 399) / 400;
    const long long yearOfEra = year - era * 400;
    const long long dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const long long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

/// Day 0 of the date/time serials, 30 December 1899.
constexpr long long kSerialEpochDays = DaysFromCivil(1899, 12, 30);

/// The month number of a three-letter abbreviation in any case; 0 when unknown. Rows come
/// in time order, so the last answer is kept to spare the table look-up.
int MonthNumberOf(std::string_view abbreviation) {
    thread_local char lastKey[3] = {0, 0, 0};
    thread_local int lastMonth = 0;
    char key[3];
    for (int i = 0; i < 3; ++i) {
        key[i] = AsciiLower(abbreviation[i]);
    }
    if (lastMonth != 0 && std::memcmp(key, lastKey, 3) == 0) return lastMonth;
    const auto& months = MonthNumbers();
    const auto found = months.find(std::string(key, 3));
    if (found == months.end()) return 0;
    std::memcpy(lastKey, key, 3);
    lastMonth = found->second;
    return lastMonth;
}

/// The position of the first blank at or after `at`, or `stop`. Tokens are long, so eight
/// bytes are tested at once for anything at or below the space character.
std::size_t TokenEnd(const char* data, std::size_t at, std::size_t stop) {
    if constexpr (std::endian::native == std::endian::little) {
        constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
        constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;
        while (at + 8 <= stop) {
            std::uint64_t word;
            std::memcpy(&word, data + at, 8);
            // The lowest flagged byte is the first one below 0x21 (higher flags may be spurious).
            const std::uint64_t low = (word - kOnes * 0x21) & ~word & kHighBits;
            if (low == 0) {
                at += 8;
                continue;
            }
            at += static_cast<std::size_t>(std::countr_zero(low) / 8);
            if (IsBlank(data[at])) return at;
            ++at;
        }
    }
    while (at < stop && !IsBlank(data[at])) ++at;
    return at;
}

/// The exactly representable powers of ten.
constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                   1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                   1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

/// Appends the run of digits at `at` to `mantissa` (wrapping on overflow; callers reject
/// more than nineteen digits) and returns the position after it.
const char* AppendDigits(const char* at, const char* stop, std::uint64_t& mantissa) {
    while (at < stop && static_cast<unsigned>(*at - '0') < 10) {
        mantissa = mantissa * 10 + static_cast<unsigned>(*at - '0');
        ++at;
    }
    return at;
}

/// The common case of a number as a whole token: a mantissa of at most 2^53 and a power of
/// ten up to 22, where one multiplication or division of two exact doubles gives the
/// correctly rounded value (as from_chars would). False when the text needs the full
/// conversion.
bool ReadSimpleNumber(std::string_view text, double& value) {
    const char* at = text.data();
    const char* const stop = at + text.size();
    const bool negative = at < stop && *at == '-';
    if (at < stop && (*at == '-' || *at == '+')) ++at;
    std::uint64_t mantissa = 0;
    const char* const integerStart = at;
    at = AppendDigits(at, stop, mantissa);
    long digitCount = at - integerStart;
    int exponent = 0;
    if (at < stop && *at == '.') {
        const char* const fractionStart = ++at;
        at = AppendDigits(at, stop, mantissa);
        exponent = -static_cast<int>(at - fractionStart);
        digitCount += at - fractionStart;
    }
    // Nineteen digits always fit the 64-bit mantissa.
    if (digitCount == 0 || digitCount > 19 || mantissa > (std::uint64_t{1} << 53)) return false;
    if (at < stop && (*at == 'e' || *at == 'E')) {
        ++at;
        const bool negativeExponent = at < stop && *at == '-';
        if (at < stop && (*at == '-' || *at == '+')) ++at;
        const char* const exponentStart = at;
        int written = 0;
        while (at < stop && static_cast<unsigned>(*at - '0') < 10 && at - exponentStart < 4) {
            written = written * 10 + (*at - '0');
            ++at;
        }
        if (at == exponentStart) return false;
        exponent += negativeExponent ? -written : written;
    }
    if (at != stop || exponent < -22 || exponent > 22) return false;
    const double magnitude = exponent < 0 ? static_cast<double>(mantissa) / kPowersOfTen[-exponent]
                                          : static_cast<double>(mantissa) * kPowersOfTen[exponent];
    value = negative ? -magnitude : magnitude;
    return true;
}

/// Reads a decimal number (plain or exponent notation, optional sign) from the start of
/// `text`, as a C++ stream would; false when `text` does not start with one.
bool ReadLeadingNumber(std::string_view text, double& value, std::size_t& used) {
    if (ReadSimpleNumber(text, value)) {
        used = text.size();
        return true;
    }
    const bool plusSign = !text.empty() && text[0] == '+';
    const std::size_t start = plusSign ? 1 : 0;
    std::size_t first = start;
    if (!plusSign && first < text.size() && text[0] == '-') ++first;
    if (first >= text.size()) return false;
    if (!(text[first] >= '0' && text[first] <= '9') && text[first] != '.') return false;
    const char* begin = text.data() + start;
    const char* stop = text.data() + text.size();
    const auto result = std::from_chars(begin, stop, value);
    if (result.ec == std::errc::invalid_argument) return false;
    used = static_cast<std::size_t>(result.ptr - text.data());
    if (result.ec == std::errc::result_out_of_range) {
        // Too small for a double reads as (nearly) zero; too large is no usable number.
        long double wide = 0.0L;
        const auto wideResult = std::from_chars(begin, stop, wide);
        if (wideResult.ec != std::errc() || std::fabs(wide) > DBL_MAX) return false;
        value = static_cast<double>(wide);
    }
    return true;
}

}  // namespace

std::map<std::string, int>& MonthNumbers() {
    static std::map<std::string, int> months;
    return months;
}

void FillMonthNumbers() {
    static const char* const kAbbreviations[] = {"jan", "feb", "mar", "apr", "may", "jun",
                                                 "jul", "aug", "sep", "oct", "nov", "dec"};
    auto& months = MonthNumbers();
    months.clear();
    for (int month = 1; month <= 12; ++month) months[kAbbreviations[month - 1]] = month;
}

double ParseDateTimeToken(std::string_view token, const std::string& fileName, long lineNumber) {
    if (MonthNumbers().empty()) FillMonthNumbers();
    const auto invalid = [&]() {
        return FatalError(ReadErrorMessage(fileName, lineNumber,
                                           "invalid date/time \"" + std::string(token) + "\""));
    };
    if (token.size() < kDateTimeTokenLength) throw invalid();
    int day = 0, year = 0, hour = 0, minute = 0;
    if (!ReadLeadingDigits(token.substr(0, 2), day) ||
        !ReadLeadingDigits(token.substr(7, 4), year) ||
        !ReadLeadingDigits(token.substr(12, 2), hour) ||
        !ReadLeadingDigits(token.substr(15, 2), minute)) {
        throw invalid();
    }
    const int month = MonthNumberOf(token.substr(3, 3));
    if (month == 0 || year < 1 || day < 1 || day > DaysInMonth(year, month) || hour > 23 ||
        minute > 59) {
        throw invalid();
    }
    const double date = static_cast<double>(DaysFromCivil(year, month, day) - kSerialEpochDays);
    return date + (hour * 60 + minute) / 1440.0;
}

struct ConcentrationStream::Impl {
    std::FILE* file = nullptr;
    std::string displayName;
    std::vector<char> buffer;
    std::size_t pos = 0;
    std::size_t end = 0;
    long currentLine = 1;
    long tokenLine = 0;
    bool inputDone = false;
    bool readError = false;
    bool failed = false;
    bool reachedEnd = false;

    /// Drops the bytes before `keepFrom` and reads more; false when nothing was added.
    bool Refill(std::size_t keepFrom);
    /// The next blank-separated token (valid until the next read); false when none is left.
    bool NextToken(std::string_view& token);
    /// Discards everything up to and including the next line end.
    void SkipRestOfLine();
};

bool ConcentrationStream::Impl::Refill(std::size_t keepFrom) {
    if (file == nullptr || inputDone) return false;
    const std::size_t kept = end - keepFrom;
    if (kept > 0 && keepFrom > 0) std::memmove(buffer.data(), buffer.data() + keepFrom, kept);
    pos -= keepFrom;
    end = kept;
    if (end == buffer.size()) buffer.resize(buffer.size() * 2);
    const std::size_t wanted = buffer.size() - end;
    const std::size_t count = std::fread(buffer.data() + end, 1, wanted, file);
    if (count < wanted) {
        inputDone = true;
        if (std::ferror(file)) readError = true;
    }
    const void* stop =
        count == 0 ? nullptr : std::memchr(buffer.data() + end, kEndOfTextByte, count);
    if (stop != nullptr) {
        inputDone = true;
        end = static_cast<std::size_t>(static_cast<const char*>(stop) - buffer.data());
        return end > kept;
    }
    end += count;
    return count > 0;
}

bool ConcentrationStream::Impl::NextToken(std::string_view& token) {
    for (;;) {
        const char* data = buffer.data();
        std::size_t at = pos;
        long line = currentLine;
        while (at < end && IsBlank(data[at])) {
            line += data[at] == '\n';
            ++at;
        }
        pos = at;
        currentLine = line;
        if (at < end) break;
        if (!Refill(pos)) return false;
    }
    tokenLine = currentLine;
    std::size_t start = pos;
    std::size_t scan = pos;
    for (;;) {
        scan = TokenEnd(buffer.data(), scan, end);
        if (scan < end) break;
        const std::size_t scanned = scan - start;
        if (!Refill(start)) break;
        start = 0;
        scan = scanned;
    }
    pos = scan;
    token = std::string_view(buffer.data() + start, scan - start);
    return true;
}

void ConcentrationStream::Impl::SkipRestOfLine() {
    for (;;) {
        const void* lf = pos < end ? std::memchr(buffer.data() + pos, '\n', end - pos) : nullptr;
        if (lf != nullptr) {
            pos = static_cast<std::size_t>(static_cast<const char*>(lf) - buffer.data()) + 1;
            ++currentLine;
            return;
        }
        pos = end;
        if (!Refill(pos)) return;
    }
}

ConcentrationStream::ConcentrationStream(const std::string& path, const std::string& displayName)
    : impl_(new Impl) {
    impl_->displayName = displayName.empty() ? path : displayName;
    impl_->file = std::fopen(path.c_str(), "rb");
    if (impl_->file != nullptr) impl_->buffer.resize(kBlockBytes);
}

ConcentrationStream::~ConcentrationStream() {
    if (impl_->file != nullptr) std::fclose(impl_->file);
    delete impl_;
}

bool ConcentrationStream::IsOpen() const {
    return impl_->file != nullptr;
}
bool ConcentrationStream::Failed() const {
    return impl_->failed;
}
bool ConcentrationStream::ReachedEnd() const {
    return impl_->reachedEnd;
}
long ConcentrationStream::LineNumber() const {
    return impl_->tokenLine;
}
const std::string& ConcentrationStream::DisplayName() const {
    return impl_->displayName;
}

int ReadConcentrationRow(ConcentrationStream& in, std::string& token, TTimeConcentration& row) {
    ConcentrationStream::Impl& s = *in.impl_;
    std::string_view text;
    if (s.file == nullptr || !s.NextToken(text)) {
        s.failed = true;
        s.reachedEnd = s.file != nullptr && !s.readError;
        return 1;
    }
    if (text[0] == '#') {
        s.SkipRestOfLine();
        return 2;
    }
    token.assign(text);
    const long rowLine = s.tokenLine;
    const double dateTime = ParseDateTimeToken(token, s.displayName, rowLine);
    const auto cutShort = [&]() {
        return FatalError(
            ReadErrorMessage(s.displayName, rowLine, "incomplete row \"" + token + "\""));
    };
    if (!s.NextToken(text)) throw cutShort();
    double t = 0.0;
    std::size_t used = 0;
    if (!ReadLeadingNumber(text, t, used)) t = 0.0;
    if (!s.NextToken(text)) throw cutShort();
    double concentration = 0.0;
    if (!ReadLeadingNumber(text, concentration, used) || used != text.size()) {
        throw FatalError(ReadErrorMessage(s.displayName, s.tokenLine,
                                          "invalid concentration \"" + std::string(text) + "\""));
    }
    row.t = t;
    row.concentration = concentration;
    row.dateTime = dateTime;
    return 0;
}

int CountStepsPerDay(const std::string& path, const std::string& displayName) {
    ConcentrationStream in(path, displayName);
    if (!in.IsOpen()) throw FatalError(FileReadError(in.DisplayName()));
    std::string token;
    TTimeConcentration row;
    bool haveStart = false;
    double start = 0.0;
    int count = 0;
    for (;;) {
        const int result = ReadConcentrationRow(in, token, row);
        if (result == 1) break;
        if (result == 2) continue;
        if (!haveStart) {
            start = row.t;
            haveStart = true;
        } else if (row.t - start > 1.0) {
            break;
        } else {
            ++count;
        }
    }
    if (in.Failed() && !in.ReachedEnd()) throw FatalError(FileReadError(in.DisplayName()));
    return count;
}

std::vector<TTimeConcentration> ReadConcentrationFile(const std::string& path,
                                                      const std::string& displayName) {
    ConcentrationStream in(path, displayName);
    if (!in.IsOpen()) throw FatalError(FileReadError(in.DisplayName()));
    std::vector<TTimeConcentration> rows;
    std::string token;
    TTimeConcentration row;
    int result = 0;
    while ((result = ReadConcentrationRow(in, token, row)) != 1) {
        if (result == 0) rows.push_back(row);
    }
    if (!in.ReachedEnd()) throw FatalError(FileReadError(in.DisplayName()));
    return rows;
}

namespace {

const char* const kHyphenLine =
    "# ------------------------------------------------------------------------------------";

const char* const kCreditLines[] = {
    "#    Developed by:                           Sponsored by:",
    "#    the KIVO project                        the KIVO project",
    "#    Exposure event analysis                 Surface-water exposure research",
    "#    of surface-water concentration          for the assessment of pesticide",
    "#    time series                             exposure in water bodies",
    "#    Free of charge for every user           No commercial support",
};

/// "Parent" or "Metabolite <n>" for a .cwa source, else the selected substance.
std::string SubstanceLabel(const std::string& sourcePath, const std::string& substanceSelection) {
    if (sourcePath.find(".cwa") == std::string::npos) return substanceSelection;
    if (sourcePath.find("pa.cwa") != std::string::npos) return "Parent";
    std::string label = "Metabolite ";
    if (sourcePath.size() >= 5) label += sourcePath[sourcePath.size() - 5];
    return label;
}

}  // namespace

std::string ConcentrationHeaderText(const AnalysisSettings& settings, const std::string& sourcePath,
                                    int segment) {
    std::string text;
    const auto line = [&text](const std::string& content) { text += content + "\r\n"; };
    line("#                             KIVO CONCENTRATION FILE");
    line(kHyphenLine);
    line("#                       KIVO - Kivoscope");
    line("#                                   Version 1.2.0 ");
    line(kHyphenLine);
    for (const char* credit : kCreditLines) line(credit);
    line(kHyphenLine);
    line("# Analysed source file:               " + sourcePath);
    line(std::string("# Selected evaluation period:         ") +
         (settings.evaluationPeriod == 1 ? "User defined" : "Complete"));
    if (settings.evaluationPeriod == 1) {
        line("# Period start (t):                   " + std::to_string(settings.periodStart));
        line("# Period end (t):                     " + std::to_string(settings.periodEnd));
    }
    line("# Selected segment of the water body: " + std::to_string(segment));
    line("# Selected substance: " + SubstanceLabel(sourcePath, settings.substanceSelection));
    line("# Selected time: " + settings.hourSelection);
    line("# Selected unit: " + settings.unitName);
    line("# Selected conversion factor: " + General6(static_cast<double>(settings.unitFactor)));
    line("#");
    line("# Date/Time\t\t\tt\t\tConcentration");
    return text;
}

void WriteConcentrationHeader(TextFileWriter& out, const AnalysisSettings& settings,
                              const std::string& sourcePath, int segment) {
    out.Write(ConcentrationHeaderText(settings, sourcePath, segment));
}

}  // namespace kivo
