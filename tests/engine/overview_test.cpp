#include "engine/overview.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "common/code_tables.h"
#include "tests/test_support.h"

namespace kivo {
namespace {

namespace fs = std::filesystem;

TEST(OverviewReaders, RunIdLocationAndWaterbodyLines) {
    struct Case {
        const char* name;
        std::string (*reader)(const std::string&);
        std::string content;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"run id with trailing space", ReadRunId, "x\r\n* Run ID      :  R1234 \r\nmore\r\n",
         "R1234 "},
        {"run id missing", ReadRunId, "x\n", ""},
        {"run id line too short", ReadRunId, "* Run ID\n", ""},
        {"run id line of nine characters", ReadRunId, "* Run ID:\n", ""},
        {"location with more text", ReadLocation, "* Location   :  D1 (Lanna)\n", "D1"},
        {"location of one character", ReadLocation, "* Location : X\n", "X"},
        {"location line too short", ReadLocation, "* Location\n", ""},
        {"location missing", ReadLocation, "nothing\n", ""},
        {"waterbody", ReadWaterbody, "a\nWaterbody: D4 Pond\n", "D4 Pond"},
        {"waterbody missing", ReadWaterbody, "a\n", "-"},
    };
    test::TempDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::WriteFile(dir.File("f.txt"), c.content);
        EXPECT_EQ(c.reader(dir.File("f.txt")), c.expected);
    }
    for (auto reader : {ReadRunId, ReadLocation, ReadWaterbody}) {
        EXPECT_EQ(reader(dir.File("missing.txt")), "-");
    }
}

TEST(OverviewReaders, ScenarioFromSummaryOrLogFileBesideTheInput) {
    test::TempDir dir;
    EngineState state;
    state.startDirectory = dir.Path().string();
    fs::create_directory(dir.Path() / "runs");
    test::WriteFile(dir.File("runs/D4p_pa.sum"), "* Location: D4\r\n");
    test::WriteFile(dir.File("runs/r.log"), "Waterbody: R1 Stream\r\n");

    struct Case {
        int dataSource;
        const char* input;
        const char* expected;
    };
    for (const Case& c :
         {Case{toxswa_data, "runs/D4p_pa.cwa", "D4 Pond"},
          Case{toxswa_data, "runs/other_d_pa.cwa", " Ditch"},
          Case{toxswa_data, "runs/s_pa.cwa", " Stream"}, Case{toxswa_data, "runs/x_pa.cwa", ""},
          Case{toxswa_data, "a.cwa", ""}, Case{toxswa_out_data_553, "runs/r.out", "R1 Stream"},
          Case{conc_data, "runs/series.con", "-"}, Case{conc_data, "ab", "-"}}) {
        SCOPED_TRACE(c.input);
        state.settings.dataSource = c.dataSource;
        EXPECT_EQ(ScenarioName(state, c.input), c.expected);
    }
}

// Two series of ready concentration files with their result tables in "out".
class OverviewTablesTest : public ::testing::Test {
  protected:
    OverviewTablesTest() : initialDirectory_(fs::current_path()) {
        fs::create_directories(dir_.Path() / "out");
        fs::create_directories(dir_.Path() / "data");
        state_.startDirectory = dir_.Path().string();
        state_.settings.dataSource = conc_data;
        state_.settings.outputDirectory = "out";
    }
    ~OverviewTablesTest() override { fs::current_path(initialDirectory_); }

    void AddSeries(const std::string& inputFile, const std::string& base,
                   const std::string& runIdLine, const std::string& events,
                   const std::string& summary, const std::string& windows) {
        test::WriteFile(dir_.File(inputFile), runIdLine + "01-Jan-1980-00h00\t0\t1\r\n");
        state_.settings.inputFiles.push_back({inputFile, -1});
        state_.ConcentrationFiles.push_back(inputFile);
        const std::vector<std::pair<std::string, const std::string*>> tables = {
            {base + "_events.txt", &events},
            {base + "_event summary.txt", &summary},
            {base + "_moving window summary.txt", &windows}};
        state_.EventsFiles.push_back(tables[0].first);
        state_.EventSummaryFiles.push_back(tables[1].first);
        state_.MovingWindowFiles.push_back(tables[2].first);
        for (const auto& [name, content] : tables) {
            test::WriteFile((dir_.Path() / "out" / name).string(), *content);
        }
    }
    std::string Overview(const char* name) const {
        return test::ReadFile((dir_.Path() / "out" / name).string());
    }

    test::TempDir dir_;
    fs::path initialDirectory_;
    EngineState state_;
};

TEST_F(OverviewTablesTest, JoinsTablesUnderOneTitleLine) {
    AddSeries("data/a.con", "a", "* Run ID : R1\r\n", "E1\tE2\r\ne1\r\n\r\ne2\r\n", "S\r\ns1\r\n",
              "W\r\nw1\r\n");
    AddSeries("b.con", "b", "", "E1\tE2\r\nf1\r\n", "S\r\n", "other title\r\nx1\r\nx2");
    WriteOverviewTables(state_);

    EXPECT_EQ(Overview("Overview_Events.txt"),
              "Scenario\tRun ID\tPath\tE1\tE2\r\n"
              "-\tR1\tdata/\te1\r\n"
              "-\tR1\tdata/\te2\r\n"
              "-\t\t\tf1\r\n");
    EXPECT_EQ(Overview("Overview_EventSummary.txt"),
              "Scenario\tRun ID\tPath\tS\r\n-\tR1\tdata/\ts1\r\n");
    EXPECT_EQ(Overview("Overview_MovingWindowSummary.txt"),
              "Scenario\tRun ID\tPath\tW\r\n"
              "-\tR1\tdata/\tw1\r\n"
              "-\t\t\tx1\r\n"
              "-\t\t\tx2\r\n");
    EXPECT_EQ(fs::current_path(), dir_.Path() / "out");
}

TEST_F(OverviewTablesTest, TableRemovedSinceTheAnalysisIsSkipped) {
    AddSeries("a.con", "a", "", "T\r\nr1\r\n", "T\r\n", "T\r\n");
    AddSeries("b.con", "b", "", "T\r\nr2\r\n", "T\r\n", "T\r\n");
    fs::remove(dir_.Path() / "out" / "a_events.txt");
    WriteOverviewTables(state_);
    EXPECT_EQ(Overview("Overview_Events.txt"), "Scenario\tRun ID\tPath\tT\r\n-\t\t\tr2\r\n");
}

}  // namespace
}  // namespace kivo
