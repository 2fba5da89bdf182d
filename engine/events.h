#pragma once

#include <cstdint>
#include <vector>

#include "common/analysis_settings.h"
#include "common/concentration_series.h"
#include "common/text_file_writer.h"

namespace kivo {

/// An earlier sample as the event step sees it: its t and concentration, or no sample at all
/// (the slots before the first row of a series).
struct TSampleSlot {
    double t = 0.0;
    double concentration = 0.0;
    bool present = false;
};

/// The previous sample and the one before it, both "no sample" at the start of a series.
struct TSampleHistory {
    TSampleSlot previous;
    TSampleSlot beforePrevious;
    /// Moves the history on by one sample.
    void Push(const TTimeConcentration& sample) {
        beforePrevious = previous;
        previous = TSampleSlot{sample.t, sample.concentration, true};
    }
};

/// The accumulators of the event in progress.
struct TExposureEvent {
    int32_t sampleCount = 0;
    double concentrationSum = 0.0;
    double minConcentration = 0.0;
    double maxConcentration = 0.0;
    int32_t extremaCount = 0;
    std::vector<TTimeConcentration> supportPoints;
};

/// All event results of one series for one threshold; entry k of every list belongs to the
/// k-th event.
struct TThresholdLevelAnalysis {
    int32_t eventCount = 0;
    double eventStartT = 0.0;
    double lastEventEndT = -1.0;
    bool inEvent = false;
    std::vector<TTimeConcentration> eventStarts;
    std::vector<double> intervals;
    std::vector<double> durations;
    std::vector<double> maxConcentrations;
    std::vector<int32_t> extremaCounts;
    std::vector<double> aucs;
    std::vector<double> twacEvents;
    std::vector<double> aucBackgrounds;
    std::vector<double> twacBackgrounds;
    TExposureEvent currentEvent;
};

/// Row results of the series reader that reach the event step.
inline constexpr int kRowRead = 0;
inline constexpr int kEndOfData = 1;

/// Feeds one row (or, with kEndOfData, the end of the data) to the event step of a threshold.
void UpdateEvent(TThresholdLevelAnalysis& analysis, const TTimeConcentration& current,
                 const TSampleSlot& previous, const TSampleSlot& beforePrevious, double threshold,
                 int rowResult);

/// Opens an event on a sample above the threshold.
void StartEvent(TThresholdLevelAnalysis& analysis, const TTimeConcentration& sample);

/// Takes the next sample into the running event; ends the event on a sample below the
/// threshold (which then stays outside it).
void AddEventSample(TThresholdLevelAnalysis& analysis, const TTimeConcentration& current,
                    const TSampleSlot& previous, const TSampleSlot& beforePrevious,
                    double threshold);

/// Appends the results of the event that has just ended.
void CloseEvent(TThresholdLevelAnalysis& analysis, const TTimeConcentration& current,
                const TSampleSlot& previous, const TSampleSlot& beforePrevious, int rowResult);

/// The area under the step curve through the support points, spans in days.
double BackgroundArea(const std::vector<TTimeConcentration>& points);

/// Writes the events table: title line, then every event of every threshold in list order.
/// The thresholds are settings.thresholdLevels, one per analysis.
void WriteEventsTable(TextFileWriter& out, const AnalysisSettings& settings,
                      const std::vector<TThresholdLevelAnalysis>& analyses);

}  // namespace kivo
