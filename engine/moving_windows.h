#pragma once

#include <array>
#include <cstddef>
#include <vector>

#include "common/analysis_settings.h"
#include "common/text_file_writer.h"

namespace kivo {

inline constexpr int kWindowCount = 11;

/// 1, 2, 4, 7, 14, 21, 28, 42, 50, 100 days and the user window size.
std::array<int, kWindowCount> WindowSizes(int userWindowSize);

/// Which vector instructions the fast window sums may use; every choice gives the same bits.
enum class WindowSumVectors { Widest, Sse2 };

/// The window sums of a series as a ring of `lengthSamples` slots summed afresh, in slot
/// order from 0.0, for every row once the ring is full: the simple form, kept as reference.
std::vector<double> ReferenceWindowSums(const std::vector<double>& concentrations,
                                        long long lengthSamples);

/// The same sums bit for bit, computed with the shared prefix of each ring cycle carried
/// and several rows summed side by side in vector lanes.
std::vector<double> FastWindowSums(const std::vector<double>& concentrations,
                                   long long lengthSamples,
                                   WindowSumVectors vectors = WindowSumVectors::Widest);

/// FastWindowSums into `sums`, whose memory is reused when it is large enough.
void FillWindowSums(const std::vector<double>& concentrations, long long lengthSamples,
                    std::vector<double>& sums, WindowSumVectors vectors = WindowSumVectors::Widest);

/// The window means: every sum divided by the window length.
std::vector<double> WindowMeans(const std::vector<double>& sums, long long lengthSamples);

/// The moving windows of one series: per window length the AUC (sum of the window's
/// concentrations in ring-slot order) and the TWAC (that sum over the length) at every
/// position, bit for bit as a ring buffer summed afresh for every row gives them.
class MovingWindows {
  public:
    /// Starts a series: window lengths are WindowSizes times the steps per day.
    void Reset(int stepsPerDay, int userWindowSize);
    /// Reserves room for `rowCount` rows, so taking them moves no values; without memory for
    /// it the series grows as its rows arrive.
    void ReserveRows(std::size_t rowCount);
    /// Takes the concentration of the next row.
    void UpdateWindows(double concentration);
    /// Computes and keeps the value lists of all windows once the last row has been taken,
    /// for callers that read them; a second call without new rows changes nothing. The
    /// summary does not need it: without kept lists it computes one window at a time.
    void Finish();
    /// Whether Finish has kept the value lists of the rows taken so far.
    bool HasValueLists() const { return finished_; }

    /// The window length in samples (0 when the window has no slot).
    long long LengthSamples(int window) const;
    int WindowSizeDays(int window) const { return windowSizesDays_[window]; }
    std::vector<double>& Aucs(int window);
    std::vector<double>& Twacs(int window);
    /// The concentrations taken since Reset, in row order.
    const std::vector<double>& Concentrations() const { return concentrations_; }

  private:
    std::array<int, kWindowCount> windowSizesDays_{};
    std::array<long long, kWindowCount> lengthSamples_{};
    std::vector<double> concentrations_;
    std::array<std::vector<double>, kWindowCount> windowAucs_;
    std::array<std::vector<double>, kWindowCount> windowTwacs_;
    bool finished_ = false;
};

/// Writes the moving window summary; a window without values gets the two console warning
/// lines and a wait for a key instead of rows. Sorts kept value lists in place.
void WriteMovingWindowSummary(TextFileWriter& out, const AnalysisSettings& settings,
                              MovingWindows& windows);

}  // namespace kivo
