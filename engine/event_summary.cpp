#include "engine/event_summary.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "common/number_formats.h"
#include "engine/conventions.h"

namespace kivo {
namespace {

std::string SummaryTitleLine(const AnalysisSettings& settings) {
    const std::string unit = UnitBracket(settings);
    const std::string aucUnit = AucUnitBracket(settings);
    return "Threshold conc." + unit + "\tNo. events\tPercentile\tMax. conc." + unit +
           "\tDuration [days]\tInterval [days]\tNo. extrema\tAUC" + aucUnit + "\tTWAC" + unit +
           "\tAUC-background" + aucUnit + "\tTWAC-background" + unit;
}

// Ascending, with any NaN (from infinite concentrations in a damaged series) last, so that
// the sort stays well defined.
bool NumericLess(double a, double b) {
    return a < b || (!std::isnan(a) && std::isnan(b));
}

void SortAscending(std::vector<double>& values) {
    std::sort(values.begin(), values.end(), NumericLess);
}

// The first event's interval is the marker -1.0; it is no interval between events.
void DropNoEarlierEventMarks(std::vector<double>& sortedIntervals) {
    std::erase(sortedIntervals, -1.0);
}

// One statistic of a sorted list: the last entry, the first entry or a percentile.
enum class RowKind { Max, Min, Percentile };

double Statistic(const std::vector<double>& sorted, RowKind kind, int level) {
    switch (kind) {
        case RowKind::Max:
            return sorted.back();
        case RowKind::Min:
            return sorted.front();
        case RowKind::Percentile:
            break;
    }
    return Percentile(sorted, level);
}

void WriteThresholdRows(TextFileWriter& out, const TThresholdLevelAnalysis& analysis,
                        const std::string& thresholdCell, const std::vector<double>& extrema,
                        const std::vector<int>& levels) {
    const std::string prefix = thresholdCell + '\t' + IntegerText(analysis.eventCount) + '\t';
    std::string line;
    const std::size_t rowCount = 2 + levels.size();
    for (std::size_t row = 0; row < rowCount; ++row) {
        const RowKind kind = row == 0   ? RowKind::Max
                             : row == 1 ? RowKind::Min
                                        : RowKind::Percentile;
        const int level = kind == RowKind::Percentile ? levels[row - 2] : 0;
        line.assign(prefix);
        if (kind == RowKind::Max) {
            line += "Max";
        } else if (kind == RowKind::Min) {
            line += "Min";
        } else {
            line += PercentileLabel(level, row - 2 == levels.size() - 1);
        }
        line += '\t';
        line += Scientific3(Statistic(analysis.maxConcentrations, kind, level));
        line += '\t';
        line += Fixed3(Statistic(analysis.durations, kind, level));
        line += '\t';
        line += analysis.intervals.empty() ? std::string("-")
                                           : Fixed3(Statistic(analysis.intervals, kind, level));
        line += '\t';
        line += Fixed3(Statistic(extrema, kind, level));
        line += '\t';
        line += Scientific3(Statistic(analysis.aucs, kind, level));
        line += '\t';
        line += Scientific3(Statistic(analysis.twacEvents, kind, level));
        line += '\t';
        line += Scientific3(Statistic(analysis.aucBackgrounds, kind, level));
        line += '\t';
        line += Scientific3(Statistic(analysis.twacBackgrounds, kind, level));
        out.WriteLine(line);
    }
}

}  // namespace

void WriteEventSummary(TextFileWriter& out, const AnalysisSettings& settings,
                       std::vector<TThresholdLevelAnalysis>& analyses) {
    out.WriteLine(SummaryTitleLine(settings));
    const std::vector<int> levels = PercentileLevels(settings.userPercentile);
    const std::size_t count = std::min(analyses.size(), settings.thresholdLevels.size());
    for (std::size_t index = 0; index < count; ++index) {
        TThresholdLevelAnalysis& analysis = analyses[index];
        if (analysis.eventCount <= 0) continue;
        SortAscending(analysis.intervals);
        SortAscending(analysis.durations);
        SortAscending(analysis.maxConcentrations);
        std::sort(analysis.extremaCounts.begin(), analysis.extremaCounts.end());
        SortAscending(analysis.aucs);
        SortAscending(analysis.twacEvents);
        SortAscending(analysis.aucBackgrounds);
        SortAscending(analysis.twacBackgrounds);
        DropNoEarlierEventMarks(analysis.intervals);
        const std::vector<double> extrema(analysis.extremaCounts.begin(),
                                          analysis.extremaCounts.end());
        WriteThresholdRows(out, analysis,
                           ThresholdCell(settings.thresholdLevels[index], index == 0), extrema,
                           levels);
    }
}

}  // namespace kivo
