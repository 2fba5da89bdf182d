#include "engine/run_driver.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "engine/completion_notice.h"
#include "tests/engine/notice_listener.h"
#include "tests/test_support.h"

namespace kivo {
namespace {

namespace fs = std::filesystem;

const std::string kUsage = " Please start the program as follows: KIVO yoursettings.kvo\n";
const std::string kCompleteEnd = "Analysis complete.\n\nHit any key to close.\n";

/// A start directory with the series fixture, an output directory and a settings file.
class EngineRunTest : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::create_directory(directory.Path() / "out");
        fs::copy_file(test::TestDataPath("driver/series.con"), directory.File("series.con"));
    }

    test::ProcessResult Run(const std::vector<std::string>& arguments) {
        return test::RunProgram(KIVO_ENGINE_PROGRAM, arguments, directory.Path().string());
    }

    std::string WriteSettings(const std::string& name, const std::string& lines) {
        test::WriteFile(directory.File(name), lines);
        return directory.File(name);
    }

    bool OutputExists(const std::string& name) const {
        return fs::exists(directory.Path() / "out" / name);
    }

    test::TempDir directory;
};

const std::string kGoodSettings =
    "  DATA_SOURCE: conc_data\r\n"
    "  THRESHOLD_CONCENTRATION_LEVEL: 1.000000e-01\r\n"
    "  USER_DEFINED_WINDOW_SIZE: 7\r\n"
    "  INPUT_FILE: series.con\r\n"
    "  OUTPUT_DIRECTORY: out\r\n"
    "  UNIT_NAME: mg/L\r\n"
    "  UNIT_FACTOR: 1.000000e+00\r\n";

TEST_F(EngineRunTest, CompleteRunWithReadyConcentrationFiles) {
    const std::string settings = WriteSettings("run.kvo", kGoodSettings);
    test::NoticeListener frontEnd(NoticeSocketPath("KIVO GUI - " + settings));

    test::ProcessResult result = Run({settings});

    EXPECT_EQ(result.exitCode, 0);
    // No preprocessing line with ready files; relative paths count from the start directory.
    EXPECT_EQ(result.output, "Analysing file:\t\tseries.con\n" + kCompleteEnd);
    for (const char* name :
         {"series_events.txt", "series_event summary.txt", "series_moving window summary.txt",
          "Overview_Events.txt", "Overview_EventSummary.txt", "Overview_MovingWindowSummary.txt"}) {
        EXPECT_TRUE(OutputExists(name)) << name;
    }
    std::string notice;
    ASSERT_TRUE(frontEnd.Accept(notice));
    EXPECT_EQ(notice, "1425\n");
    EXPECT_FALSE(frontEnd.Accept(notice));  // told once
}

TEST_F(EngineRunTest, CompleteRunWithNobodyListening) {
    test::ProcessResult result = Run({WriteSettings("alone.kvo", kGoodSettings)});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.output.substr(result.output.size() - kCompleteEnd.size()), kCompleteEnd);
}

TEST_F(EngineRunTest, BadSettingsFileStopsBeforeAnything) {
    const std::string settings = WriteSettings("bad.kvo",
                                               "  DATA_SOURCE: conc_data\r\n"
                                               "  INPUT_FILE: series.con\r\n"
                                               "  INPUT_FILE: missing.con\r\n"
                                               "  OUTPUT_DIRECTORY: out\r\n");
    test::NoticeListener frontEnd(NoticeSocketPath("KIVO GUI - " + settings));

    test::ProcessResult result = Run({settings});

    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.output, "The following error(s) occurred while reading file \"" + settings +
                                 "\":\n\n"
                                 "- Warning: Input file \"missing.con\" not found\n"
                                 "- No threshold levels defined!\n\n");
    EXPECT_TRUE(fs::is_empty(directory.Path() / "out"));
    std::string notice;
    EXPECT_FALSE(frontEnd.Accept(notice));
}

TEST_F(EngineRunTest, CommandLineProblems) {
    struct Case {
        std::vector<std::string> arguments;
        std::string output;
    };
    const Case cases[] = {
        {{}, "No settings file provided!" + kUsage},
        {{"run.kvo", "other.kvo"}, "Too many parameters provided!" + kUsage},
        {{"absent.kvo"}, "Settings file \"absent.kvo\" not found!\n"},
    };
    for (const Case& c : cases) {
        test::ProcessResult result = Run(c.arguments);
        EXPECT_EQ(result.exitCode, 1) << c.output;
        EXPECT_EQ(result.output, c.output);
    }
}

}  // namespace
}  // namespace kivo
