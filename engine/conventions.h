#pragma once

#include <string>
#include <vector>

#include "common/analysis_settings.h"

namespace kivo {

/// Line end of every result table line.
inline constexpr const char* kTableLineEnd = "\r\n";

/// " [mg/L]" for the named units µg/L and mg/L, else " [Unit: <U>; Factor: <F>]".
std::string UnitBracket(const AnalysisSettings& settings);
/// " [h*mg/L]" for the named units, else " [Unit: h*<U>; Factor: <F>]".
std::string AucUnitBracket(const AnalysisSettings& settings);

/// The threshold in scientific-3, with " (zero level)" for the first threshold of the list.
std::string ThresholdCell(double threshold, bool firstThreshold);

/// "-" for -1.0, else three decimals with the regional separator ("." here).
std::string IntervalText(double days);
/// A day serial as YYYY-MM-DD, YYYY-MM-DD HH:MM:SS, or HH:MM:SS below 1.0; decoded to the
/// nearest millisecond first.
std::string DateTimeText(double serial);

/// 10, 25, 50, 75, 90 and the user percentile.
std::vector<int> PercentileLevels(int userPercentile);
/// "10th" ... "90th"; the sixth (user) level gets "th (user defined)".
std::string PercentileLabel(int level, bool userDefined);

/// Linear interpolation between closest ranks over an ascending list; 0.0 for an empty one.
double Percentile(const std::vector<double>& sortedValues, double level);

}  // namespace kivo
