#include <string>
#include <vector>

#include "common/file_naming.h"
#include "engine/preprocessing/conversions.h"
#include "tests/engine/preprocessing/conversion_fixture.h"

namespace kivo::test {
namespace {

using OutConversionTest = ConversionTest;

/// Twelve header lines of a 5.5.3 file followed by `dataLines`.
std::string Out553Text(const std::string& dataLines) {
    std::string text;
    for (int line = 0; line < 12; ++line) text += "* header\r\n";
    return text + dataLines;
}

struct OutCase {
    const char* name;
    int version;  // 443 or 553
    const char* hourSelection;
    const char* substance;
    int segment;
    int periodStart;  // -1: complete period
    int periodEnd;
    float unitFactor;
    std::vector<std::string> rows;
};

TEST_F(OutConversionTest, PicksColumnSegmentAndPeriod) {
    const OutCase cases[] = {
        {"4.4.3 FULL: ConLiqWatLayCur_ lines, substring match, t rounded to single precision",
         443,
         "FULL",
         "A",
         3,
         1,
         3,
         1.0f,
         {"01-Jan-1980-23h59\t0.99999999999\t6.000E-03",
          "01-Jan-1980-23h59\t0.99999999999\t7.1E-01", "02-Jan-1980-12h00\t1.500\t0.000E+00",
          "02-Jan-1980-12h00\t1.500\t7.2E-01"}},
        {"4.4.3 other hour: ConLiqWatLay_ lines, 11-character dates completed, factor 0.001",
         443,
         "HALF",
         "A",
         1,
         -1,
         0,
         0.001f,
         {"01-Jan-1980-00h00\t0.000\t0.0025", "01-Jan-1980-23h59\t0.99999999999\t0.001",
          "02-Jan-1980-12h00\t1.500\t0.004", "03-Jan-1980-23h59\t2.99999999999\t0.007",
          "04-Jan-1980-12h00\t3.500\t0.0015", "02-Jan-1980-00h00\t1.000\t0.009"}},
        {"4.4.3 lower-case full and empty substance: every ConLiqWatLay_ line, factor 1000",
         443,
         "full",
         "",
         2,
         0,
         1,
         1000.0f,
         {"01-Jan-1980-00h00\t0.000\t500", "01-Jan-1980-00h00\t0.000\t3000"}},
        {"5.5.3: line 13 is data, FULL ignored, ConLiqWatLayCur_ lines ignored, dates as given",
         553,
         "FULL",
         "A",
         1,
         -1,
         0,
         1.0f,
         {"01-Jan-1980\t0.000\t0.100000E-02", "02-Jan-1980-00h00\t1.000\t0.300000E-02",
          "03-Jan-1980-00h00\t2.000\t0.500000E-02", "04-Jan-1980-00h00\t3.000\t0.700000E-02"}},
        {"5.5.3 empty substance, period end excluded, factor 0.001",
         553,
         "",
         "",
         3,
         1,
         3,
         0.001f,
         {"02-Jan-1980-00h00\t1.000\t1e-09", "03-Jan-1980-00h00\t2.000\t2e-09"}},
    };
    for (const OutCase& c : cases) {
        SCOPED_TRACE(c.name);
        state.settings.inputFiles.clear();
        state.settings.evaluationPeriod = 0;
        if (c.periodStart >= 0) SetPeriod(c.periodStart, c.periodEnd);
        state.settings.substanceSelection = c.substance;
        state.settings.hourSelection = c.hourSelection;
        state.settings.unitFactor = c.unitFactor;
        const std::string input = c.version == 443 ? "run443.out" : "run553.out";
        AddInput(input, c.segment);
        const int result = c.version == 443 ? ConvertOut443Files(state, c.hourSelection)
                                            : ConvertOut553Files(state);
        ASSERT_EQ(result, 0);
        const std::string name =
            StripLastExtension(input) + "_seg" + std::to_string(c.segment) + ".con";
        EXPECT_EQ(Rows(name, input, c.segment), c.rows);
    }
}

TEST_F(OutConversionTest, RowAtThePeriodEndIsSkippedWithoutEndingTheFile) {
    const std::string input = output.File("unordered.out");
    WriteFile(input, Out553Text("0.000 01-Jan-1980-00h00 ConLiqWatLay_A 1.0\r\n"
                                "2.000 03-Jan-1980-00h00 ConLiqWatLay_A 2.0\r\n"
                                "1.000 02-Jan-1980-00h00 ConLiqWatLay_A 3.0\r\n"
                                "2.500 03-Jan-1980-12h00 ConLiqWatLay_A 4.0\r\n"
                                "1.500 02-Jan-1980-12h00 ConLiqWatLay_A 5.0\r\n"));
    SetPeriod(0, 2);
    AddInput(input, 1);
    ASSERT_EQ(ConvertOut553Files(state), 0);
    EXPECT_EQ(Rows("unordered_seg1.con", input, 1),
              (std::vector<std::string>{"01-Jan-1980-00h00\t0.000\t1.0",
                                        "02-Jan-1980-00h00\t1.000\t3.0"}));
}

TEST_F(OutConversionTest, FactorOneCopiesTheValueTextWhateverItHolds) {
    const std::string input = output.File("text.out");
    WriteFile(input, Out553Text("   0.000  01-Jan-1980-00h00  ConLiqWatLay_A  n/a  1.234E-05  \n"));
    AddInput(input, 2);
    AddInput(input, 1);
    ASSERT_EQ(ConvertOut553Files(state), 0);
    EXPECT_EQ(Rows("text_seg2.con", input, 2),
              std::vector<std::string>{"01-Jan-1980-00h00\t0.000\t1.234E-05"});
    EXPECT_EQ(Rows("text_seg1.con", input, 1),
              std::vector<std::string>{"01-Jan-1980-00h00\t0.000\tn/a"});
}

TEST_F(OutConversionTest, FileEndingInItsHeaderGivesTheHeaderAlone) {
    const char* contents[] = {"* one\r\n* two\r\n", "* header\n* header\n* header\n",
                              "* header\n* header\n* header\n* header\n* header\n* header\n"
                              "* header\n* header\n* header\n* header\n* header\n* header\n"
                              "* block\n* block"};
    for (const char* content : contents) {
        SCOPED_TRACE(content);
        const std::string input = output.File("short.out");
        WriteFile(input, content);
        state.settings.inputFiles = {{input, 1}};
        ASSERT_EQ(ConvertOut553Files(state), 0);
        EXPECT_TRUE(Rows("short_seg1.con", input, 1).empty());
    }
}

TEST_F(OutConversionTest, RejectsLinesWithoutAUsableValue) {
    struct BadCase {
        const char* dataLines;
        int segment;
        float unitFactor;
        const char* reason;
    };
    const BadCase cases[] = {
        {"0.000 01-Jan-1980-00h00 ConLiqWatLay_A 1.0 2.0 3.0\n", 4, 1.0f,
         "Line 13: no value for segment 4."},
        {"* unit\n0.000 01-Jan-1980-00h00 ConLiqWatLay_A 1.0\n"
         "1.000 02-Jan-1980-00h00 ConLiqWatLay_A\n",
         1, 1.0f, "Line 15: no value for segment 1."},
        {"0.000 01-Jan-1980-00h00 ConLiqWatLay_A 1.0\n", 0, 1.0f,
         "Line 13: no value for segment 0."},
        {"0.000 01-Jan-1980-00h00 ConLiqWatLay_A 1.0 x2.0\n", 2, 0.001f,
         "Line 13: the value \"x2.0\" of segment 2 is not a number."},
    };
    for (const BadCase& c : cases) {
        SCOPED_TRACE(c.reason);
        const std::string input = output.File("bad.out");
        WriteFile(input, Out553Text(c.dataLines));
        state.settings.inputFiles = {{input, c.segment}};
        state.settings.unitFactor = c.unitFactor;
        EXPECT_EQ(FatalMessage([&] { return ConvertOut553Files(state); }),
                  "Error while reading file \"" + input + "\"! " + c.reason);
    }
}

TEST_F(OutConversionTest, OnlyBlanksSeparateTokensAndAreTrimmed) {
    const std::string input = output.File("tabs.out");
    WriteFile(input,
              Out553Text("\t2.000 03-Jan-1980-00h00 ConLiqWatLay_A 1.0 2.0\n"  // t reads as 0
                         "1.000 02-Jan-1980-00h00 ConLiqWatLay_A 1.0 2.0\t\n"
                         "2.000\t03-Jan-1980-00h00 ConLiqWatLay_A 1.0 2.0 3.0 \n"));
    SetPeriod(1, 3);
    AddInput(input, 2);
    ASSERT_EQ(ConvertOut553Files(state), 0);
    EXPECT_EQ(Rows("tabs_seg2.con", input, 2),
              (std::vector<std::string>{"02-Jan-1980-00h00\t1.000\t2.0\t",
                                        "ConLiqWatLay_A\t2.000\t03-Jan-1980-00h00\t3.0"}));
}

}  // namespace
}  // namespace kivo::test
