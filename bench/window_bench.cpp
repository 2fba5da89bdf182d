// Times the parts of one series analysis: reading the series, the event step, the moving
// windows (fast and in the simple ring form, which must agree bit for bit) and writing the
// moving window summary.
//
// Usage: window_bench SERIES.con [SUMMARY_OUT]
// With SUMMARY_OUT, the summary written from the simple form's values is kept there, so a
// script can compare it with the engine's own table. Exit code 1 when the values differ.

#include <algorithm>
#include <bit>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "common/analysis_settings.h"
#include "common/concentration_series.h"
#include "common/fatal_error.h"
#include "common/text_file_writer.h"
#include "engine/events.h"
#include "engine/moving_windows.h"

namespace {

using Clock = std::chrono::steady_clock;

// Wall time and processor time of one piece of work: on a shared machine the processor
// time is the steadier figure.
struct Timing {
    double wallSeconds = 0.0;
    double cpuSeconds = 0.0;
};

Timing TimingOf(const std::function<void()>& work) {
    const auto wallStart = Clock::now();
    const std::clock_t cpuStart = std::clock();
    work();
    const std::clock_t cpuEnd = std::clock();
    return {std::chrono::duration<double>(Clock::now() - wallStart).count(),
            static_cast<double>(cpuEnd - cpuStart) / CLOCKS_PER_SEC};
}

// The run with the median processor time of `runs` runs of `work`.
Timing MedianTimingOf(int runs, const std::function<void()>& work) {
    std::vector<Timing> timings;
    for (int run = 0; run < runs; ++run) timings.push_back(TimingOf(work));
    std::sort(timings.begin(), timings.end(),
              [](const Timing& a, const Timing& b) { return a.cpuSeconds < b.cpuSeconds; });
    return timings[timings.size() / 2];
}

void PrintTiming(const char* name, const Timing& timing, const char* note = "") {
    std::printf("%-18s %8.3f s wall %8.3f s cpu%s\n", name, timing.wallSeconds, timing.cpuSeconds,
                note);
}

// The settings that generate_series writes for its series.
kivo::AnalysisSettings BenchSettings() {
    kivo::AnalysisSettings settings;
    settings.thresholdLevels = {1e-3, 1e-2, 1e-1, 0.5, 1.0};
    settings.userPercentile = 95;
    settings.userWindowSize = 56;
    settings.unitName = "\xB5g/L";
    settings.unitFactor = 1.0f;
    return settings;
}

void RunEvents(const std::vector<kivo::TTimeConcentration>& rows,
               const std::vector<double>& thresholds) {
    std::vector<kivo::TThresholdLevelAnalysis> analyses(thresholds.size());
    kivo::TSampleSlot previous;
    kivo::TSampleSlot beforePrevious;
    auto feed = [&](const kivo::TTimeConcentration& row, int rowResult) {
        for (std::size_t i = 0; i < thresholds.size(); ++i) {
            kivo::UpdateEvent(analyses[i], row, previous, beforePrevious, thresholds[i], rowResult);
        }
        beforePrevious = previous;
        previous = {row.t, row.concentration, true};
    };
    for (const kivo::TTimeConcentration& row : rows) feed(row, kivo::kRowRead);
    if (!rows.empty()) feed(rows.back(), kivo::kEndOfData);
}

bool SameBits(const std::vector<double>& a, const std::vector<double>& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::bit_cast<std::uint64_t>(a[i]) != std::bit_cast<std::uint64_t>(b[i])) return false;
    }
    return true;
}

int Run(const std::string& seriesPath, const std::string& summaryPath) {
    const kivo::AnalysisSettings settings = BenchSettings();
    std::vector<kivo::TTimeConcentration> rows;
    int stepsPerDay = 0;
    const Timing read = TimingOf([&] {
        stepsPerDay = kivo::CountStepsPerDay(seriesPath);
        rows = kivo::ReadConcentrationFile(seriesPath);
    });
    std::vector<double> concentrations;
    for (const kivo::TTimeConcentration& row : rows) concentrations.push_back(row.concentration);

    const Timing events = TimingOf([&] { RunEvents(rows, settings.thresholdLevels); });

    kivo::MovingWindows windows;
    const Timing fast = MedianTimingOf(3, [&] {
        windows.Reset(stepsPerDay, settings.userWindowSize);
        for (double concentration : concentrations) windows.UpdateWindows(concentration);
        windows.Finish();
    });

    std::vector<std::vector<double>> sse2Sums(kivo::kWindowCount);
    const Timing sse2 = MedianTimingOf(3, [&] {
        for (int k = 0; k < kivo::kWindowCount; ++k) {
            sse2Sums[k] = kivo::FastWindowSums(concentrations, windows.LengthSamples(k),
                                               kivo::WindowSumVectors::Sse2);
        }
    });

    std::vector<std::vector<double>> referenceSums(kivo::kWindowCount);
    std::vector<std::vector<double>> referenceMeans(kivo::kWindowCount);
    const Timing reference = TimingOf([&] {
        for (int k = 0; k < kivo::kWindowCount; ++k) {
            referenceSums[k] = kivo::ReferenceWindowSums(concentrations, windows.LengthSamples(k));
            referenceMeans[k] = kivo::WindowMeans(referenceSums[k], windows.LengthSamples(k));
        }
    });

    bool identical = true;
    long long valueCount = 0;
    for (int k = 0; k < kivo::kWindowCount; ++k) {
        identical = identical && SameBits(windows.Aucs(k), referenceSums[k]) &&
                    SameBits(sse2Sums[k], referenceSums[k]) &&
                    SameBits(windows.Twacs(k), referenceMeans[k]);
        valueCount += static_cast<long long>(windows.Aucs(k).size());
        windows.Aucs(k) = referenceSums[k];
        windows.Twacs(k) = referenceMeans[k];
    }

    const std::string outPath =
        summaryPath.empty()
            ? (std::filesystem::temp_directory_path() / "window_bench_summary.txt").string()
            : summaryPath;
    bool written = false;
    const Timing write = TimingOf([&] {
        kivo::TextFileWriter out;
        if (out.Open(outPath)) kivo::WriteMovingWindowSummary(out, settings, windows);
        written = out.Close();
    });
    if (summaryPath.empty()) std::filesystem::remove(outPath);

    std::printf("rows %zu, steps per day %d, window values %lld\n", rows.size(), stepsPerDay,
                valueCount);
    PrintTiming("read series", read);
    PrintTiming("events (5 levels)", events);
    PrintTiming("windows fast", fast, " (median of 3)");
    PrintTiming("  sums, SSE2 only", sse2, " (median of 3)");
    PrintTiming("windows reference", reference, " (simple ring form)");
    std::printf("speed-up           %8.1f x wall %8.1f x cpu\n",
                reference.wallSeconds / fast.wallSeconds, reference.cpuSeconds / fast.cpuSeconds);
    std::printf("bit-identical      %s\n", identical ? "yes" : "NO");
    PrintTiming("write summary", write, written ? "" : " (FAILED)");
    return identical && written ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: window_bench SERIES.con [SUMMARY_OUT]\n");
        return 2;
    }
    try {
        return Run(argv[1], argc == 3 ? argv[2] : "");
    } catch (const kivo::FatalError& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
}
