#include "engine/analysis_loop.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "common/code_tables.h"
#include "common/concentration_series.h"
#include "common/fatal_error.h"
#include "engine/console.h"
#include "tests/test_support.h"

namespace kivo {
namespace {

namespace fs = std::filesystem;

// A run's surroundings: a start directory with an "out" directory, the console captured
// (no keys to read) and the working directory restored afterwards.
class AnalysisLoopTest : public ::testing::Test {
  protected:
    AnalysisLoopTest() : initialDirectory_(fs::current_path()) {
        fs::create_directory(dir_.Path() / "out");
        SetConsoleStreams(&console_, &keys_);
        state_.startDirectory = dir_.Path().string();
        state_.settings.dataSource = conc_data;
        state_.settings.outputDirectory = "out";
        state_.settings.thresholdLevels = {1.0, 2.5};
        state_.settings.unitName = "mg/L";
        FillMonthNumbers();
    }
    ~AnalysisLoopTest() override {
        SetConsoleStreams(nullptr, nullptr);
        fs::current_path(initialDirectory_);
    }

    void AddSeries(const std::string& name, const std::string& content) {
        test::WriteFile(dir_.File(name), content);
        state_.settings.inputFiles.push_back({name, -1});
        state_.ConcentrationFiles.push_back(name);
    }
    std::string Result(const std::string& name) const {
        return test::ReadFile((dir_.Path() / "out" / name).string());
    }
    std::vector<std::string> ConsoleLines() const {
        std::vector<std::string> lines;
        std::istringstream in(console_.str());
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    }

    test::TempDir dir_;
    fs::path initialDirectory_;
    std::ostringstream console_;
    std::istringstream keys_;
    EngineState state_;
};

const char* kHourlySeries =
    "# Date/Time\t\t\tt\t\tConcentration\r\n"
    "01-Jan-1980-00h00\t0.0000000\t0\r\n"
    "01-Jan-1980-01h00\t0.0416667\t2\r\n"
    "01-Jan-1980-02h00\t0.0833333\t3\r\n"
    "01-Jan-1980-03h00\t0.1250000\t2\r\n"
    "01-Jan-1980-04h00\t0.1666667\t0\r\n";

TEST_F(AnalysisLoopTest, TwoSeriesGetTheirOwnTablesInListOrder) {
    AddSeries("first.con", kHourlySeries);
    AddSeries("second.con", "01-Jan-1980-00h00\t0\t5\n02-Jan-1980-00h00\t1\t0\n");
    EXPECT_EQ(RunAnalysis(state_), 0);

    EXPECT_EQ(ConsoleLines().at(0), "Analysing file:\t\tfirst.con");
    EXPECT_EQ(state_.EventsFiles,
              (std::vector<std::string>{"first_events.txt", "second_events.txt"}));
    EXPECT_EQ(state_.EventSummaryFiles,
              (std::vector<std::string>{"first_event summary.txt", "second_event summary.txt"}));
    EXPECT_EQ(state_.MovingWindowFiles,
              (std::vector<std::string>{"first_moving window summary.txt",
                                        "second_moving window summary.txt"}));
    EXPECT_EQ(fs::current_path(), initialDirectory_);

    const std::string events = Result("first_events.txt");
    EXPECT_NE(events.find("\r\n1.000e+00 (zero level)\t1\t1980-01-01 01:00:00\t0.042\t3.000e+00"
                          "\t0.125\t-\t1\t7.000e+00\t2.333e+00\t5.556e-02\r\n"),
              std::string::npos);
    EXPECT_NE(events.find("\r\n2.500e+00\t1\t1980-01-01 02:00:00\t0.083\t3.000e+00"),
              std::string::npos);
    EXPECT_NE(Result("second_events.txt").find("\r\n1.000e+00 (zero level)\t1\t1980-01-01\t0.000"),
              std::string::npos);
    EXPECT_FALSE(Result("second_event summary.txt").empty());
    EXPECT_FALSE(Result("second_moving window summary.txt").empty());
    const auto lines = ConsoleLines();
    EXPECT_NE(std::find(lines.begin(), lines.end(), "Analysing file:\t\tsecond.con"), lines.end());
}

TEST_F(AnalysisLoopTest, CommentsAndMissingLastLineEndChangeNothing) {
    std::string variant = kHourlySeries;
    variant.insert(variant.find("01-Jan-1980-02h00"), "# a remark\r\n");
    variant.erase(variant.size() - 2);
    AddSeries("plain.con", kHourlySeries);
    AddSeries("variant.con", variant);
    RunAnalysis(state_);
    EXPECT_EQ(Result("plain_events.txt"), Result("variant_events.txt"));
    EXPECT_EQ(Result("plain_event summary.txt"), Result("variant_event summary.txt"));
    EXPECT_EQ(Result("plain_moving window summary.txt"),
              Result("variant_moving window summary.txt"));
}

TEST_F(AnalysisLoopTest, EventRunningAtALastRowWithoutLineEndIsClosed) {
    AddSeries("open.con",
              "01-Jan-1980-00h00\t0\t0\r\n01-Jan-1980-01h00\t0.0416667\t2\r\n"
              "01-Jan-1980-02h00\t0.0833333\t3");
    RunAnalysis(state_);
    EXPECT_NE(Result("open_events.txt")
                  .find("\r\n1.000e+00 (zero level)\t1\t1980-01-01 01:00:00\t0.042\t3.000e+00"
                        "\t0.042\t-\t0\t5.000e+00\t2.500e+00\t4.167e-02\r\n"),
              std::string::npos);
}

TEST_F(AnalysisLoopTest, SettingsSeriesIsReadInPlaceAndNamedByItsFileName) {
    fs::create_directory(dir_.Path() / "data");
    AddSeries("data/series.con", kHourlySeries);
    RunAnalysis(state_);
    EXPECT_EQ(ConsoleLines().at(0), "Analysing file:\t\tdata/series.con");
    EXPECT_EQ(state_.EventsFiles.at(0), "series_events.txt");
    EXPECT_TRUE(fs::exists(dir_.Path() / "out" / "series_event summary.txt"));
}

TEST_F(AnalysisLoopTest, ConvertedSeriesLiesInTheOutputDirectory) {
    state_.settings.dataSource = toxswa_data;
    state_.settings.inputFiles.push_back({"runs/ditch.cwa", 5});
    state_.ConcentrationFiles.push_back("ditch_seg5.con");
    test::WriteFile((dir_.Path() / "out" / "ditch_seg5.con").string(), kHourlySeries);
    fs::current_path(dir_.Path() / "out");
    RunAnalysis(state_);
    EXPECT_EQ(ConsoleLines().at(0), "Analysing file:\t\tout/ditch_seg5.con");
    for (const char* name : {"ditch_seg5_events.txt", "ditch_seg5_event summary.txt",
                             "ditch_seg5_moving window summary.txt"}) {
        EXPECT_TRUE(fs::exists(dir_.Path() / "out" / name)) << name;
    }
}

TEST_F(AnalysisLoopTest, CommentOnlySeriesGivesTitleLinesAndElevenWarnings) {
    AddSeries("empty.con", "# nothing here\r\n#\r\n");
    RunAnalysis(state_);
    EXPECT_EQ(Result("empty_events.txt").find("\r\n"), Result("empty_events.txt").size() - 2);
    EXPECT_EQ(Result("empty_event summary.txt").find("\r\n"),
              Result("empty_event summary.txt").size() - 2);
    const auto lines = ConsoleLines();
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [](const std::string& line) {
                                return line.rfind("WARNING! No data found", 0) == 0;
                            }),
              11);
}

TEST_F(AnalysisLoopTest, SeriesNotAscendingInTimeIsAnalysedAsGiven) {
    AddSeries("backwards.con",
              "01-Jan-1980-03h00\t3\t5\n01-Jan-1980-02h00\t2\t0\n01-Jan-1980-01h00\t1\t4\n"
              "01-Jan-1980-00h00\t0\t4\n");
    EXPECT_EQ(RunAnalysis(state_), 0);
    const std::string events = Result("backwards_events.txt");
    EXPECT_NE(events.find("\t2\t1980-01-01 01:00:00\t1.000\t4.000e+00\t-2.000\t-\t0\t"),
              std::string::npos);
}

TEST_F(AnalysisLoopTest, MissingSeriesEndsTheRunWithoutResults) {
    state_.settings.inputFiles.push_back({"gone.con", -1});
    state_.ConcentrationFiles.push_back("gone.con");
    try {
        RunAnalysis(state_);
        FAIL() << "no error reported";
    } catch (const FatalError& error) {
        EXPECT_STREQ(error.what(), "Error while reading file \"gone.con\"!");
    }
    EXPECT_TRUE(fs::is_empty(dir_.Path() / "out"));
}

TEST_F(AnalysisLoopTest, UnwritableResultFileIsReportedByName) {
    AddSeries("blocked.con", kHourlySeries);
    fs::create_directory(dir_.Path() / "out" / "blocked_event summary.txt");
    try {
        RunAnalysis(state_);
        FAIL() << "no error reported";
    } catch (const FatalError& error) {
        EXPECT_STREQ(error.what(), "Error while saving file 'blocked_event summary.txt'!");
    }
    EXPECT_FALSE(Result("blocked_events.txt").empty());
    EXPECT_EQ(fs::current_path(), initialDirectory_);
}

// Two ready series (daily and six-hourly), three thresholds, user percentile 80 and user
// window 3 days, run by the engine program; every table and the console output are compared
// with reviewed files.
TEST(AnalysisGoldenRun, EngineWritesReviewedTables) {
    test::TempDir dir;
    fs::copy(test::TestDataPath("analysis/input"), dir.Path(), fs::copy_options::recursive);
    fs::create_directory(dir.Path() / "results");

    const test::ProcessResult run =
        test::RunProgram(KIVO_ENGINE_PROGRAM, {"settings.kvo"}, dir.Path().string());
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.output, test::ReadFile(test::TestDataPath("analysis/expected/console.txt")));

    std::vector<std::string> expectedNames;
    for (const auto& entry : fs::directory_iterator(test::TestDataPath("analysis/expected"))) {
        const std::string name = entry.path().filename().string();
        if (name == "console.txt") continue;
        expectedNames.push_back(name);
        EXPECT_EQ(test::ReadFile((dir.Path() / "results" / name).string()),
                  test::ReadFile(entry.path().string()))
            << name;
    }
    EXPECT_EQ(expectedNames.size(), 9u);
    EXPECT_EQ(static_cast<std::size_t>(std::distance(fs::directory_iterator(dir.Path() / "results"),
                                                     fs::directory_iterator())),
              expectedNames.size());
}

}  // namespace
}  // namespace kivo
