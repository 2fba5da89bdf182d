#include "engine/events.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/text_file_writer.h"
#include "tests/test_support.h"

namespace kivo {
namespace {

constexpr double kHour = 1.0 / 24.0;

// Runs samples through the event step the way the analysis loop does, end-of-data pass
// included.
std::vector<TThresholdLevelAnalysis> Detect(const std::vector<double>& t,
                                            const std::vector<double>& concentrations,
                                            const std::vector<double>& thresholds) {
    std::vector<TThresholdLevelAnalysis> analyses(thresholds.size());
    TSampleHistory history;
    TTimeConcentration current;
    auto feed = [&](int rowResult) {
        for (std::size_t level = 0; level < thresholds.size(); ++level) {
            UpdateEvent(analyses[level], current, history.previous, history.beforePrevious,
                        thresholds[level], rowResult);
        }
        history.Push(current);
    };
    for (std::size_t i = 0; i < t.size(); ++i) {
        current = TTimeConcentration{t[i], concentrations[i], 29221.0 + t[i]};
        feed(kRowRead);
    }
    feed(kEndOfData);
    return analyses;
}

std::vector<double> Hourly(std::size_t count) {
    std::vector<double> t;
    for (std::size_t i = 0; i < count; ++i) t.push_back(static_cast<double>(i) * kHour);
    return t;
}

struct SingleEventCase {
    const char* name;
    std::vector<double> t;
    std::vector<double> concentrations;
    double startT;
    double duration;
    double max;
    int extrema;
    double auc;
    double twacEvent;
    double aucBackground;
    double twacBackground;
};

TEST(EventDetection, SingleEventCases) {
    const std::vector<SingleEventCase> cases = {
        {"rise and fall",
         Hourly(5),
         {0, 2, 3, 2, 0},
         kHour,
         3 * kHour,
         3,
         1,
         7,
         7.0 / 3,
         4 * kHour,
         4 * kHour / 3},
        {"single sample", Hourly(3), {0, 5, 0}, kHour, kHour, 5, 1, 5, 5, 0, 0},
        {"sample at threshold keeps it going, trough",
         Hourly(5),
         {0, 2, 1, 2, 0},
         kHour,
         3 * kHour,
         2,
         2,
         5,
         5.0 / 3,
         2.5 * kHour,
         2.5 * kHour / 3},
        {"flat top", Hourly(4), {0, 3, 3, 0}, kHour, 2 * kHour, 3, 0, 6, 3, 3 * kHour, 1.5 * kHour},
        {"running at the end, hourly",
         Hourly(3),
         {0, 2, 3},
         kHour,
         kHour,
         3,
         0,
         5,
         2.5,
         2 * kHour,
         kHour},
        {"running at the end, daily", {0, 1, 2}, {0, 2, 3}, 1, 2, 3, 0, 5, 2.5, 2, 1},
        {"starts on the last row, hourly", Hourly(3), {0, 0, 2}, 2 * kHour, 0, 2, 0, 2, 2, 0, 0},
        {"starts on the first row, no sample before it",
         Hourly(3),
         {3, 2, 0},
         0,
         2 * kHour,
         3,
         0,
         5,
         2.5,
         3 * kHour,
         1.5 * kHour},
        {"single-row series", {7}, {5}, 7, 0, 5, 0, 5, 5, 0, 0},
    };
    for (const SingleEventCase& c : cases) {
        SCOPED_TRACE(c.name);
        const auto analyses = Detect(c.t, c.concentrations, {1.0});
        const TThresholdLevelAnalysis& a = analyses[0];
        ASSERT_EQ(a.eventCount, 1);
        EXPECT_FALSE(a.inEvent);
        ASSERT_EQ(a.durations.size(), 1u);
        EXPECT_DOUBLE_EQ(a.eventStarts[0].t, c.startT);
        EXPECT_DOUBLE_EQ(a.durations[0], c.duration);
        EXPECT_EQ(a.intervals[0], -1.0);
        EXPECT_EQ(a.maxConcentrations[0], c.max);
        EXPECT_EQ(a.extremaCounts[0], c.extrema);
        EXPECT_DOUBLE_EQ(a.aucs[0], c.auc);
        EXPECT_DOUBLE_EQ(a.twacEvents[0], c.twacEvent);
        EXPECT_NEAR(a.aucBackgrounds[0], c.aucBackground, 1e-12);
        EXPECT_NEAR(a.twacBackgrounds[0], c.twacBackground, 1e-12);
    }
}

TEST(EventDetection, ConcentrationAtThresholdStartsNothing) {
    const auto analyses = Detect(Hourly(4), {0, 1, 1, 0}, {1.0});
    EXPECT_EQ(analyses[0].eventCount, 0);
    EXPECT_TRUE(analyses[0].durations.empty());
}

TEST(EventDetection, SecondEventMeasuresIntervalFromEndOfFirst) {
    const auto analyses = Detect(Hourly(7), {0, 2, 0, 0, 3, 3, 0}, {1.0, 2.5, 10.0});
    const TThresholdLevelAnalysis& low = analyses[0];
    ASSERT_EQ(low.eventCount, 2);
    EXPECT_EQ(low.intervals[0], -1.0);
    // The first event ends at the first sample below the threshold (t = 2 h).
    EXPECT_DOUBLE_EQ(low.intervals[1], 2 * kHour);
    EXPECT_DOUBLE_EQ(low.durations[1], 2 * kHour);
    EXPECT_EQ(analyses[1].eventCount, 1);
    EXPECT_EQ(analyses[1].intervals[0], -1.0);
    EXPECT_EQ(analyses[2].eventCount, 0);
}

TEST(EventDetection, EventRunningAtDailyEndEndsBeforeLastStep) {
    // The whole day of the last step is added to the duration and taken off the end time,
    // so the next interval would count from t = 2.
    auto analyses = Detect({0, 1, 2, 3}, {0, 2, 3, 4}, {1.0});
    EXPECT_DOUBLE_EQ(analyses[0].durations[0], 3.0);
    EXPECT_DOUBLE_EQ(analyses[0].lastEventEndT, 2.0);
}

TEST(BackgroundArea, StepCurveThroughSupportPoints) {
    struct Case {
        std::vector<TTimeConcentration> points;
        double area;
    };
    const std::vector<Case> cases = {
        {{}, 0.0},
        {{{4, 2.5, 0}}, 2.5},
        {{{0, 1, 0}, {1, 3, 0}, {2, 5, 0}}, 5.0},
        {{{0, 2, 0}, {0, 2, 0}}, 0.0},
        {{{1, 4, 0}, {3, 8, 0}}, 8.0},
    };
    for (const Case& c : cases) EXPECT_DOUBLE_EQ(BackgroundArea(c.points), c.area);
}

std::string EventsTableText(const AnalysisSettings& settings,
                            const std::vector<TThresholdLevelAnalysis>& analyses) {
    test::TempDir dir;
    TextFileWriter out;
    EXPECT_TRUE(out.Open(dir.File("events.txt")));
    WriteEventsTable(out, settings, analyses);
    EXPECT_TRUE(out.Close());
    return test::ReadFile(dir.File("events.txt"));
}

TEST(EventsTable, TitleAndRowsPerThresholdInOrder) {
    AnalysisSettings settings;
    settings.unitName = "mg/L";
    settings.thresholdLevels = {1.0, 2.5, 10.0};
    const auto analyses = Detect(Hourly(7), {0, 2, 3, 2, 0, 3, 0}, settings.thresholdLevels);
    EXPECT_EQ(EventsTableText(settings, analyses),
              "Threshold conc. [mg/L]\tEvent no.\tStart date & time\tt [days]\tMax.conc. [mg/L]"
              "\tDuration [days]\tInterval [days]\tNo. extrema\tAUC [h*mg/L]\tTWAC-event [mg/L]"
              "\tTWAC-background [mg/L]\r\n"
              "1.000e+00 (zero level)\t1\t1980-01-01 01:00:00\t0.042\t3.000e+00\t0.125\t-\t1"
              "\t7.000e+00\t2.333e+00\t5.556e-02\r\n"
              "1.000e+00 (zero level)\t2\t1980-01-01 05:00:00\t0.208\t3.000e+00\t0.042\t0.042"
              "\t1\t3.000e+00\t3.000e+00\t0.000e+00\r\n"
              "2.500e+00\t1\t1980-01-01 02:00:00\t0.083\t3.000e+00\t0.042\t-\t1\t3.000e+00"
              "\t3.000e+00\t0.000e+00\r\n"
              "2.500e+00\t2\t1980-01-01 05:00:00\t0.208\t3.000e+00\t0.042\t0.083\t1\t3.000e+00"
              "\t3.000e+00\t0.000e+00\r\n");
}

TEST(EventsTable, OtherUnitAndNoEventsGiveTitleLineAlone) {
    AnalysisSettings settings;
    settings.unitName = "ng/L";
    settings.unitFactor = 1000000.0f;
    settings.thresholdLevels = {5.0};
    const auto analyses = Detect(Hourly(3), {0, 1, 0}, settings.thresholdLevels);
    EXPECT_EQ(EventsTableText(settings, analyses),
              "Threshold conc. [Unit: ng/L; Factor: 1e+06]\tEvent no.\tStart date & time"
              "\tt [days]\tMax.conc. [Unit: ng/L; Factor: 1e+06]\tDuration [days]"
              "\tInterval [days]\tNo. extrema\tAUC [Unit: h*ng/L; Factor: 1e+06]"
              "\tTWAC-event [Unit: ng/L; Factor: 1e+06]"
              "\tTWAC-background [Unit: ng/L; Factor: 1e+06]\r\n");
}

}  // namespace
}  // namespace kivo
