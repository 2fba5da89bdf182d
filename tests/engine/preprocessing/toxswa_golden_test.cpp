#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/test_support.h"

namespace kivo::test {
namespace {

struct GoldenCase {
    const char* name;        // folder of the expected files under toxswa/golden
    const char* dataSource;  // DATA_SOURCE value
    const char* input;       // fixture under toxswa, copied beside the settings file
    const char* settings;    // the rest of the INPUT_FILE line and the further settings
    const char* series;      // base name of the series and its tables
};

std::string SettingsText(const GoldenCase& c) {
    return std::string("  DATA_SOURCE: ") + c.dataSource +
           "\r\n  OUTPUT_DIRECTORY: results\r\n  INPUT_FILE: " + c.input + c.settings;
}

TEST(ToxswaGoldenTest, EngineRunGivesTheReviewedSeriesAndTables) {
    const GoldenCase cases[] = {
        {"cwa", "toxswa_data", "golden_d_pa.cwa",
         ", segment=2\r\n"
         "  EVALUATION_PERIOD: complete\r\n"
         "  THRESHOLD_CONCENTRATION_LEVEL: 0.001\r\n"
         "  THRESHOLD_CONCENTRATION_LEVEL: 0.005\r\n"
         "  UNIT_ID: 0\r\n  UNIT_NAME: mg/L\r\n  UNIT_FACTOR: 1\r\n",
         "golden_d_pa_seg2"},
        {"out443", "toxswa_out_data", "golden_443.out",
         ", segment=1\r\n"
         "  EVALUATION_PERIOD: user_defined\r\n"
         "  EVALUATION_PERIOD_START: 0\r\n  EVALUATION_PERIOD_END: 2\r\n"
         "  THRESHOLD_CONCENTRATION_LEVEL: 1\r\n"
         "  THRESHOLD_CONCENTRATION_LEVEL: 5\r\n"
         "  SUBSTANCE_SELECTION: CMPA\r\n  HOUR_SELECTION: HALF\r\n"
         "  UNIT_ID: 1\r\n  UNIT_NAME: \xB5g/L\r\n  UNIT_FACTOR: 1000\r\n",
         "golden_443_seg1"},
        {"out553", "toxswa_out_data_553", "golden_553.out",
         ", segment=2\r\n"
         "  EVALUATION_PERIOD: user_defined\r\n"
         "  EVALUATION_PERIOD_START: 1\r\n  EVALUATION_PERIOD_END: 3\r\n"
         "  THRESHOLD_CONCENTRATION_LEVEL: 0.003\r\n"
         "  THRESHOLD_CONCENTRATION_LEVEL: 0.004\r\n"
         "  SUBSTANCE_SELECTION: CMPA\r\n"
         "  UNIT_ID: 0\r\n  UNIT_NAME: mg/L\r\n  UNIT_FACTOR: 1\r\n",
         "golden_553_seg2"},
    };
    const char* suffixes[] = {".con", "_events.txt", "_event summary.txt",
                              "_moving window summary.txt"};
    for (const GoldenCase& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir run;
        std::filesystem::create_directory(run.Path() / "results");
        WriteFile(run.File(c.input), ReadFile(TestDataPath(std::string("toxswa/") + c.input)));
        WriteFile(run.File("run.kvo"), SettingsText(c));

        const ProcessResult result = RunProgram(KIVO_ENGINE_PROGRAM, {"run.kvo"}, run.File(""));
        ASSERT_EQ(result.exitCode, 0) << result.output;
        for (const char* suffix : suffixes) {
            const std::string name = std::string(c.series) + suffix;
            const std::string expected =
                ReadFile(TestDataPath(std::string("toxswa/golden/") + c.name + "/" + name));
            ASSERT_FALSE(expected.empty()) << name;
            EXPECT_EQ(ReadFile(run.File("results/" + name)), expected) << name;
        }
    }
}

}  // namespace
}  // namespace kivo::test
