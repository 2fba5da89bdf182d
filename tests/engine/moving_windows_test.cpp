#include "engine/moving_windows.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "common/number_formats.h"
#include "common/text_file_writer.h"
#include "engine/console.h"
#include "engine/conventions.h"
#include "tests/test_support.h"

namespace kivo {
namespace {

// Values whose sums depend on the order of the additions: peaks up to 1e300 next to tiny
// and subnormal values, negatives and both zeros.
std::vector<double> MixedSeries(std::size_t count, std::uint64_t seed) {
    std::mt19937_64 random(seed);
    std::vector<double> values(count);
    for (double& value : values) {
        const std::uint64_t draw = random();
        const double mantissa = static_cast<double>(draw >> 11) * 0x1p-53 + 0.5;
        switch (draw % 10) {
            case 0:
                value = 0.0;
                break;
            case 1:
                value = -0.0;
                break;
            case 2:
                value = std::ldexp(mantissa, static_cast<int>(draw % 997));
                break;
            case 3:
                value = std::ldexp(mantissa, -1070 + static_cast<int>(draw % 60));
                break;
            case 4:
                value = -std::ldexp(mantissa, static_cast<int>(draw % 80) - 40);
                break;
            default:
                value = std::ldexp(mantissa, static_cast<int>(draw % 40) - 20);
                break;
        }
    }
    return values;
}

::testing::AssertionResult SameBits(const std::vector<double>& actual,
                                    const std::vector<double>& expected) {
    if (actual.size() != expected.size()) {
        return ::testing::AssertionFailure()
               << "sizes " << actual.size() << " and " << expected.size();
    }
    for (std::size_t i = 0; i < actual.size(); ++i) {
        if (std::bit_cast<std::uint64_t>(actual[i]) != std::bit_cast<std::uint64_t>(expected[i])) {
            return ::testing::AssertionFailure()
                   << "value " << i << ": " << actual[i] << " and " << expected[i];
        }
    }
    return ::testing::AssertionSuccess();
}

std::vector<double> Means(const std::vector<double>& sums, long long length) {
    std::vector<double> means;
    for (double sum : sums) means.push_back(sum / static_cast<double>(length));
    return means;
}

TEST(WindowSums, FastSumsEqualTheRingSumsBitForBit) {
    const long long lengths[] = {1, 2, 3, 5, 16, 24, 33, 48, 97, 168, 2400};
    for (long long length : lengths) {
        const long long seriesLengths[] = {length - 1, length,          length + 1,
                                           2 * length, 2 * length + 17, 7 * length + 5};
        for (long long count : seriesLengths) {
            const std::vector<double> series = MixedSeries(count, count * 131 + length);
            const std::vector<double> reference = ReferenceWindowSums(series, length);
            SCOPED_TRACE("length " + std::to_string(length) + ", rows " + std::to_string(count));
            EXPECT_EQ(reference.size(),
                      static_cast<std::size_t>(std::max(0LL, count - length + 1)));
            EXPECT_TRUE(SameBits(FastWindowSums(series, length), reference));
            EXPECT_TRUE(
                SameBits(FastWindowSums(series, length, WindowSumVectors::Sse2), reference));
        }
    }
}

TEST(WindowSums, RingSumsAreSlotOrderSumsFromZero) {
    // Rows 2 to 4 find the ring at {x0, x1, x2}, {x3, x1, x2} and {x3, x4, x2}; a running sum
    // (add the new sample, subtract the old) would round differently.
    const std::vector<double> series = {1e16, 1.0, -1e16, 1.0, 3.0};
    const std::vector<double> expected = {((0.0 + 1e16) + 1.0) + -1e16, ((0.0 + 1.0) + 1.0) + -1e16,
                                          ((0.0 + 1.0) + 3.0) + -1e16};
    EXPECT_TRUE(SameBits(ReferenceWindowSums(series, 3), expected));
    EXPECT_TRUE(SameBits(FastWindowSums(series, 3), expected));
    EXPECT_TRUE(SameBits(ReferenceWindowSums({-0.0, -0.0}, 1), {0.0, 0.0}));
    EXPECT_TRUE(SameBits(FastWindowSums({-0.0, -0.0}, 1), {0.0, 0.0}));
}

TEST(WindowSums, WindowWithoutSlotsHasNoValues) {
    const std::vector<double> series = {1.0, 2.0, 3.0};
    EXPECT_TRUE(ReferenceWindowSums(series, 0).empty());
    EXPECT_TRUE(FastWindowSums(series, 0).empty());
    EXPECT_TRUE(FastWindowSums({}, 1).empty());
}

TEST(MovingWindows, EveryWindowMatchesTheRingForConsecutiveSeries) {
    MovingWindows windows;
    for (int series = 0; series < 2; ++series) {
        const int stepsPerDay = series == 0 ? 24 : 4;
        const std::vector<double> values = MixedSeries(series == 0 ? 2500 : 1000, 7 + series);
        windows.Reset(stepsPerDay, 3);
        for (double value : values) windows.UpdateWindows(value);
        windows.Finish();
        const auto sizes = WindowSizes(3);
        for (int k = 0; k < kWindowCount; ++k) {
            const long long length = static_cast<long long>(sizes[k]) * stepsPerDay;
            SCOPED_TRACE("series " + std::to_string(series) + ", window " + std::to_string(k));
            EXPECT_EQ(windows.LengthSamples(k), length);
            const std::vector<double> reference = ReferenceWindowSums(values, length);
            EXPECT_TRUE(SameBits(windows.Aucs(k), reference));
            EXPECT_TRUE(SameBits(windows.Twacs(k), Means(reference, length)));
        }
    }
}

TEST(MovingWindows, HourlySeriesOfTwoDays) {
    MovingWindows windows;
    windows.Reset(24, 56);
    std::vector<double> values;
    double sum = 0.0;
    for (int row = 0; row < 48; ++row) {
        values.push_back(0.1 * row + 0.01);
        sum += values.back();
        windows.UpdateWindows(values.back());
    }
    windows.Finish();
    EXPECT_EQ(windows.Aucs(0).size(), 25u);
    ASSERT_EQ(windows.Aucs(1).size(), 1u);
    EXPECT_EQ(windows.Aucs(1)[0], sum);
    EXPECT_EQ(windows.Twacs(1)[0], sum / 48.0);
    for (int k = 2; k < kWindowCount; ++k) EXPECT_TRUE(windows.Aucs(k).empty()) << k;
}

TEST(MovingWindows, ConstantSeriesGivesLengthTimesValue) {
    MovingWindows windows;
    windows.Reset(24, 3);
    for (int row = 0; row < 24 * 120; ++row) windows.UpdateWindows(0.25);
    windows.Finish();
    for (int k = 0; k < kWindowCount; ++k) {
        const long long length = windows.LengthSamples(k);
        ASSERT_EQ(windows.Aucs(k).size(), static_cast<std::size_t>(24 * 120 - length + 1));
        for (double auc : windows.Aucs(k)) ASSERT_EQ(auc, 0.25 * static_cast<double>(length));
        for (double twac : windows.Twacs(k)) ASSERT_EQ(twac, 0.25);
    }
}

TEST(MovingWindows, WindowsWithoutSlotsOrTooLongHaveNoValues) {
    struct Case {
        int stepsPerDay;
        int userWindowSize;
        long long userLength;
        int windowsWithValues;
    };
    const Case cases[] = {
        {24, 0, 0, 10},                       // user window of no days
        {0, 56, 0, 0},                        // a series of one row has no steps per day
        {24, 2000000000, 48000000000LL, 10},  // far longer than any series, without overflow
    };
    for (const Case& c : cases) {
        MovingWindows windows;
        windows.Reset(c.stepsPerDay, c.userWindowSize);
        for (int row = 0; row < 24 * 100; ++row) windows.UpdateWindows(1.0);
        windows.Finish();
        EXPECT_EQ(windows.LengthSamples(kWindowCount - 1), c.userLength);
        int withValues = 0;
        for (int k = 0; k < kWindowCount; ++k) withValues += windows.Aucs(k).empty() ? 0 : 1;
        EXPECT_EQ(withValues, c.windowsWithValues) << c.stepsPerDay << " " << c.userWindowSize;
    }
}

class MovingWindowSummary : public ::testing::Test {
  protected:
    void TearDown() override { SetConsoleStreams(nullptr, nullptr); }

    // Writes the summary of `values` as the engine does (each window computed on its own,
    // the means taken from the sorted sums where they follow them) and returns the file
    // text; the console goes to `console_`. The summary of the lists that Finish keeps,
    // sorted separately, must give the same bytes. The console holds this summary's lines.
    std::string Summary(const AnalysisSettings& settings, int stepsPerDay,
                        const std::vector<double>& values) {
        console_.str("");
        const std::string text = SummaryText(settings, stepsPerDay, values, false, console_, keys_);
        std::ostringstream keptConsole;
        std::istringstream keptKeys{std::string(20, 'k')};
        EXPECT_EQ(SummaryText(settings, stepsPerDay, values, true, keptConsole, keptKeys), text);
        EXPECT_EQ(keptConsole.str(), console_.str());
        return text;
    }

    static std::string SummaryText(const AnalysisSettings& settings, int stepsPerDay,
                                   const std::vector<double>& values, bool keepLists,
                                   std::ostringstream& console, std::istringstream& keys) {
        MovingWindows windows;
        windows.Reset(stepsPerDay, settings.userWindowSize);
        for (double value : values) windows.UpdateWindows(value);
        if (keepLists) windows.Finish();
        SetConsoleStreams(&console, &keys);
        test::TempDir dir;
        TextFileWriter out;
        EXPECT_TRUE(out.Open(dir.File("summary.txt")));
        WriteMovingWindowSummary(out, settings, windows);
        EXPECT_TRUE(out.Close());
        return test::ReadFile(dir.File("summary.txt"));
    }

    static std::string Warning(int days) {
        return "WARNING! No data found for calculation of AUC and TWAC for window size " +
               std::to_string(days) +
               "!\nPlease check your analysis period and segment! Press a key to continue...\n";
    }

    std::ostringstream console_;
    std::istringstream keys_{std::string(20, 'k')};
};

TEST_F(MovingWindowSummary, TwoDailyRowsWithUserWindowEqualToAFixedOne) {
    AnalysisSettings settings;
    settings.unitName = "mg/L";
    settings.userPercentile = 30;
    settings.userWindowSize = 2;
    const std::string text = Summary(settings, 1, {1.0, 3.0});

    std::string expected = "Window size [days]\tPercentile\tAUC [h*mg/L]\tTWAC [mg/L]\r\n";
    const char* dailyRows[][2] = {{"Max", "3.000e+00"},  {"Min", "1.000e+00"},
                                  {"10th", "1.000e+00"}, {"25th", "1.000e+00"},
                                  {"50th", "2.000e+00"}, {"75th", "3.000e+00"},
                                  {"90th", "3.000e+00"}, {"30th (user defined)", "1.200e+00"}};
    for (const auto& row : dailyRows) {
        expected += std::string("1\t") + row[0] + "\t" + row[1] + "\t" + row[1] + "\r\n";
    }
    for (const char* size : {"2", "2 (user defined)"}) {
        for (const auto& row : dailyRows) {
            expected += std::string(size) + "\t" + row[0] + "\t4.000e+00\t2.000e+00\r\n";
        }
    }
    EXPECT_EQ(text, expected);

    std::string warnings;
    for (int days : {4, 7, 14, 21, 28, 42, 50, 100}) warnings += Warning(days);
    EXPECT_EQ(console_.str(), warnings);
    EXPECT_EQ(keys_.rdbuf()->in_avail(), 20 - 8);  // one key per warning
}

TEST_F(MovingWindowSummary, SeriesWithoutStepsGivesTitleAndElevenWarnings) {
    AnalysisSettings settings;
    settings.unitName = "ng/L";
    settings.unitFactor = 1e6f;
    const std::string text = Summary(settings, 0, {1.0});
    EXPECT_EQ(text,
              "Window size [days]\tPercentile\tAUC [Unit: h*ng/L; Factor: 1e+06]\t"
              "TWAC [Unit: ng/L; Factor: 1e+06]\r\n");
    std::string warnings;
    for (int days : WindowSizes(56)) warnings += Warning(days);
    EXPECT_EQ(console_.str(), warnings);
}

TEST_F(MovingWindowSummary, ValuesAreSortedBeforeMaxMinAndPercentiles) {
    AnalysisSettings settings;
    settings.unitName = "mg/L";
    settings.userWindowSize = 1;
    // Daily sums 5, -2, 9 sort to -2, 5, 9: the median is 5, not the middle row's -2.
    const std::string text = Summary(settings, 1, {5.0, -2.0, 9.0});
    for (const char* row :
         {"1\tMax\t9.000e+00\t9.000e+00\r\n", "1\tMin\t-2.000e+00\t-2.000e+00\r\n",
          "1\t50th\t5.000e+00\t5.000e+00\r\n", "1 (user defined)\tMax\t9.000e+00\t9.000e+00\r\n"}) {
        EXPECT_NE(text.find(row), std::string::npos) << row << text;
    }
}

TEST_F(MovingWindowSummary, LongListsOfMixedValuesGiveTheRowsOfAnOrdinarySort) {
    AnalysisSettings settings;
    settings.unitName = "\xB5g/L";
    settings.userPercentile = 37;
    settings.userWindowSize = 3;
    const std::vector<double> values = MixedSeries(24 * 60, 99);
    const std::string text = Summary(settings, 24, values);

    std::string expected = "Window size [days]\tPercentile\tAUC [h*\xB5g/L]\tTWAC [\xB5g/L]\r\n";
    const auto sizes = WindowSizes(settings.userWindowSize);
    const std::vector<int> levels = PercentileLevels(settings.userPercentile);
    for (int k = 0; k < kWindowCount; ++k) {
        std::vector<double> aucs = ReferenceWindowSums(values, sizes[k] * 24LL);
        if (aucs.empty()) continue;
        std::vector<double> twacs = Means(aucs, sizes[k] * 24LL);
        std::sort(aucs.begin(), aucs.end());
        std::sort(twacs.begin(), twacs.end());
        const std::string size =
            std::to_string(sizes[k]) + (k == kWindowCount - 1 ? " (user defined)" : "");
        auto row = [&](const std::string& label, double auc, double twac) {
            expected +=
                size + "\t" + label + "\t" + Scientific3(auc) + "\t" + Scientific3(twac) + "\r\n";
        };
        row("Max", aucs.back(), twacs.back());
        row("Min", aucs.front(), twacs.front());
        for (std::size_t i = 0; i < levels.size(); ++i) {
            row(PercentileLabel(levels[i], i == 5), Percentile(aucs, levels[i]),
                Percentile(twacs, levels[i]));
        }
    }
    EXPECT_EQ(text, expected);
}

TEST_F(MovingWindowSummary, MeansFromSortedSumsKeepSignedZerosAndNonFiniteValues) {
    AnalysisSettings settings;
    settings.unitName = "mg/L";
    settings.userWindowSize = 1;
    std::mt19937_64 random(5);
    // Subnormal sums of both signs whose means round to -0.0 and 0.0: the sorted means must
    // keep every zero's sign where sorting the means alone puts it.
    std::vector<double> tiny(24 * 40);
    for (double& value : tiny) {
        const std::uint64_t draw = random();
        value = draw % 4 == 0 ? (draw % 8 == 0 ? -0.0 : 0.0)
                              : static_cast<double>(draw % 7) * 0x1p-1074 * (draw & 8 ? -1 : 1);
    }
    const std::string text = Summary(settings, 24, tiny);
    EXPECT_NE(text.find("-0.000e+00"), std::string::npos) << text;
    // Infinite terms make infinite and NaN sums, which take the plain path.
    std::vector<double> peaks = MixedSeries(24 * 40, 6);
    peaks[100] = HUGE_VAL;
    peaks[700] = -HUGE_VAL;
    peaks[701] = HUGE_VAL;
    Summary(settings, 24, peaks);
}

}  // namespace
}  // namespace kivo
