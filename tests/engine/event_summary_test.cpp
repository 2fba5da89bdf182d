#include "engine/event_summary.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/test_support.h"

namespace kivo {
namespace {

struct EventValues {
    double interval;
    double duration;
    double max;
    int extrema;
    double auc;
    double twacEvent;
    double aucBackground;
    double twacBackground;
};

TThresholdLevelAnalysis AnalysisOf(const std::vector<EventValues>& events) {
    TThresholdLevelAnalysis a;
    for (const EventValues& e : events) {
        ++a.eventCount;
        a.eventStarts.push_back({});
        a.intervals.push_back(e.interval);
        a.durations.push_back(e.duration);
        a.maxConcentrations.push_back(e.max);
        a.extremaCounts.push_back(e.extrema);
        a.aucs.push_back(e.auc);
        a.twacEvents.push_back(e.twacEvent);
        a.aucBackgrounds.push_back(e.aucBackground);
        a.twacBackgrounds.push_back(e.twacBackground);
    }
    return a;
}

std::vector<std::string> SummaryLines(const AnalysisSettings& settings,
                                      std::vector<TThresholdLevelAnalysis> analyses) {
    test::TempDir dir;
    TextFileWriter out;
    EXPECT_TRUE(out.Open(dir.File("summary.txt")));
    WriteEventSummary(out, settings, analyses);
    EXPECT_TRUE(out.Close());
    const std::string text = test::ReadFile(dir.File("summary.txt"));
    std::vector<std::string> lines;
    std::size_t begin = 0;
    for (std::size_t end; (end = text.find("\r\n", begin)) != std::string::npos; begin = end + 2) {
        lines.push_back(text.substr(begin, end - begin));
    }
    EXPECT_EQ(begin, text.size()) << "every line ends with CR LF";
    return lines;
}

// The cells of a row after the threshold, event count and label.
std::string Statistics(const std::string& line) {
    std::size_t position = 0;
    for (int tab = 0; tab < 3; ++tab) position = line.find('\t', position) + 1;
    return line.substr(position);
}

AnalysisSettings NamedUnitSettings(std::vector<double> thresholds, int userPercentile = 95) {
    AnalysisSettings settings;
    settings.unitName = "mg/L";
    settings.thresholdLevels = std::move(thresholds);
    settings.userPercentile = userPercentile;
    return settings;
}

const EventValues kFirst{-1.0, 0.125, 5.0, 1, 7.0, 7.0 / 3, 1.0 / 6, 1.0 / 18};
const EventValues kSecond{0.5, 0.375, 3.0, 2, 12.0, 3.0, 0.5, 0.125};

TEST(EventSummary, TwoEventsEachColumnOverItsOwnSortedList) {
    const auto lines = SummaryLines(NamedUnitSettings({0.1}), {AnalysisOf({kFirst, kSecond})});
    const std::string minCells =
        "3.000e+00\t0.125\t0.500\t1.000\t7.000e+00\t2.333e+00\t1.667e-01\t5.556e-02";
    const std::string maxCells =
        "5.000e+00\t0.375\t0.500\t2.000\t1.200e+01\t3.000e+00\t5.000e-01\t1.250e-01";
    const std::vector<std::string> expected = {
        "Threshold conc. [mg/L]\tNo. events\tPercentile\tMax. conc. [mg/L]\tDuration [days]"
        "\tInterval [days]\tNo. extrema\tAUC [h*mg/L]\tTWAC [mg/L]\tAUC-background [h*mg/L]"
        "\tTWAC-background [mg/L]",
        "1.000e-01 (zero level)\t2\tMax\t" + maxCells,
        "1.000e-01 (zero level)\t2\tMin\t" + minCells,
        "1.000e-01 (zero level)\t2\t10th\t" + minCells,
        "1.000e-01 (zero level)\t2\t25th\t" + minCells,
        "1.000e-01 (zero level)\t2\t50th\t"
        "4.000e+00\t0.250\t0.500\t1.500\t9.500e+00\t2.667e+00\t3.333e-01\t9.028e-02",
        "1.000e-01 (zero level)\t2\t75th\t" + maxCells,
        "1.000e-01 (zero level)\t2\t90th\t" + maxCells,
        "1.000e-01 (zero level)\t2\t95th (user defined)\t" + maxCells,
    };
    EXPECT_EQ(lines, expected);
}

TEST(EventSummary, OneEventHasNoInterval) {
    const auto lines = SummaryLines(NamedUnitSettings({0.1}), {AnalysisOf({kFirst})});
    ASSERT_EQ(lines.size(), 9u);
    for (std::size_t row = 1; row < lines.size(); ++row) {
        EXPECT_EQ(Statistics(lines[row]),
                  "5.000e+00\t0.125\t-\t1.000\t7.000e+00\t2.333e+00\t1.667e-01\t5.556e-02");
    }
}

TEST(EventSummary, UserLevelRowMatchesItsEquivalent) {
    struct Case {
        int userLevel;
        std::size_t equivalentRow;  // 1 Max, 2 Min, 5 the 50th
        const char* label;
    };
    for (const Case& c : {Case{0, 2, "0th (user defined)"}, Case{100, 1, "100th (user defined)"},
                          Case{50, 5, "50th (user defined)"}}) {
        SCOPED_TRACE(c.userLevel);
        const auto lines = SummaryLines(NamedUnitSettings({0.1}, c.userLevel),
                                        {AnalysisOf({kFirst, kSecond, kFirst})});
        ASSERT_EQ(lines.size(), 9u);
        EXPECT_NE(lines[8].find(std::string("\t") + c.label + "\t"), std::string::npos);
        EXPECT_EQ(Statistics(lines[8]), Statistics(lines[c.equivalentRow]));
    }
}

TEST(EventSummary, ThresholdsWithoutEventsAreLeftOut) {
    const auto lines =
        SummaryLines(NamedUnitSettings({0.1, 0.2, 0.3, 0.4}),
                     {AnalysisOf({}), AnalysisOf({kFirst}), AnalysisOf({}), AnalysisOf({kSecond})});
    ASSERT_EQ(lines.size(), 17u);
    EXPECT_EQ(lines[1].substr(0, 16), "2.000e-01\t1\tMax\t");
    EXPECT_EQ(lines[9].substr(0, 16), "4.000e-01\t1\tMax\t");
    EXPECT_EQ(SummaryLines(NamedUnitSettings({0.1}), {AnalysisOf({})}).size(), 1u);
}

TEST(EventSummary, LeavesResultListsSorted) {
    std::vector<TThresholdLevelAnalysis> analyses = {AnalysisOf({kSecond, kFirst})};
    test::TempDir dir;
    TextFileWriter out;
    ASSERT_TRUE(out.Open(dir.File("summary.txt")));
    WriteEventSummary(out, NamedUnitSettings({0.1}), analyses);
    out.Close();
    EXPECT_EQ(analyses[0].maxConcentrations, (std::vector<double>{3.0, 5.0}));
    EXPECT_EQ(analyses[0].extremaCounts, (std::vector<int32_t>{1, 2}));
    EXPECT_EQ(analyses[0].intervals, (std::vector<double>{0.5}));
}

}  // namespace
}  // namespace kivo
