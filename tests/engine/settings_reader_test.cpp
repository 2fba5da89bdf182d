#include "engine/settings_reader.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "common/code_tables.h"
#include "common/fatal_error.h"
#include "tests/test_support.h"

namespace kivo {
namespace {

/// The message with which ReadSettingsFile ends the run; empty when it returns.
std::string FatalMessage(const std::vector<std::string>& arguments, EngineState& state) {
    try {
        EXPECT_EQ(ReadSettingsFile(arguments, state), 0);
    } catch (const FatalError& error) {
        return error.what();
    }
    return {};
}

class ReadSettingsFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::filesystem::create_directory(directory.Path() / "out");
        test::WriteFile(directory.File("series.con"), "01-Jan-1980-00h00\t0\t1\n");
        state.startDirectory = directory.Path().string();
    }

    test::TempDir directory;
    EngineState state;
};

TEST_F(ReadSettingsFileTest, CommandLineAndMissingFile) {
    const std::string usage = " Please start the program as follows: KIVO yoursettings.kvo";
    struct Case {
        std::vector<std::string> arguments;
        std::string message;
    };
    const Case cases[] = {
        {{}, "No settings file provided!" + usage},
        {{"a.kvo", "b.kvo"}, "Too many parameters provided!" + usage},
        {{"absent.kvo"}, "Settings file \"absent.kvo\" not found!"},
        {{"out"}, "Settings file \"out\" not found!"},  // a directory is no settings file
        {{""}, "Settings file \"\" not found!"},
    };
    for (const Case& c : cases) {
        EngineState fresh;
        fresh.startDirectory = state.startDirectory;
        EXPECT_EQ(FatalMessage(c.arguments, fresh), c.message);
    }
}

TEST_F(ReadSettingsFileTest, RelativePathsNameFilesBelowTheStartDirectory) {
    test::WriteFile(directory.File("run.kvo"),
                    "  DATA_SOURCE: conc_data\r\n"
                    "  THRESHOLD_CONCENTRATION_LEVEL: 1.500000e-01\r\n"
                    "  INPUT_FILE: series.con\r\n"
                    "  OUTPUT_DIRECTORY: out\r\n"
                    "  UNIT_NAME: mg/L\r\n"
                    "  UNIT_FACTOR: 1.000000e+00\r\n");
    // The engine may run in another directory; the start directory decides.
    EXPECT_EQ(FatalMessage({"run.kvo"}, state), "");
    EXPECT_EQ(state.settings.settingsFile, "run.kvo");
    EXPECT_EQ(state.settings.dataSource, conc_data);
    ASSERT_EQ(state.settings.inputFiles.size(), 1u);
    EXPECT_EQ(state.settings.inputFiles[0].fileName, "series.con");
    EXPECT_EQ(state.settings.outputDirectory, "out");
    EXPECT_EQ(state.settings.unitFactor, 1.0f);
}

TEST_F(ReadSettingsFileTest, ProblemsEndTheRunWithTheFullReport) {
    const std::string path = directory.File("bad.kvo");
    test::WriteFile(path,
                    "DATA_SOURCE: conc_data\n"
                    "INPUT_FILE: series.con\n"
                    "INPUT_FILE: " +
                        directory.File("nothing.con") +
                        "\n"
                        "OUTPUT_DIRECTORY: series.con\n");
    EXPECT_EQ(FatalMessage({path}, state),
              "The following error(s) occurred while reading file \"" + path +
                  "\":\n\n"
                  "- Warning: Input file \"" +
                  directory.File("nothing.con") +
                  "\" not found\n"
                  "- Warning: Output directory \"series.con\" not found\n"
                  "- No threshold levels defined!\n");
}

TEST_F(ReadSettingsFileTest, UnreadableFileReadsAsEmpty) {
    if (geteuid() == 0) GTEST_SKIP() << "file permissions do not bind the super-user";
    const std::string path = directory.File("locked.kvo");
    test::WriteFile(path, "THRESHOLD_CONCENTRATION_LEVEL: 1\n");
    std::filesystem::permissions(path, std::filesystem::perms::none);
    EXPECT_EQ(FatalMessage({path}, state),
              "The following error(s) occurred while reading file \"" + path +
                  "\":\n\n- No threshold levels defined!\n- No input files defined!\n");
}

}  // namespace
}  // namespace kivo
