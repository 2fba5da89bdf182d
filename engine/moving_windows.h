#pragma once

#include <array>
#include <vector>

#include "common/analysis_settings.h"
#include "common/text_file_writer.h"

namespace kivo {

inline constexpr int kWindowCount = 11;

/// 1, 2, 4, 7, 14, 21, 28, 42, 50, 100 days and the user window size.
std::array<int, kWindowCount> WindowSizes(int userWindowSize);

/// The moving windows of one series: per window length the AUC (sum of the window's
/// concentrations in ring-slot order) and the TWAC (that sum over the length) at every
/// position, bit for bit as a ring buffer summed afresh for every row gives them.
class MovingWindows {
public:
    /// Starts a series: window lengths are WindowSizes times the steps per day.
    void Reset(int stepsPerDay, int userWindowSize);
    /// Takes the concentration of the next row.
    void UpdateWindows(double concentration);
    /// Computes the values of all windows once the last row has been taken.
    void Finish();

    int LengthSamples(int window) const;
    std::vector<double>& Aucs(int window);
    std::vector<double>& Twacs(int window);

private:
    std::array<int, kWindowCount> windowSizesDays_{};
    std::array<int, kWindowCount> lengthSamples_{};
    std::vector<double> concentrations_;
    std::array<std::vector<double>, kWindowCount> windowAucs_;
    std::array<std::vector<double>, kWindowCount> windowTwacs_;
};

/// Writes the moving window summary; a window without values gets the two console warning
/// lines and a wait for a key instead of rows. Sorts the value lists in place.
void WriteMovingWindowSummary(TextFileWriter& out, const AnalysisSettings& settings,
                              MovingWindows& windows);

}  // namespace kivo
