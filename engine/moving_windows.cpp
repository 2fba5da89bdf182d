#include "engine/moving_windows.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <exception>
#include <new>
#include <string>
#include <system_error>
#include <thread>

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

// Threads that compute windows side by side: more gain little over 11 windows, and each
// touches buffers of its own.
constexpr std::size_t kMaxWindowThreads = 4;

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

    // Makes room for lists of up to `count` values at once.
    void Reserve(std::size_t count) { keys_.reserve(count); }

  private:
    static constexpr int kDigitBits = 11;
    static constexpr int kPasses = (64 + kDigitBits - 1) / kDigitBits;
    static constexpr std::size_t kBuckets = std::size_t{1} << kDigitBits;

    // Least significant digit first; a pass whose digit is the same for all keys is skipped.
    // The keys move between the values' own memory and one buffer: every page of memory
    // touched for the first time costs far more than the pass that fills it.
    void RadixSort(double* values, std::size_t count) {
        keys_.resize(count);
        counts_.assign(kPasses * kBuckets, 0);
        for (std::size_t i = 0; i < count; ++i) {
            const std::uint64_t key = SortKey(values[i]);
            for (int pass = 0; pass < kPasses; ++pass) {
                ++counts_[pass * kBuckets + Digit(key, pass)];
            }
            std::memcpy(values + i, &key, sizeof key);
        }
        bool keysInValues = true;
        for (int pass = 0; pass < kPasses; ++pass) {
            std::size_t* bucketStart = counts_.data() + pass * kBuckets;
            if (bucketStart[Digit(KeyAt(values, 0), pass)] == count) continue;
            std::size_t position = 0;
            for (std::size_t bucket = 0; bucket < kBuckets; ++bucket) {
                const std::size_t size = bucketStart[bucket];
                bucketStart[bucket] = position;
                position += size;
            }
            if (keysInValues) {
                Scatter(values, keys_.data(), count, bucketStart, pass);
            } else {
                Scatter(keys_.data(), values, count, bucketStart, pass);
            }
            keysInValues = !keysInValues;
        }
        for (std::size_t i = 0; i < count; ++i) {
            values[i] = FromSortKey(keysInValues ? KeyAt(values, i) : keys_[i]);
        }
    }

    template <typename From, typename To>
    static void Scatter(const From* from, To* to, std::size_t count, std::size_t* bucketStart,
                        int pass) {
        for (std::size_t i = 0; i < count; ++i) {
            const std::uint64_t key = KeyAt(from, i);
            std::memcpy(to + bucketStart[Digit(key, pass)]++, &key, sizeof key);
        }
    }

    template <typename Slot>
    static std::uint64_t KeyAt(const Slot* slots, std::size_t i) {
        std::uint64_t key;
        std::memcpy(&key, slots + i, sizeof key);
        return key;
    }

    static std::size_t Digit(std::uint64_t key, int pass) {
        return (key >> (pass * kDigitBits)) & (kBuckets - 1);
    }

    std::vector<std::uint64_t> keys_;
    std::vector<std::size_t> counts_;
};

// Max, Min and the percentiles of a sorted list, in the order of the summary rows.
std::vector<double> StatisticsOfSortedList(const std::vector<int>& levels,
                                           const std::vector<double>& sorted) {
    std::vector<double> statistics = {sorted.back(), sorted.front()};
    for (int level : levels) statistics.push_back(Percentile(sorted, level));
    return statistics;
}

// The summary values of one window, AUC and TWAC per row; empty when it has no values.
struct WindowStatistics {
    std::vector<double> aucs;
    std::vector<double> twacs;
};

WindowStatistics StatisticsOfSortedLists(const std::vector<int>& levels,
                                         const std::vector<double>& aucs,
                                         const std::vector<double>& twacs) {
    if (aucs.empty()) return {};
    return {StatisticsOfSortedList(levels, aucs), StatisticsOfSortedList(levels, twacs)};
}

// Sorts the lists that Finish kept, in place, and takes their statistics.
std::array<WindowStatistics, kWindowCount> StatisticsOfKeptLists(MovingWindows& windows,
                                                                 const std::vector<int>& levels) {
    std::array<WindowStatistics, kWindowCount> statistics;
    AscendingSorter sorter;
    for (int k = 0; k < kWindowCount; ++k) {
        std::vector<double>& aucs = windows.Aucs(k);
        std::vector<double>& twacs = windows.Twacs(k);
        sorter.Sort(aucs);
        sorter.Sort(twacs);
        statistics[k] = StatisticsOfSortedLists(levels, aucs, twacs);
    }
    return statistics;
}

// The lists of one window computed afresh, reused from window to window; room for the
// longest list from the start, so no list grows by copying.
struct WindowBuffers {
    explicit WindowBuffers(std::size_t mostValues) {
        aucs.reserve(mostValues);
        sorter.Reserve(mostValues);
    }
    std::vector<double> aucs;
    std::vector<double> twacs;
    AscendingSorter sorter;
};

// A long list of finite sums takes the radix sort, whose order of all bits is unique, and
// division by a positive length keeps that order (-0.0 and underflow to zero included): the
// sorted means are then the sorted sums divided, bit for bit, and need no list of their own.
bool MeansFollowSortedSums(const std::vector<double>& sums) {
    return sums.size() >= kRadixSortMinimum &&
           std::all_of(sums.begin(), sums.end(), [](double sum) { return std::isfinite(sum); });
}

WindowStatistics StatisticsOfWindow(const std::vector<double>& concentrations, long long length,
                                    const std::vector<int>& levels, WindowBuffers& buffers) {
    std::vector<double>& aucs = buffers.aucs;
    FillWindowSums(concentrations, length, aucs);
    if (aucs.empty()) return {};
    const double lengthValue = static_cast<double>(length);
    if (MeansFollowSortedSums(aucs)) {
        buffers.sorter.Sort(aucs);
        WindowStatistics statistics;
        statistics.aucs = StatisticsOfSortedList(levels, aucs);
        for (double& value : aucs) value /= lengthValue;
        statistics.twacs = StatisticsOfSortedList(levels, aucs);
        return statistics;
    }
    std::vector<double>& twacs = buffers.twacs;
    twacs.resize(aucs.size());
    for (std::size_t i = 0; i < aucs.size(); ++i) twacs[i] = aucs[i] / lengthValue;
    buffers.sorter.Sort(aucs);
    buffers.sorter.Sort(twacs);
    return StatisticsOfSortedLists(levels, aucs, twacs);
}

// The windows that need computing, longest (costliest to sum) first: a window of no values
// needs none, and one of the same length as an earlier one shares its statistics.
std::vector<int> WindowsToCompute(const MovingWindows& windows) {
    const auto sampleCount = static_cast<long long>(windows.Concentrations().size());
    std::vector<int> toCompute;
    for (int k = 0; k < kWindowCount; ++k) {
        const long long length = windows.LengthSamples(k);
        const bool hasValues = length > 0 && length <= sampleCount;
        const bool shared = std::any_of(toCompute.begin(), toCompute.end(), [&](int earlier) {
            return windows.LengthSamples(earlier) == length;
        });
        if (hasValues && !shared) toCompute.push_back(k);
    }
    std::stable_sort(toCompute.begin(), toCompute.end(), [&](int a, int b) {
        return windows.LengthSamples(a) > windows.LengthSamples(b);
    });
    return toCompute;
}

// Computes the windows of the series, each into the reused buffers of one of a few threads
// (every window alone gives the same bits on any thread), and takes their statistics.
std::array<WindowStatistics, kWindowCount> StatisticsOfSeries(const MovingWindows& windows,
                                                              const std::vector<int>& levels) {
    std::array<WindowStatistics, kWindowCount> statistics;
    const std::vector<int> toCompute = WindowsToCompute(windows);
    std::atomic<std::size_t> next{0};
    std::vector<std::exception_ptr> failures(kMaxWindowThreads);
    auto computeWindows = [&](std::size_t worker) {
        try {
            WindowBuffers buffers(windows.Concentrations().size());
            for (std::size_t i = next++; i < toCompute.size(); i = next++) {
                const int k = toCompute[i];
                statistics[k] = StatisticsOfWindow(windows.Concentrations(),
                                                   windows.LengthSamples(k), levels, buffers);
            }
        } catch (...) {
            failures[worker] = std::current_exception();
        }
    };
    const std::size_t workers =
        std::min({toCompute.size(), kMaxWindowThreads,
                  std::max<std::size_t>(std::thread::hardware_concurrency(), 1)});
    std::vector<std::thread> helpers;
    for (std::size_t worker = 1; worker < workers; ++worker) {
        try {
            helpers.emplace_back(computeWindows, worker);
        } catch (const std::system_error&) {
            break;  // no thread to be had: the others do its share
        }
    }
    computeWindows(0);
    for (std::thread& helper : helpers) helper.join();
    for (const std::exception_ptr& failure : failures) {
        if (failure) std::rethrow_exception(failure);
    }
    for (int k = 0; k < kWindowCount; ++k) {
        for (int earlier = 0; earlier < k; ++earlier) {
            if (windows.LengthSamples(earlier) == windows.LengthSamples(k)) {
                statistics[k] = statistics[earlier];
                break;
            }
        }
    }
    return statistics;
}

void WriteWindowRows(TextFileWriter& out, const std::string& sizeCell,
                     const std::vector<int>& levels, const WindowStatistics& statistics) {
    for (std::size_t row = 0; row < statistics.aucs.size(); ++row) {
        std::string label;
        if (row == 0) {
            label = "Max";
        } else if (row == 1) {
            label = "Min";
        } else {
            label = PercentileLabel(levels[row - 2], row - 1 == levels.size());
        }
        out.WriteLine(sizeCell + "\t" + label + "\t" + Scientific3(statistics.aucs[row]) + "\t" +
                      Scientific3(statistics.twacs[row]));
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
    std::vector<double> sums;
    FillWindowSums(concentrations, lengthSamples, sums, vectors);
    return sums;
}

void FillWindowSums(const std::vector<double>& concentrations, long long lengthSamples,
                    std::vector<double>& sums, WindowSumVectors vectors) {
    const long long sampleCount = static_cast<long long>(concentrations.size());
    if (lengthSamples <= 0 || lengthSamples > sampleCount) {
        sums.clear();
        return;
    }
    sums.resize(sampleCount - lengthSamples + 1);
    // The first cycle fills the ring: only its last row has a value.
    double firstSum = 0.0;
    for (long long slot = 0; slot < lengthSamples; ++slot) firstSum += concentrations[slot];
    sums[0] = firstSum;
    if (vectors == WindowSumVectors::Widest && CpuHasAvx2()) {
        SumLaterCyclesAvx2(concentrations.data(), sampleCount, lengthSamples, sums.data());
    } else {
        SumLaterCyclesSse2(concentrations.data(), sampleCount, lengthSamples, sums.data());
    }
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

void MovingWindows::ReserveRows(std::size_t rowCount) {
    try {
        concentrations_.reserve(rowCount);
    } catch (const std::bad_alloc&) {
        // Only a hint: the rows still fit one at a time as far as memory allows.
    }
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
    out.WriteLine("Window size [days]\tPercentile\tAUC" + AucUnitBracket(settings) + "\tTWAC" +
                  UnitBracket(settings));
    const std::vector<int> levels = PercentileLevels(settings.userPercentile);
    const std::array<WindowStatistics, kWindowCount> statistics =
        windows.HasValueLists() ? StatisticsOfKeptLists(windows, levels)
                                : StatisticsOfSeries(windows, levels);
    for (int k = 0; k < kWindowCount; ++k) {
        const int sizeDays = windows.WindowSizeDays(k);
        if (statistics[k].aucs.empty()) {
            PrintLine("WARNING! No data found for calculation of AUC and TWAC for window size " +
                      IntegerText(sizeDays) + "!");
            PrintLine("Please check your analysis period and segment! Press a key to continue...");
            WaitForKey();
            continue;
        }
        std::string sizeCell = IntegerText(sizeDays);
        if (k == kWindowCount - 1) sizeCell += " (user defined)";
        WriteWindowRows(out, sizeCell, levels, statistics[k]);
    }
}

}  // namespace kivo
