#include "common/concentration_series.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <functional>
#include <random>

#include "common/fatal_error.h"
#include "common/text_lines.h"
#include "tests/test_support.h"

namespace kivo {
namespace {

std::string FatalMessage(const std::function<void()>& action) {
    try {
        action();
    } catch (const FatalError& error) {
        return error.what();
    }
    return "(no error)";
}

std::string ShortestText(double value) {
    char text[64];
    return std::string(text, std::to_chars(text, text + sizeof text, value).ptr);
}

TEST(DateTimeToken, Serials) {
    const std::pair<const char*, double> cases[] = {
        {"31-Dec-1899-00h00", 1.0},
        {"30-Dec-1899-00h00", 0.0},
        {"01-Jan-1900-00h00", 2.0},
        {"01-Mar-1900-00h00", 61.0},  // 1900 is no leap year
        {"01-Jan-1980-06h00", 29221.25},
        {"01-Jan-1980-00h00", 29221.0},
        {"29-Feb-2000-23h59", 36585.0 + 1439.0 / 1440.0},
        {"01-JAN-1990-12h00", 32874.5},
        {"01-jan-1990-12h00", 32874.5},
        {"01-jAn-1990-12h00", 32874.5},
        {"15/Sep/1985/18:30", 31305.0 + 18.5 / 24.0},  // separators are not examined
        {"01-Jan-1980-06h00:00", 29221.25},            // longer tokens are read by position
        {"29-Dec-1899-18h00", -0.25},
    };
    for (const auto& [token, serial] : cases) EXPECT_EQ(ParseDateTimeToken(token), serial) << token;
}

TEST(DateTimeToken, MalformedTokensNameFileLineAndToken) {
    const char* tokens[] = {
        "1-Jan-1980-00h00",  "01-Jax-1980-00h00",
        "32-Jan-1980-00h00", "00-Jan-1980-00h00",
        "30-Feb-1980-00h00", "29-Feb-1900-00h00",
        "31-Apr-1980-00h00", "01-Jan-1980-24h00",
        "01-Jan-1980-00h60", "xx-Jan-1980-00h00",
        "01-Jan-abcd-00h00", "01-Jan-1980-00h-1",
        "01-Jan-0000-00h00", "",
    };
    for (const char* token : tokens) {
        EXPECT_EQ(FatalMessage([&] { ParseDateTimeToken(token, "x.con", 25); }),
                  std::string("Error while reading file \"x.con\"! Line 25: invalid date/time \"") +
                      token + "\".")
            << token;
    }
    EXPECT_EQ(FatalMessage([] { ParseDateTimeToken("32-Jan-1980-00h00"); }),
              "Invalid date/time \"32-Jan-1980-00h00\".");
}

TEST(DateTimeToken, MonthTableFilledOnFirstUse) {
    MonthNumbers().clear();
    EXPECT_EQ(ParseDateTimeToken("01-Dec-1980-00h00"), 29556.0);
    ASSERT_EQ(MonthNumbers().size(), 12u);
    EXPECT_EQ(MonthNumbers().at("jan"), 1);
    EXPECT_EQ(MonthNumbers().at("may"), 5);
    EXPECT_EQ(MonthNumbers().at("dec"), 12);
}

class SeriesFileTest : public ::testing::Test {
  protected:
    std::string Write(const std::string& bytes, const std::string& name = "series.con") {
        const std::string path = dir_.File(name);
        test::WriteFile(path, bytes);
        return path;
    }
    test::TempDir dir_;
};

TEST_F(SeriesFileTest, RowsCommentsAndTokenLayout) {
    const std::string path = Write(
        "# header line one\r\n"
        "#\r\n"
        "01-Jan-1980-00h00\t0\t0.0015\r\n"
        "  # a comment between rows 01-Jan-1980-01h00 9 9\r\n"
        "01-Jan-1980-01h00 0.0416666666666667\t1.5E-5\n"
        "01-Jan-1980-02h00\r\n0.08333333\r\n+2e1\r\n"  // line ends between tokens mean nothing
        "01-Jan-1980-03h00\tabc\t-3\r\n"               // t that is no number reads as 0
        "01-Jan-1980-04h00\t0.1667days\t.5\r\n"
        "#last comment without line end");
    ConcentrationStream in(path);
    ASSERT_TRUE(in.IsOpen());
    std::string token;
    TTimeConcentration row;
    std::vector<int> results;
    std::vector<TTimeConcentration> rows;
    int result = 0;
    while ((result = ReadConcentrationRow(in, token, row)) != 1) {
        results.push_back(result);
        if (result == 0) rows.push_back(row);
    }
    EXPECT_EQ(results, (std::vector<int>{2, 2, 0, 2, 0, 0, 0, 0, 2}));
    ASSERT_EQ(rows.size(), 5u);
    const TTimeConcentration expected[] = {
        {0.0, 0.0015, 29221.0},
        {0.0416666666666667, 1.5e-5, 29221.0 + 1.0 / 24.0},
        {0.08333333, 20.0, 29221.0 + 2.0 / 24.0},
        {0.0, -3.0, 29221.0 + 3.0 / 24.0},
        {0.1667, 0.5, 29221.0 + 4.0 / 24.0},
    };
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].t, expected[i].t) << i;
        EXPECT_EQ(rows[i].concentration, expected[i].concentration) << i;
        EXPECT_EQ(rows[i].dateTime, expected[i].dateTime) << i;
    }
    // The record stays unchanged once no row is left.
    EXPECT_EQ(row.concentration, 0.5);
    EXPECT_TRUE(in.Failed());
    EXPECT_TRUE(in.ReachedEnd());
    EXPECT_EQ(ReadConcentrationRow(in, token, row), 1);
}

TEST_F(SeriesFileTest, EndOfTextByteEndsTheData) {
    const std::string path = Write("01-Jan-1980-00h00\t0\t1\r\n\x1A garbage that is never read");
    EXPECT_EQ(ReadConcentrationFile(path).size(), 1u);
}

TEST_F(SeriesFileTest, MalformedRowsNameFileLineAndText) {
    const std::string row1 = "01-Jan-1980-00h00\t0\t1\r\n";
    const std::pair<std::string, std::string> cases[] = {
        {row1 + "01-Jan-1980-01h00\t0.04", "Line 2: incomplete row \"01-Jan-1980-01h00\"."},
        {row1 + "01-Jan-1980-01h00",  //
         "Line 2: incomplete row \"01-Jan-1980-01h00\"."},
        {row1 + "01-Jan-1980-01h00\t0.04\tabc\r\n", "Line 2: invalid concentration \"abc\"."},
        {row1 + "01-Jan-1980-01h00\t0.04\r\n1.5x\r\n", "Line 3: invalid concentration \"1.5x\"."},
        {row1 + "01-Jan-1980-01h00\t0.04\tinf\r\n", "Line 2: invalid concentration \"inf\"."},
        {row1 + "01-Jan-1980-01h00\t0.04\tnan\r\n", "Line 2: invalid concentration \"nan\"."},
        {row1 + "01-Jan-1980-01h00\t0.04\t1e999\r\n", "Line 2: invalid concentration \"1e999\"."},
        {row1 + "01-Jan-1980-01h00\t0.04\t#1\r\n", "Line 2: invalid concentration \"#1\"."},
        {row1 + "01-Jan-1980-01h00\t0.04\t--1\r\n", "Line 2: invalid concentration \"--1\"."},
        {row1 + "0.04\t1\r\n", "Line 2: invalid date/time \"0.04\"."},
        // Control and 8-bit bytes belong to the token they stand in.
        {row1 + "01-Jan-1980-01h00\t0.04\t1.5\x01x\r\n",
         "Line 2: invalid concentration \"1.5\x01x\"."},
        {row1 + "01-J\xB5n-1980-01h00\t0.04\t1\r\n",
         "Line 2: invalid date/time \"01-J\xB5n-1980-01h00\"."},
    };
    for (const auto& [bytes, detail] : cases) {
        const std::string path = Write(bytes);
        EXPECT_EQ(FatalMessage([&] { ReadConcentrationFile(path, "bad.con"); }),
                  "Error while reading file \"bad.con\"! " + detail)
            << bytes;
    }
}

TEST_F(SeriesFileTest, TinyConcentrationReadsAsItsNearestDouble) {
    const std::string path =
        Write("01-Jan-1980-00h00\t0\t1e-320\r\n01-Jan-1980-01h00\t0\t1e-400\r\n");
    const auto rows = ReadConcentrationFile(path);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_GT(rows[0].concentration, 0.0);
    EXPECT_LT(rows[0].concentration, 1e-300);
    EXPECT_EQ(rows[1].concentration, 0.0);
}

TEST_F(SeriesFileTest, NumbersReadExactlyAsFromChars) {
    // Every way of writing the same kinds of numbers must give the correctly rounded double.
    std::vector<std::string> texts = {"0",
                                      "-0",
                                      "0.0",
                                      "1.",
                                      ".5",
                                      "-.5",
                                      "+7",
                                      "1e5",
                                      "1E+05",
                                      "2.5e-3",
                                      "-1.5E-5",
                                      "0.00250000011874363",
                                      "1e22",
                                      "1e23",
                                      "1e-22",
                                      "1e-23",
                                      "9007199254740993",
                                      "123456789012345678901234567890",
                                      "0.1000000000000000055511151231257827",
                                      "4.9e-324",
                                      "1.7976931348623157e308",
                                      "000000000000000000000123.5"};
    std::mt19937_64 random(12345);
    for (int i = 0; i < 3000; ++i) {
        const double value =
            std::ldexp(static_cast<double>(random() >> 11), static_cast<int>(random() % 120) - 100);
        char text[64];
        texts.emplace_back(text, std::to_chars(text, text + sizeof text, value).ptr);
        texts.emplace_back(text,
                           std::to_chars(text, text + sizeof text, value, std::chars_format::fixed,
                                         static_cast<int>(random() % 18))
                               .ptr);
        texts.emplace_back(
            text, std::to_chars(text, text + sizeof text, value, std::chars_format::scientific,
                                static_cast<int>(random() % 17))
                      .ptr);
    }
    std::string bytes;
    for (const auto& text : texts) bytes += "01-Jan-1980-00h00\t" + text + "\t" + text + "\r\n";
    const auto rows = ReadConcentrationFile(Write(bytes));
    ASSERT_EQ(rows.size(), texts.size());
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const std::string& text = texts[i];
        double expected = 0.0;
        const std::size_t skip = text[0] == '+' ? 1 : 0;
        std::from_chars(text.data() + skip, text.data() + text.size(), expected);
        EXPECT_EQ(rows[i].concentration, expected) << text;
        EXPECT_EQ(rows[i].t, expected) << text;
    }
}

TEST_F(SeriesFileTest, LargeFileAcrossBlockBorders) {
    // About 3 MiB: tokens and line ends meet the block borders at many places.
    std::string bytes = "# header\r\n";
    std::vector<TTimeConcentration> expected;
    const int rowCount = 120000;
    for (int i = 0; i < rowCount; ++i) {
        if (i % 1000 == 999)
            bytes += "# comment " + std::string(static_cast<std::size_t>(i % 37), '-') + "\r\n";
        const double t = i / 24.0;
        const double concentration = 1e-3 * (i % 1013) / 7.0;
        const int hour = i % 24;
        bytes += std::string("01-Jan-1980-") + (hour < 10 ? "0" : "") + std::to_string(hour) +
                 "h00\t" + ShortestText(t) + "\t" + ShortestText(concentration) + "\r\n";
        expected.push_back({t, concentration, 29221.0 + hour / 24.0});
    }
    const std::string path = Write(bytes);
    const auto rows = ReadConcentrationFile(path);
    ASSERT_EQ(rows.size(), expected.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        ASSERT_EQ(rows[i].t, expected[i].t) << i;
        ASSERT_EQ(rows[i].concentration, expected[i].concentration) << i;
        ASSERT_EQ(rows[i].dateTime, expected[i].dateTime) << i;
    }

    // Line numbers stay right deep into the file.
    const std::size_t lastLineStart = bytes.rfind("01-Jan", bytes.size() - 3);
    const std::string broken = bytes.substr(0, lastLineStart) + "01-Jan-1980-00h00\t1\tbad\r\n";
    const long lastLine = 1 + rowCount + rowCount / 1000;
    const std::string brokenPath = Write(broken, "broken.con");
    EXPECT_EQ(FatalMessage([&] { ReadConcentrationFile(brokenPath, "broken.con"); }),
              "Error while reading file \"broken.con\"! Line " + std::to_string(lastLine) +
                  ": invalid concentration \"bad\".");
}

std::string RegularSeries(int rows, double stepDays, const std::string& tailComment = "") {
    std::string bytes = "# KIVO CONCENTRATION FILE\r\n#\r\n";
    for (int i = 0; i < rows; ++i) {
        bytes += "01-Jan-1980-00h00\t" + ShortestText(i * stepDays) + "\t0.5\r\n";
        if (i == 1) bytes += tailComment;
    }
    return bytes;
}

TEST_F(SeriesFileTest, CountStepsPerDay) {
    const std::pair<std::string, int> cases[] = {
        {RegularSeries(100, 0.25), 4},                      // 0.25 .. 1.0 counted, 1.25 stops
        {RegularSeries(200, 1.0 / 24.0), 24},               //
        {RegularSeries(10, 1.0, "# between rows\r\n"), 1},  //
        {RegularSeries(3, 0.25), 2},                        // shorter than a day
        {RegularSeries(1, 0.25), 0},                        //
        {"# only\r\n# comments\r\n", 0},                    //
        {"", 0},                                            //
        {"01-Jan-1980-00h00\t0\t1\r\n"                      //
         "01-Jan-1980-12h00\t0.5\t1\r\n"                    //
         "01-Jan-1980-00h00\t1.00000000000001\t1\r\n",      // the value as read decides
         1},
    };
    for (const auto& [bytes, count] : cases) {
        EXPECT_EQ(CountStepsPerDay(Write(bytes)), count) << bytes.substr(0, 200);
    }
}

TEST_F(SeriesFileTest, UnreadableFilesEndTheRun) {
    const std::string missing = dir_.File("missing.con");
    EXPECT_EQ(FatalMessage([&] { CountStepsPerDay(missing, "missing.con"); }),
              "Error while reading file \"missing.con\"!");
    EXPECT_EQ(FatalMessage([&] { CountStepsPerDay(missing); }),
              "Error while reading file \"" + missing + "\"!");
    EXPECT_EQ(FatalMessage([&] { ReadConcentrationFile(missing, "m.con"); }),
              "Error while reading file \"m.con\"!");
    EXPECT_EQ(FatalMessage([&] { CountStepsPerDay(dir_.Path().string(), "dir"); }),
              "Error while reading file \"dir\"!");
}

AnalysisSettings HeaderSettings(int evaluationPeriod) {
    AnalysisSettings settings;
    settings.evaluationPeriod = evaluationPeriod;
    settings.periodStart = 366;
    settings.periodEnd = 731;
    settings.substanceSelection = "Lindane";
    settings.hourSelection = "12h00";
    settings.unitName = "\xB5g/L";
    settings.unitFactor = 1.0f;
    return settings;
}

TEST(ConcentrationHeader, UserDefinedPeriodHasTwentyThreeLines) {
    const std::string text = ConcentrationHeaderText(HeaderSettings(1), "/runs/ditch.out", 5);
    const auto lines = SplitTextLines(text);
    ASSERT_EQ(lines.size(), 23u);
    const std::string hyphens =
        "# ------------------------------------------------------------------------------------";
    EXPECT_EQ(hyphens.size(), 86u);
    EXPECT_EQ(lines[0], "#                             KIVO CONCENTRATION FILE");
    EXPECT_EQ(lines[1], hyphens);
    EXPECT_EQ(lines[2], "#                       KIVO - Kivoscope");
    EXPECT_EQ(lines[3], "#                                   Version 1.2.0 ");
    EXPECT_EQ(lines[4], hyphens);
    std::string credits;
    for (int i = 5; i <= 10; ++i) {
        EXPECT_EQ(lines[i].substr(0, 5), "#    ") << i;
        credits += std::string(lines[i]) + "\n";
    }
    EXPECT_EQ(credits.find("the KIVO project"), credits.rfind("the KIVO project") - 40) << credits;
    EXPECT_EQ(lines[11], hyphens);
    const std::vector<std::string> rest = {
        "# Analysed source file:               /runs/ditch.out",
        "# Selected evaluation period:         User defined",
        "# Period start (t):                   366",
        "# Period end (t):                     731",
        "# Selected segment of the water body: 5",
        "# Selected substance: Lindane",
        "# Selected time: 12h00",
        "# Selected unit: \xB5g/L",
        "# Selected conversion factor: 1",
        "#",
        "# Date/Time\t\t\tt\t\tConcentration",
    };
    for (std::size_t i = 0; i < rest.size(); ++i) EXPECT_EQ(lines[12 + i], rest[i]);
    // Every line, the last included, ends with CR LF.
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'),
              std::count(text.begin(), text.end(), '\r'));
}

TEST(ConcentrationHeader, CompletePeriodHasTwentyOneLines) {
    AnalysisSettings settings = HeaderSettings(0);
    settings.hourSelection.clear();
    settings.unitName = "ng/L";
    settings.unitFactor = 0.001f;
    const std::string text = ConcentrationHeaderText(settings, "pond.out", 12);
    const auto lines = SplitTextLines(text);
    ASSERT_EQ(lines.size(), 21u);
    EXPECT_EQ(lines[13], "# Selected evaluation period:         Complete");
    EXPECT_EQ(lines[14], "# Selected segment of the water body: 12");
    EXPECT_EQ(lines[16], "# Selected time: ");
    EXPECT_EQ(lines[17], "# Selected unit: ng/L");
    EXPECT_EQ(lines[18], "# Selected conversion factor: 0.001");
}

TEST(ConcentrationHeader, SubstanceLabel) {
    const std::pair<const char*, const char*> cases[] = {
        {"C:/x/abcpa.cwa", "Parent"},
        {"/x/abcm2.cwa", "Metabolite 2"},
        {"/x/run_m1.cwa", "Metabolite 1"},
        {"/x/ABCPA.CWA", "Lindane"},  // the tests are case-sensitive
        {"/x/abcpa.out", "Lindane"},
        {"/x/pa.cwa.d/run.out", "Parent"},  // anywhere in the path
    };
    for (const auto& [path, label] : cases) {
        const std::string text = ConcentrationHeaderText(HeaderSettings(0), path, 1);
        const auto lines = SplitTextLines(text);
        EXPECT_EQ(lines[15], std::string("# Selected substance: ") + label) << path;
    }
}

TEST(ConcentrationHeader, WriterWritesTheSameText) {
    test::TempDir dir;
    TextFileWriter out;
    ASSERT_TRUE(out.Open(dir.File("h.con")));
    WriteConcentrationHeader(out, HeaderSettings(1), "a.cwa", 3);
    ASSERT_TRUE(out.Close());
    EXPECT_EQ(test::ReadFile(dir.File("h.con")),
              ConcentrationHeaderText(HeaderSettings(1), "a.cwa", 3));
}

}  // namespace
}  // namespace kivo
