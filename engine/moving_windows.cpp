#include "engine/moving_windows.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>

#include "common/number_formats.h"
#include "engine/console.h"
#include "engine/conventions.h"

namespace kivo {
namespace {

constexpr std::array<int, kWindowCount - 1> kFixedWindowDays = {1,  2,  4,  7,  14,
                                                                21, 28, 42, 50, 100};

using Sse2Doubles = double __attribute__((vector_size(16)));
using Sse2Lanes = long long __attribute__((vector_size(16)));
using AvxDoubles = double __attribute__((vector_size(32)));
using AvxLanes = long long __attribute__((vector_size(32)));

constexpr std::uint64_t kSignBit = std::uint64_t{1} << 63;
constexpr std::size_t kRadixSortMinimum = 512;

// Independent vector accumulators of a wide block: enough to cover the latency of an addition.
constexpr int kWideBlockVectors = 8;

// Sums rows `row` .. row+kLanes*kVectors-1 of a ring cycle; `prefix` is the sum of slots
// 0..row. Lane j of the block belongs to row row+j and adds exactly that row's terms in slot
// order: at slot row+offset the new sample when offset <= j, else the previous cycle's.
template <typename Doubles, typename Lanes, int kLanes, int kVectors>
[[gnu::always_inline]] inline void SumBlockOfRows(const double* current, const double* previous,
                                                  long long length, long long row, double prefix,
                                                  double* sums) {
    constexpr long long kBlockRows = static_cast<long long>(kLanes) * kVectors;
    Lanes laneRows[kVectors];
    Doubles accumulators[kVectors];
    for (int v = 0; v < kVectors; ++v) {
        for (int lane = 0; lane < kLanes; ++lane) {
            laneRows[v][lane] = v * kLanes + lane;
            accumulators[v][lane] = prefix;
        }
    }
    for (long long offset = 1; offset < kBlockRows; ++offset) {
        Doubles fresh;
        Doubles stale;
        Lanes offsets;
        for (int lane = 0; lane < kLanes; ++lane) {
            fresh[lane] = current[row + offset];
            stale[lane] = previous[row + offset];
            offsets[lane] = offset;
        }
        for (int v = 0; v < kVectors; ++v)
            accumulators[v] += laneRows[v] >= offsets ? fresh : stale;
    }
    for (long long slot = row + kBlockRows; slot < length; ++slot) {
        Doubles stale;
        for (int lane = 0; lane < kLanes; ++lane) stale[lane] = previous[slot];
        for (int v = 0; v < kVectors; ++v) accumulators[v] += stale;
    }
    std::memcpy(sums + row, accumulators, sizeof accumulators);
}

// Sums the rows of a cycle in blocks of kLanes*kVectors rows while whole blocks fit below
// rowCount, carrying the prefix (sum of slots 0..row-1) from block to block.
template <typename Doubles, typename Lanes, int kLanes, int kVectors>
[[gnu::always_inline]] inline void SumBlocks(const double* current, const double* previous,
                                             long long length, long long rowCount, long long& row,
                                             double& prefix, double* sums) {
    constexpr long long kBlockRows = static_cast<long long>(kLanes) * kVectors;
    for (; row + kBlockRows <= rowCount; row += kBlockRows) {
        prefix += current[row];
        SumBlockOfRows<Doubles, Lanes, kLanes, kVectors>(current, previous, length, row, prefix,
                                                         sums);
        for (long long offset = 1; offset < kBlockRows; ++offset) prefix += current[row + offset];
    }
}

// Sums the rows 0 .. rowCount-1 of one ring cycle. `current` holds the samples of the cycle,
// `previous` those of the cycle before; at row m the ring's slots 0..m hold current[0..m] and
// the slots m+1..length-1 hold previous[m+1..length-1]. The sum of slots 0..m grows by one
// addition per row and is carried; the rest is added per row, many rows side by side.
template <typename Doubles, typename Lanes, int kLanes>
[[gnu::always_inline]] inline void SumRingCycle(const double* current, const double* previous,
                                                long long length, long long rowCount,
                                                double* sums) {
    double prefix = 0.0;
    long long row = 0;
    SumBlocks<Doubles, Lanes, kLanes, kWideBlockVectors>(current, previous, length, rowCount, row,
                                                         prefix, sums);
    SumBlocks<Doubles, Lanes, kLanes, 1>(current, previous, length, rowCount, row, prefix, sums);
    for (; row < rowCount; ++row) {
        prefix += current[row];
        double sum = prefix;
        for (long long slot = row + 1; slot < length; ++slot) sum += previous[slot];
        sums[row] = sum;
    }
}

// Every cycle after the first: cycle c starts at sample c*length, and its row m is series
// row c*length+m, whose window value has the index (c-1)*length+m+1.
template <typename Doubles, typename Lanes, int kLanes>
[[gnu::always_inline]] inline void SumLaterCycles(const double* samples, long long sampleCount,
                                                  long long length, double* sums) {
    for (long long cycleStart = length; cycleStart < sampleCount; cycleStart += length) {
        const long long rowCount = std::min(length, sampleCount - cycleStart);
        SumRingCycle<Doubles, Lanes, kLanes>(samples + cycleStart, samples + cycleStart - length,
                                             length, rowCount, sums + cycleStart - length + 1);
    }
}

void SumLaterCyclesSse2(const double* samples, long long sampleCount, long long length,
                        double* sums) {
    SumLaterCycles<Sse2Doubles, Sse2Lanes, 2>(samples, sampleCount, length, sums);
}

__attribute__((target("avx2"))) void SumLaterCyclesAvx2(const double* samples,
                                                        long long sampleCount, long long length,
                                                        double* sums) {
    SumLaterCycles<AvxDoubles, AvxLanes, 4>(samples, sampleCount, length, sums);
}

bool CpuHasAvx2() {
    static const bool hasAvx2 = __builtin_cpu_supports("avx2");
    return hasAvx2;
}

// Order-preserving unsigned keys: negative values below positive ones, -0.0 just below 0.0.
std::uint64_t SortKey(double value) {
    const auto bits = std::bit_cast<std::uint64_t>(value);
    return bits >> 63 ? ~bits : bits | kSignBit;
}

double FromSortKey(std::uint64_t key) {
    return std::bit_cast<double>(key >> 63 ? key & ~kSignBit : ~key);
}

// Sorts value lists into ascending order, NaN (from infinite terms of opposite sign) last,
// where a plain comparison sort would have no valid order. Long lists (one value per row of
// a series) take a radix sort, several times faster; its buffers serve every list.
class AscendingSorter {
  public:
    void Sort(std::vector<double>& values) {
        const auto numbersEnd = std::partition(values.begin(), values.end(),
                                               [](double value) { return !std::isnan(value); });
        const auto numberCount = static_cast<std::size_t>(numbersEnd - values.begin());
        if (numberCount < kRadixSortMinimum) {
            std::sort(values.begin(), numbersEnd);
        } else {
            RadixSort(values.data(), numberCount);
        }
    }

  private:
    static constexpr int kDigitBits = 11;
    static constexpr int kPasses = (64 + kDigitBits - 1) / kDigitBits;
    static constexpr std::size_t kBuckets = std::size_t{1} << kDigitBits;

    // Least significant digit first; a pass whose digit is the same for all keys is skipped.
    void RadixSort(double* values, std::size_t count) {
        keys_.resize(count);
        scratch_.resize(count);
        counts_.assign(kPasses * kBuckets, 0);
        for (std::size_t i = 0; i < count; ++i) {
            keys_[i] = SortKey(values[i]);
            for (int pass = 0; pass < kPasses; ++pass) {
                ++counts_[pass * kBuckets + Digit(keys_[i], pass)];
            }
        }
        for (int pass = 0; pass < kPasses; ++pass) {
            std::size_t* bucketStart = counts_.data() + pass * kBuckets;
            if (bucketStart[Digit(keys_[0], pass)] == count) continue;
            std::size_t position = 0;
            for (std::size_t bucket = 0; bucket < kBuckets; ++bucket) {
                const std::size_t size = bucketStart[bucket];
                bucketStart[bucket] = position;
                position += size;
            }
            for (std::uint64_t key : keys_) scratch_[bucketStart[Digit(key, pass)]++] = key;
            keys_.swap(scratch_);
        }
        for (std::size_t i = 0; i < count; ++i) values[i] = FromSortKey(keys_[i]);
    }

    static std::size_t Digit(std::uint64_t key, int pass) {
        return (key >> (pass * kDigitBits)) & (kBuckets - 1);
    }

    std::vector<std::uint64_t> keys_;
    std::vector<std::uint64_t> scratch_;
    std::vector<std::size_t> counts_;
};

void WriteWindowRows(TextFileWriter& out, const std::string& sizeCell,
                     const std::vector<int>& levels, const std::vector<double>& aucs,
                     const std::vector<double>& twacs) {
    auto writeRow = [&](const std::string& label, double auc, double twac) {
        out.WriteLine(sizeCell + "\t" + label + "\t" + Scientific3(auc) + "\t" + Scientific3(twac));
    };
    writeRow("Max", aucs.back(), twacs.back());
    writeRow("Min", aucs.front(), twacs.front());
    for (std::size_t i = 0; i < levels.size(); ++i) {
        const double level = levels[i];
        writeRow(PercentileLabel(levels[i], i + 1 == levels.size()), Percentile(aucs, level),
                 Percentile(twacs, level));
    }
}

}  // namespace

std::array<int, kWindowCount> WindowSizes(int userWindowSize) {
    std::array<int, kWindowCount> sizes{};
    std::copy(kFixedWindowDays.begin(), kFixedWindowDays.end(), sizes.begin());
    sizes[kWindowCount - 1] = userWindowSize;
    return sizes;
}

std::vector<double> ReferenceWindowSums(const std::vector<double>& concentrations,
                                        long long lengthSamples) {
    std::vector<double> sums;
    if (lengthSamples <= 0 || lengthSamples > static_cast<long long>(concentrations.size())) {
        return sums;
    }
    std::vector<double> ring(lengthSamples);
    long long position = 0;
    bool full = false;
    for (double concentration : concentrations) {
        ring[position] = concentration;
        if (++position == lengthSamples) {
            full = true;
            position = 0;
        }
        if (full) {
            double sum = 0.0;
            for (long long slot = 0; slot < lengthSamples; ++slot) sum += ring[slot];
            sums.push_back(sum);
        }
    }
    return sums;
}

std::vector<double> FastWindowSums(const std::vector<double>& concentrations,
                                   long long lengthSamples, WindowSumVectors vectors) {
    const long long sampleCount = static_cast<long long>(concentrations.size());
    if (lengthSamples <= 0 || lengthSamples > sampleCount) return {};
    std::vector<double> sums(sampleCount - lengthSamples + 1);
    // The first cycle fills the ring: only its last row has a value.
    double firstSum = 0.0;
    for (long long slot = 0; slot < lengthSamples; ++slot) firstSum += concentrations[slot];
    sums[0] = firstSum;
    if (vectors == WindowSumVectors::Widest && CpuHasAvx2()) {
        SumLaterCyclesAvx2(concentrations.data(), sampleCount, lengthSamples, sums.data());
    } else {
        SumLaterCyclesSse2(concentrations.data(), sampleCount, lengthSamples, sums.data());
    }
    return sums;
}

std::vector<double> WindowMeans(const std::vector<double>& sums, long long lengthSamples) {
    std::vector<double> means(sums.size());
    const double length = static_cast<double>(lengthSamples);
    for (std::size_t i = 0; i < sums.size(); ++i) means[i] = sums[i] / length;
    return means;
}

void MovingWindows::Reset(int stepsPerDay, int userWindowSize) {
    windowSizesDays_ = WindowSizes(userWindowSize);
    for (int k = 0; k < kWindowCount; ++k) {
        // In 64 bits: a large user window times the steps per day must not wrap around.
        const long long length = static_cast<long long>(windowSizesDays_[k]) * stepsPerDay;
        lengthSamples_[k] = std::max(length, 0LL);
        windowAucs_[k].clear();
        windowTwacs_[k].clear();
    }
    concentrations_.clear();
    finished_ = false;
}

void MovingWindows::UpdateWindows(double concentration) {
    concentrations_.push_back(concentration);
    finished_ = false;
}

void MovingWindows::Finish() {
    if (finished_) return;
    for (int k = 0; k < kWindowCount; ++k) {
        const long long length = lengthSamples_[k];
        const auto* same = std::find(lengthSamples_.begin(), lengthSamples_.begin() + k, length);
        const int earlier = static_cast<int>(same - lengthSamples_.begin());
        if (earlier < k) {
            windowAucs_[k] = windowAucs_[earlier];
            windowTwacs_[k] = windowTwacs_[earlier];
            continue;
        }
        windowAucs_[k] = FastWindowSums(concentrations_, length);
        windowTwacs_[k] = WindowMeans(windowAucs_[k], length);
    }
    finished_ = true;
}

long long MovingWindows::LengthSamples(int window) const {
    return lengthSamples_[window];
}

std::vector<double>& MovingWindows::Aucs(int window) {
    return windowAucs_[window];
}

std::vector<double>& MovingWindows::Twacs(int window) {
    return windowTwacs_[window];
}

void WriteMovingWindowSummary(TextFileWriter& out, const AnalysisSettings& settings,
                              MovingWindows& windows) {
    windows.Finish();
    out.WriteLine("Window size [days]\tPercentile\tAUC" + AucUnitBracket(settings) + "\tTWAC" +
                  UnitBracket(settings));
    const std::vector<int> levels = PercentileLevels(settings.userPercentile);
    AscendingSorter sorter;
    for (int k = 0; k < kWindowCount; ++k) {
        const int sizeDays = windows.WindowSizeDays(k);
        std::vector<double>& aucs = windows.Aucs(k);
        std::vector<double>& twacs = windows.Twacs(k);
        if (aucs.empty()) {
            PrintLine("WARNING! No data found for calculation of AUC and TWAC for window size " +
                      IntegerText(sizeDays) + "!");
            PrintLine("Please check your analysis period and segment! Press a key to continue...");
            WaitForKey();
            continue;
        }
        sorter.Sort(aucs);
        sorter.Sort(twacs);
        std::string sizeCell = IntegerText(sizeDays);
        if (k == kWindowCount - 1) sizeCell += " (user defined)";
        WriteWindowRows(out, sizeCell, levels, aucs, twacs);
    }
}

}  // namespace kivo
