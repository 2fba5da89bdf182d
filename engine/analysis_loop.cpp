#include "engine/analysis_loop.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "common/code_tables.h"
#include "common/concentration_series.h"
#include "common/file_naming.h"
#include "common/text_file_writer.h"
#include "engine/console.h"
#include "engine/event_summary.h"
#include "engine/events.h"
#include "engine/moving_windows.h"

namespace kivo {
namespace {

// The row result of a comment line, which the event step never sees.
constexpr int kCommentSkipped = 2;

// A row holds a date/time token of at least 17 characters, t, the concentration and two
// separators; the reservation for a larger file is capped (the series then grows as read).
constexpr std::uintmax_t kShortestRowBytes = 21;
constexpr std::uintmax_t kMostReservedRows = std::uintmax_t{1} << 26;

bool IsSettingsSeries(const EngineState& state) {
    return state.settings.dataSource == conc_data;
}

// The series path as the console shows it: a converted series lies in the output directory.
std::string SeriesDisplayPath(const EngineState& state, const std::string& seriesName) {
    if (IsSettingsSeries(state)) return seriesName;
    return state.settings.outputDirectory + DirectorySeparator() + seriesName;
}

// Series of the settings are named relative to the start directory, converted series
// relative to the current one (the output directory).
std::string SeriesOpenPath(const EngineState& state, const std::string& seriesName) {
    if (IsSettingsSeries(state)) return ResolveSettingsPath(state, seriesName);
    return seriesName;
}

std::string InputFileName(const EngineState& state, std::size_t series) {
    if (series < state.settings.inputFiles.size()) {
        return state.settings.inputFiles[series].fileName;
    }
    return state.ConcentrationFiles[series];
}

[[noreturn]] void ReportReadError(const EngineState& state, std::size_t series) {
    ReportFatalError("Error while reading file \"" + InputFileName(state, series) + "\"!");
}

struct SeriesAnalysis {
    std::vector<TThresholdLevelAnalysis> thresholds;
    MovingWindows windows;
};

// An upper bound of the rows of a series file, from its size: memory reserved for them is
// touched only as far as rows arrive, and no value is moved as the series grows.
std::size_t MostRowsOf(const std::string& path) {
    std::error_code error;
    const std::uintmax_t bytes = std::filesystem::file_size(path, error);
    if (error) return 0;
    return static_cast<std::size_t>(std::min(bytes / kShortestRowBytes + 1, kMostReservedRows));
}

void FeedRowToEvents(SeriesAnalysis& analysis, const std::vector<double>& thresholdLevels,
                     const TTimeConcentration& current, const TSampleHistory& history,
                     int rowResult) {
    for (std::size_t level = 0; level < thresholdLevels.size(); ++level) {
        UpdateEvent(analysis.thresholds[level], current, history.previous, history.beforePrevious,
                    thresholdLevels[level], rowResult);
    }
}

void ReadSeries(const EngineState& state, std::size_t series, const std::string& openPath,
                SeriesAnalysis& analysis) {
    const std::string& seriesName = state.ConcentrationFiles[series];
    ConcentrationStream in(openPath, seriesName);
    if (!in.IsOpen()) ReportReadError(state, series);

    const std::vector<double>& thresholdLevels = state.settings.thresholdLevels;
    TTimeConcentration current;
    TSampleHistory history;
    std::string token;
    while (!in.Failed()) {
        const int rowResult = ReadConcentrationRow(in, token, current);
        if (rowResult == kCommentSkipped) continue;
        FeedRowToEvents(analysis, thresholdLevels, current, history, rowResult);
        history.Push(current);
        if (rowResult != kRowRead) break;
        analysis.windows.UpdateWindows(current.concentration);
    }
    if (in.Failed() && !in.ReachedEnd()) ReportReadError(state, series);
}

template <typename WriteTable>
void WriteResultTable(const std::string& fileName, std::string& listEntry, WriteTable write) {
    listEntry = fileName;
    TextFileWriter out;
    if (out.Open(fileName)) write(out);
    if (!out.Close()) ReportFatalError("Error while saving file '" + FileNamePart(fileName) + "'!");
}

void WriteResultTables(EngineState& state, std::size_t series, SeriesAnalysis& analysis) {
    const std::string base = ResultFileBase(state.ConcentrationFiles[series]);
    const AnalysisSettings& settings = state.settings;
    WriteResultTable(base + "_events.txt", state.EventsFiles[series], [&](TextFileWriter& out) {
        WriteEventsTable(out, settings, analysis.thresholds);
    });
    WriteResultTable(
        base + "_event summary.txt", state.EventSummaryFiles[series],
        [&](TextFileWriter& out) { WriteEventSummary(out, settings, analysis.thresholds); });
    WriteResultTable(
        base + "_moving window summary.txt", state.MovingWindowFiles[series],
        [&](TextFileWriter& out) { WriteMovingWindowSummary(out, settings, analysis.windows); });
}

// Makes the output directory current for the lifetime of the object; a directory that
// cannot be entered is not reported (the files then go to the current directory).
class OutputDirectoryScope {
  public:
    explicit OutputDirectoryScope(const EngineState& state) {
        std::error_code error;
        remembered_ = std::filesystem::current_path(error);
        const std::string outputDirectory =
            ResolveSettingsPath(state, state.settings.outputDirectory);
        if (!outputDirectory.empty()) std::filesystem::current_path(outputDirectory, error);
    }
    ~OutputDirectoryScope() {
        std::error_code error;
        if (!remembered_.empty()) std::filesystem::current_path(remembered_, error);
    }
    OutputDirectoryScope(const OutputDirectoryScope&) = delete;
    OutputDirectoryScope& operator=(const OutputDirectoryScope&) = delete;

  private:
    std::filesystem::path remembered_;
};

void AnalyseSeries(EngineState& state, std::size_t series) {
    const std::string& seriesName = state.ConcentrationFiles[series];
    PrintLine("Analysing file:\t\t" + SeriesDisplayPath(state, seriesName));

    SeriesAnalysis analysis;
    analysis.thresholds.resize(state.settings.thresholdLevels.size());
    const std::string openPath = SeriesOpenPath(state, seriesName);
    const int stepsPerDay = CountStepsPerDay(openPath, seriesName);
    analysis.windows.Reset(stepsPerDay, state.settings.userWindowSize);
    analysis.windows.ReserveRows(MostRowsOf(openPath));
    ReadSeries(state, series, openPath, analysis);

    OutputDirectoryScope inOutputDirectory(state);
    WriteResultTables(state, series, analysis);
}

}  // namespace

int RunAnalysis(EngineState& state) {
    const std::size_t seriesCount = state.ConcentrationFiles.size();
    state.EventsFiles.resize(seriesCount);
    state.EventSummaryFiles.resize(seriesCount);
    state.MovingWindowFiles.resize(seriesCount);
    for (std::size_t series = 0; series < seriesCount; ++series) AnalyseSeries(state, series);
    return 0;
}

}  // namespace kivo
