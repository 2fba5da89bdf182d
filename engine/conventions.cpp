#include "engine/conventions.h"

#include <cmath>

#include "common/number_formats.h"

namespace kivo {
namespace {

constexpr long long kMillisecondsPerDay = 86400000;
constexpr std::size_t kMaxIntervalIntegerDigits = 15;

bool IsNamedUnit(const std::string& unitName) {
    return unitName == "\xB5g/L" || unitName == "mg/L";
}

std::string FactorText(const AnalysisSettings& settings) {
    return General6(static_cast<double>(settings.unitFactor));
}

std::string TwoDigits(long long value) {
    return std::string(1, static_cast<char>('0' + value / 10)) +
           static_cast<char>('0' + value % 10);
}

/// YYYY-MM-DD of a day count since 30 December 1899 (proleptic Gregorian calendar).
std::string DateText(long long daysSinceEpoch) {
    const long long z =
        daysSinceEpoch - 25569 + 719468;  // 25569: days from 1899-12-30 to 1970-01-01
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const long long dayOfEra = z - era * 146097;
    const long long yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const long long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const long long shiftedMonth = (5 * dayOfYear + 2) / 153;
    const long long day = dayOfYear - (153 * shiftedMonth + 2) / 5 + 1;
    const long long month = shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9;
    const long long year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
    std::string yearText = std::to_string(year < 0 ? -year : year);
    if (yearText.size() < 4) yearText.insert(0, 4 - yearText.size(), '0');
    return (year < 0 ? "-" : "") + yearText + "-" + TwoDigits(month) + "-" + TwoDigits(day);
}

/// HH:MM:SS of the milliseconds into a day (the milliseconds themselves are not shown).
std::string TimeText(long long millisecondsOfDay) {
    const long long seconds = millisecondsOfDay / 1000;
    return TwoDigits(seconds / 3600) + ":" + TwoDigits(seconds / 60 % 60) + ":" +
           TwoDigits(seconds % 60);
}

}  // namespace

std::string UnitBracket(const AnalysisSettings& settings) {
    if (IsNamedUnit(settings.unitName)) return " [" + settings.unitName + "]";
    return " [Unit: " + settings.unitName + "; Factor: " + FactorText(settings) + "]";
}

std::string AucUnitBracket(const AnalysisSettings& settings) {
    if (IsNamedUnit(settings.unitName)) return " [h*" + settings.unitName + "]";
    return " [Unit: h*" + settings.unitName + "; Factor: " + FactorText(settings) + "]";
}

std::string ThresholdCell(double threshold, bool firstThreshold) {
    return Scientific3(threshold) + (firstThreshold ? " (zero level)" : "");
}

// Values too large for sixteen integer digits fall back to the general 15-digit form
// (1.5E16), the exponent form the series files use as well.
std::string IntervalText(double days) {
    if (days == -1.0) return "-";
    const std::string fixed = Fixed3(days);
    const std::size_t point = fixed.find('.');
    const std::size_t signLength = !fixed.empty() && fixed[0] == '-' ? 1 : 0;
    if (point == std::string::npos || point - signLength > kMaxIntervalIntegerDigits) {
        return General15(days);
    }
    return fixed;
}

// Serials before 30 December 1899 are read linearly: -0.25 is 29 December 1899 18:00.
// Beyond 1e11 days the milliseconds no longer fit a 64-bit count: such a serial is no date.
std::string DateTimeText(double serial) {
    if (!std::isfinite(serial) || std::fabs(serial) > 1e11) return General15(serial);
    const long long totalMs = std::llround(serial * static_cast<double>(kMillisecondsPerDay));
    long long days = totalMs / kMillisecondsPerDay;
    long long msOfDay = totalMs % kMillisecondsPerDay;
    if (msOfDay < 0) {
        msOfDay += kMillisecondsPerDay;
        --days;
    }
    if (totalMs < kMillisecondsPerDay) return TimeText(msOfDay);
    if (msOfDay == 0) return DateText(days);
    return DateText(days) + " " + TimeText(msOfDay);
}

std::vector<int> PercentileLevels(int userPercentile) {
    return {10, 25, 50, 75, 90, userPercentile};
}

std::string PercentileLabel(int level, bool userDefined) {
    return std::to_string(level) + (userDefined ? "th (user defined)" : "th");
}

double Percentile(const std::vector<double>& sortedValues, double level) {
    const std::size_t n = sortedValues.size();
    if (n == 0) return 0.0;
    const double count = static_cast<double>(n);
    const double rank = level * 0.01 * count + 0.5;
    if (rank <= 1.0) return sortedValues.front();
    if (rank >= count) return sortedValues.back();
    const double lo = std::floor(rank);
    const double hi = std::ceil(rank);
    const double vLo = sortedValues[static_cast<std::size_t>(lo) - 1];
    if (lo == hi) return vLo;
    const double vHi = sortedValues[static_cast<std::size_t>(hi) - 1];
    const double pLo = (100.0 / count) * (lo - 0.5);
    const double pHi = (100.0 / count) * (hi - 0.5);
    return vLo + (level - pLo) * (vHi - vLo) / (pHi - pLo);
}

}  // namespace kivo
