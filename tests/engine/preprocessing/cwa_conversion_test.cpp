#include <string>
#include <vector>

#include "engine/preprocessing/conversions.h"
#include "tests/engine/preprocessing/conversion_fixture.h"

namespace kivo::test {
namespace {

using CwaConversionTest = ConversionTest;

struct CwaCase {
    const char* name;
    int segment;
    int periodStart;  // -1: complete period
    int periodEnd;
    float unitFactor;
    std::vector<std::string> rows;
};

TEST_F(CwaConversionTest, KeepsSegmentAndPeriodAndRewritesConcentrations) {
    const CwaCase cases[] = {
        {"segment 1, complete, factor 1",
         1,
         -1,
         0,
         1.0f,
         {"01-Jan-1980-00h00\t0.000\t0.0015", "02-Jan-1980-00h00\t1.000\t0",
          "03-Jan-1980-00h00\t2.000\t3E-5", "04-Jan-1980-00h00\t3.000\t7",
          "05-Jan-1980-00h00\t4.000\t1E15", "02-Jan-1980-00h00\t1.000\t6"}},
        {"segment 5 written as 05, tabs, factor 0.001 in single precision",
         5,
         -1,
         0,
         0.001f,
         {"01-Jan-1980-00h00\t0.000\t0.00250000011874363",
          "02-Jan-1980-00h00\t1.000\t0.0125000005937181",
          "03-Jan-1980-00h00\t2.000\t-4.00000018998981E-23",
          "04-Jan-1980-00h00\t3.000\t0.00800000037997961",
          "05-Jan-1980-00h00\t4.000\t9.99900047492702E-8"}},
        {"period 1 to 3: both ends kept, the first row beyond the end stops the file",
         1,
         1,
         3,
         1000.0f,
         {"02-Jan-1980-00h00\t1.000\t0", "03-Jan-1980-00h00\t2.000\t0.03",
          "04-Jan-1980-00h00\t3.000\t7000"}},
        {"period 0 to 1, segment 5",
         5,
         0,
         1,
         1.0f,
         {"01-Jan-1980-00h00\t0.000\t2.5", "02-Jan-1980-00h00\t1.000\t12.5"}},
        {"segment without rows", 2, -1, 0, 1.0f, {}},
    };
    for (const CwaCase& c : cases) {
        SCOPED_TRACE(c.name);
        state.settings.inputFiles.clear();
        state.settings.evaluationPeriod = 0;
        if (c.periodStart >= 0) SetPeriod(c.periodStart, c.periodEnd);
        state.settings.unitFactor = c.unitFactor;
        AddInput("segments.cwa", c.segment);
        ASSERT_EQ(ConvertCwaFiles(state), 0);
        const std::string name = "segments_seg" + std::to_string(c.segment) + ".con";
        EXPECT_EQ(Rows(name, "segments.cwa", c.segment), c.rows);
    }
}

TEST_F(CwaConversionTest, RejectsDataLinesThatCannotGiveARow) {
    struct BadCase {
        const char* content;
        const char* reason;
    };
    const BadCase cases[] = {
        {" 01-Jan-1980-00h00 0.000 1 10.0 1.5E-03\r\n", "Line 1: too few fields."},
        {"*\n 01-Jan-1980-00h00 0.000 2 10.0\n 01-Jan-1980-00h00 0.000 1\n",
         "Line 3: too few fields."},
        {" 01-Jan-1980-00h00 0.000 1 10.0 1.5E-03 0\n"
         " 02-Jan-1980-00h00 1.000 1 10.0 n/a 0\n",
         "Line 2: the concentration \"n/a\" is not a number."},
    };
    for (const BadCase& c : cases) {
        SCOPED_TRACE(c.content);
        const std::string input = output.File("bad.cwa");
        WriteFile(input, c.content);
        state.settings.inputFiles.clear();
        AddInput(input, 1);
        EXPECT_EQ(FatalMessage([&] { return ConvertCwaFiles(state); }),
                  "Error while reading file \"" + input + "\"! " + c.reason);
    }
}

TEST_F(CwaConversionTest, ShortLinesOfOtherSegmentsOrBeyondThePeriodAreNoError) {
    const std::string input = output.File("short.cwa");
    WriteFile(input,
              " 01-Jan-1980-00h00 0.000 2 10.0\n"
              " 01-Jan-1980-00h00 0.000 1 10.0 1.5E-03 0\n"
              " 02-Jan-1980-00h00 2.000 1\n");
    SetPeriod(0, 1);
    AddInput(input, 1);
    ASSERT_EQ(ConvertCwaFiles(state), 0);
    EXPECT_EQ(Rows("short_seg1.con", input, 1),
              std::vector<std::string>{"01-Jan-1980-00h00\t0.000\t0.0015"});
}

TEST_F(CwaConversionTest, PeriodBoundsTestTheTimeInFullPrecision) {
    const std::string input = output.File("precise.cwa");
    WriteFile(
        input,
        " 01-Jan-1980-23h59 0.99999999999 1 10.0 1.0 0\n"
        " 02-Jan-1980-00h00 1.000 1 10.0 2.0 0\n"
        " 04-Jan-1980-00h00 3.000 1 10.0 3.0 0\n"
        " 04-Jan-1980-00h01 3.00000000001 2 10.0 4.0 0\n"  // other segment: stops all the same
        " 04-Jan-1980-00h02 3.000 1 10.0 5.0 0\n");
    SetPeriod(1, 3);
    AddInput(input, 1);
    ASSERT_EQ(ConvertCwaFiles(state), 0);
    EXPECT_EQ(
        Rows("precise_seg1.con", input, 1),
        (std::vector<std::string>{"02-Jan-1980-00h00\t1.000\t2", "04-Jan-1980-00h00\t3.000\t3"}));
}

}  // namespace
}  // namespace kivo::test
