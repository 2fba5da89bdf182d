#include "engine/events.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "common/number_formats.h"
#include "engine/conventions.h"

namespace kivo {
namespace {

bool IsPeak(double current, const TSampleSlot& previous, const TSampleSlot& beforePrevious) {
    return previous.present && beforePrevious.present &&
           beforePrevious.concentration < previous.concentration &&
           previous.concentration > current;
}

bool IsTrough(double current, const TSampleSlot& previous, const TSampleSlot& beforePrevious) {
    return previous.present && beforePrevious.present &&
           beforePrevious.concentration > previous.concentration &&
           previous.concentration < current;
}

TTimeConcentration SupportPoint(const TSampleSlot& slot) {
    return TTimeConcentration{slot.t, slot.concentration, 0.0};
}

// The whole days of the last time step when the data end inside an event: hourly data add
// nothing, daily data one day.
double WholeDaysOfLastStep(const TSampleSlot& previous, const TSampleSlot& beforePrevious) {
    if (!previous.present || !beforePrevious.present) return 0.0;
    return std::trunc(previous.t - beforePrevious.t);
}

std::string EventsTitleLine(const AnalysisSettings& settings) {
    const std::string unit = UnitBracket(settings);
    return "Threshold conc." + unit + "\tEvent no.\tStart date & time\tt [days]\tMax.conc." + unit +
           "\tDuration [days]\tInterval [days]\tNo. extrema\tAUC" + AucUnitBracket(settings) +
           "\tTWAC-event" + unit + "\tTWAC-background" + unit;
}

}  // namespace

void UpdateEvent(TThresholdLevelAnalysis& analysis, const TTimeConcentration& current,
                 const TSampleSlot& previous, const TSampleSlot& beforePrevious, double threshold,
                 int rowResult) {
    if (!analysis.inEvent) {
        if (rowResult == kRowRead && current.concentration > threshold) {
            StartEvent(analysis, current);
        }
        return;
    }
    if (rowResult == kRowRead) {
        AddEventSample(analysis, current, previous, beforePrevious, threshold);
    } else {
        analysis.inEvent = false;
    }
    if (!analysis.inEvent) CloseEvent(analysis, current, previous, beforePrevious, rowResult);
}

void StartEvent(TThresholdLevelAnalysis& analysis, const TTimeConcentration& sample) {
    analysis.inEvent = true;
    analysis.eventStarts.push_back(sample);
    analysis.intervals.push_back(analysis.lastEventEndT != -1.0 ? sample.t - analysis.lastEventEndT
                                                                : -1.0);
    analysis.eventStartT = sample.t;
    ++analysis.eventCount;

    TExposureEvent& event = analysis.currentEvent;
    event.maxConcentration = sample.concentration;
    event.minConcentration = sample.concentration;
    event.concentrationSum = sample.concentration;
    event.sampleCount = 1;
    event.extremaCount = 0;
    event.supportPoints.clear();
    event.supportPoints.push_back(TTimeConcentration{sample.t, sample.concentration, 0.0});
}

void AddEventSample(TThresholdLevelAnalysis& analysis, const TTimeConcentration& current,
                    const TSampleSlot& previous, const TSampleSlot& beforePrevious,
                    double threshold) {
    TExposureEvent& event = analysis.currentEvent;
    const double c = current.concentration;
    if (IsPeak(c, previous, beforePrevious)) ++event.extremaCount;
    if (!(c >= threshold)) {
        analysis.inEvent = false;
        return;
    }
    if (c > event.maxConcentration) event.maxConcentration = c;
    if (c < event.minConcentration) event.minConcentration = c;
    event.concentrationSum += c;
    ++event.sampleCount;
    if (IsTrough(c, previous, beforePrevious))
        event.supportPoints.push_back(SupportPoint(previous));
}

void CloseEvent(TThresholdLevelAnalysis& analysis, const TTimeConcentration& current,
                const TSampleSlot& previous, const TSampleSlot& beforePrevious, int rowResult) {
    TExposureEvent& event = analysis.currentEvent;
    const double lastStepDays =
        rowResult == kEndOfData ? WholeDaysOfLastStep(previous, beforePrevious) : 0.0;
    analysis.lastEventEndT = current.t - lastStepDays;
    analysis.durations.push_back(current.t - analysis.eventStartT + lastStepDays);
    analysis.maxConcentrations.push_back(event.maxConcentration);
    event.supportPoints.push_back(SupportPoint(previous));
    analysis.extremaCounts.push_back(event.extremaCount);

    const double backgroundArea = BackgroundArea(event.supportPoints);
    analysis.aucBackgrounds.push_back(backgroundArea);
    analysis.twacBackgrounds.push_back(backgroundArea / event.sampleCount);
    analysis.aucs.push_back(event.concentrationSum);
    analysis.twacEvents.push_back(event.concentrationSum / event.sampleCount);
}

double BackgroundArea(const std::vector<TTimeConcentration>& points) {
    const std::size_t n = points.size();
    if (n == 0) return 0.0;
    if (n == 1) return points[0].concentration;
    double area = 0.0;
    double spanStart = points[0].t;
    for (std::size_t i = 1; i < n; ++i) {
        const double midpoint = points[i].t - (points[i].t - points[i - 1].t) * 0.5;
        area += points[i - 1].concentration * (midpoint - spanStart);
        spanStart = midpoint;
        if (i == n - 1) area += points[i - 1].concentration * (points[i].t - midpoint);
    }
    return area;
}

void WriteEventsTable(TextFileWriter& out, const AnalysisSettings& settings,
                      const std::vector<TThresholdLevelAnalysis>& analyses) {
    out.WriteLine(EventsTitleLine(settings));
    const std::size_t count = std::min(analyses.size(), settings.thresholdLevels.size());
    std::string line;
    for (std::size_t level = 0; level < count; ++level) {
        const TThresholdLevelAnalysis& analysis = analyses[level];
        const std::string thresholdCell =
            ThresholdCell(settings.thresholdLevels[level], level == 0);
        for (int32_t k = 0; k < analysis.eventCount; ++k) {
            const TTimeConcentration& start = analysis.eventStarts[k];
            line.assign(thresholdCell);
            line += '\t';
            line += IntegerText(k + 1);
            line += '\t';
            line += DateTimeText(start.dateTime);
            line += '\t';
            line += Fixed3(start.t);
            line += '\t';
            line += Scientific3(analysis.maxConcentrations[k]);
            line += '\t';
            line += Fixed3(analysis.durations[k]);
            line += '\t';
            line += IntervalText(analysis.intervals[k]);
            line += '\t';
            line += IntegerText(analysis.extremaCounts[k]);
            line += '\t';
            line += Scientific3(analysis.aucs[k]);
            line += '\t';
            line += Scientific3(analysis.twacEvents[k]);
            line += '\t';
            line += Scientific3(analysis.twacBackgrounds[k]);
            out.WriteLine(line);
        }
    }
}

}  // namespace kivo
