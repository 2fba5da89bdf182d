#include "common/settings_format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <set>

#include "common/code_tables.h"
#include "tests/test_support.h"

namespace kivo {
namespace {

/// Files and directories that exist for the reader; everything else does not.
SettingsFileSystem FakeFileSystem() {
    static const std::set<std::string> files = {"known.con",
                                                "known.cwa",
                                                "C:\\Data\\x.con",
                                                "C:\\Runs\\D1_ditch.out",
                                                "C:\\Runs\\R1_stream.out",
                                                "/runs/series.con"};
    static const std::set<std::string> directories = {"out", "C:\\Results"};
    return {[](const std::string& path) { return files.count(path) > 0; },
            [](const std::string& path) { return directories.count(path) > 0; }};
}

struct ReadResult {
    std::string messages;
    SettingsFileValues values;
};

ReadResult Read(const std::string& text, SettingsDialect dialect = SettingsDialect::Engine,
                const SettingsFileValues& previous = {}) {
    ReadResult result;
    result.values = SettingsStartValues(dialect, previous);
    result.messages = ReadSettingsText(text, dialect, result.values, FakeFileSystem());
    return result;
}

// Three lines that satisfy the final checks, for cases about other lines.
const std::string kValidBase =
    "DATA_SOURCE: conc_data\nTHRESHOLD_CONCENTRATION_LEVEL: 1\nINPUT_FILE: known.con\n";

TEST(SettingsReader, MessagesOfTheEngine) {
    struct Case {
        const char* name;
        std::string text;
        std::string messages;
    };
    const Case cases[] = {
        {"only comments and empty lines", "# a\n\n#KEY: value\n\n",
         "- No threshold levels defined!\n- No input files defined!\n"},
        {"valid file", kValidBase, ""},
        {"space before # is no comment", kValidBase + " # LOQ: -1\n", ""},
        {"space before # without colon", kValidBase + " # note\n",
         "- Line 4 is not a setting (no colon): \" # note\"\n"},
        {"line of spaces", kValidBase + "   \n", "- Line 4 is not a setting (no colon): \"   \"\n"},
        {"key in lower case ignored", kValidBase + "data_source: bogus\n", ""},
        {"unknown key ignored", kValidBase + "COLOUR: red\n", ""},
        {"tab after value kept", kValidBase + "DATA_SOURCE:toxswa_data\t\n",
         "- Unknown analysis type \"toxswa_data\t\"\n"},
        {"unknown evaluation period", kValidBase + "EVALUATION_PERIOD: full\n",
         "- Unknown evaluation period \"full\"\n"},
        {"negative period days",
         kValidBase + "EVALUATION_PERIOD_START: -1\nEVALUATION_PERIOD_END: -5\n",
         "- Invalid evaluation period start \"-1\"\n- Invalid evaluation period end \"-5\"\n"},
        {"negative LOQ", kValidBase + "LOQ: -1e-3\n", "- Invalid LOQ value \"-1e-3\"\n"},
        {"LOQ zero and text", kValidBase + "LOQ: 0\nLOQ: abc\n", ""},
        {"percentile bounds",
         kValidBase + "USER_DEFINED_PERCENTILE: 0\nUSER_DEFINED_PERCENTILE: 100\n"
                      "USER_DEFINED_PERCENTILE: -1\nUSER_DEFINED_PERCENTILE: 101\n",
         "- Invalid user defined percentile \"-1\"\n- Invalid user defined percentile \"101\"\n"},
        {"window size", kValidBase + "USER_DEFINED_WINDOW_SIZE: 0\nUSER_DEFINED_WINDOW_SIZE: -1\n",
         "- Invalid user defined window size \"-1\"\n"},
        {"missing output directory", kValidBase + "OUTPUT_DIRECTORY: nowhere\n",
         "- Warning: Output directory \"nowhere\" not found\n"},
        {"existing output directory", kValidBase + "OUTPUT_DIRECTORY: out\n", ""},
        {"equal user defined period",
         kValidBase + "EVALUATION_PERIOD: user_defined\nEVALUATION_PERIOD_START: 10\n"
                      "EVALUATION_PERIOD_END: 10\n",
         "- Incorrect evaluation period start and end defined!\n"},
        {"start after end accepted",
         kValidBase + "EVALUATION_PERIOD: user_defined\nEVALUATION_PERIOD_START: 100\n"
                      "EVALUATION_PERIOD_END: 10\n",
         ""},
        {"equal period while complete",
         kValidBase + "EVALUATION_PERIOD_START: 10\nEVALUATION_PERIOD_END: 10\n", ""},
        {"input file name missing", kValidBase + "INPUT_FILE:   \n",
         "- Input file name missing in line 4\n"},
        {"missing input file", kValidBase + "INPUT_FILE: gone.con\n",
         "- Warning: Input file \"gone.con\" not found\n"},
        {"segment not given", "THRESHOLD_CONCENTRATION_LEVEL: 1\nINPUT_FILE: known.cwa\n",
         "- Segment for input file \"known.cwa\" not given\n"},
        {"segment zero", "THRESHOLD_CONCENTRATION_LEVEL: 1\nINPUT_FILE: known.cwa, segment=0\n",
         "- Segment \"0\" input file \"known.cwa\" is invalid\n"
         "- Segment for input file \"known.cwa\" not given\n"},
        {"segment text", "THRESHOLD_CONCENTRATION_LEVEL: 1\nINPUT_FILE: known.cwa, segment=abc\n",
         "- Segment \"abc\" input file \"known.cwa\" is invalid\n"
         "- Segment for input file \"known.cwa\" not given\n"},
        {"segment with a missing file",
         "THRESHOLD_CONCENTRATION_LEVEL: 1\nINPUT_FILE: gone.cwa ,segment=-2\n",
         "- Segment \"-2\" input file \"gone.cwa\" is invalid\n"
         "- Segment for input file \"gone.cwa\" not given\n"
         "- Warning: Input file \"gone.cwa\" not found\n"},
        {"input above the data source needs a segment",
         "INPUT_FILE: known.con\nDATA_SOURCE: conc_data\nTHRESHOLD_CONCENTRATION_LEVEL: 1\n",
         "- Segment for input file \"known.con\" not given\n"},
        {"rejected data source keeps the earlier one",
         "DATA_SOURCE: conc_data\nDATA_SOURCE: cwa\nINPUT_FILE: known.con\n"
         "THRESHOLD_CONCENTRATION_LEVEL: 1\n",
         "- Unknown analysis type \"cwa\"\n"},
        {"second data source holds from its line",
         "DATA_SOURCE: conc_data\nINPUT_FILE: known.con\nDATA_SOURCE: toxswa_out_data\n"
         "INPUT_FILE: known.con\nTHRESHOLD_CONCENTRATION_LEVEL: 1\n",
         "- Segment for input file \"known.con\" not given\n"},
        {"warning lines count as problems and keep their order",
         "LOQ: -1\nOUTPUT_DIRECTORY: nowhere\nEVALUATION_PERIOD: user_defined\n",
         "- Invalid LOQ value \"-1\"\n- Warning: Output directory \"nowhere\" not found\n"
         "- Incorrect evaluation period start and end defined!\n"
         "- No threshold levels defined!\n- No input files defined!\n"},
        {"unit lines give no message in the engine",
         kValidBase + "UNIT_ID: x\nUNIT_NAME: ng/L\nUNIT_FACTOR: abc\nHOUR_SELECTION: odd\n", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Read(c.text).messages, c.messages) << c.name;
    }
}

TEST(SettingsReader, LineEndsAndEndOfTextByte) {
    const std::string crlf =
        "DATA_SOURCE: conc_data\r\nTHRESHOLD_CONCENTRATION_LEVEL: 0.5\r\nINPUT_FILE: known.con\r\n";
    ReadResult result = Read(crlf + "\x1A" + "LOQ: -1\r\nINPUT_FILE: gone.con\r\n");
    EXPECT_EQ(result.messages, "");
    EXPECT_EQ(result.values.analysis.inputFiles.size(), 1u);
    EXPECT_EQ(result.values.analysis.thresholdLevels, std::vector<double>{0.5});
    // A last line without a line end counts too.
    EXPECT_EQ(Read(kValidBase + "LOQ: 2").values.analysis.loq, 2.0);
}

TEST(SettingsReader, FieldsOfTheEngine) {
    ReadResult result = Read(
        "  SUBSTANCE_SELECTION: Early\n"
        "HOUR_SELECTION: HALF\n"
        "DATA_SOURCE:conc_data\n"
        "  INPUT_FILE :  C:\\Data\\x.con, segment=4\n"
        "INPUT_FILE: known.con,extra\n"
        "THRESHOLD_CONCENTRATION_LEVEL: -0.5\n"
        "THRESHOLD_CONCENTRATION_LEVEL: abc\n"
        "THRESHOLD_CONCENTRATION_LEVEL: 0.15\n"
        "THRESHOLD_CONCENTRATION_LEVEL: 0.15\n"
        "USER_DEFINED_PERCENTILE: 95.7\n"
        "USER_DEFINED_PERCENTILE: 101\n"
        "USER_DEFINED_WINDOW_SIZE: 7days\n"
        "LOQ: 1.5E-3\n"
        "OUTPUT_DIRECTORY: out\n"
        "DATA_SOURCE: toxswa_out_data\n"
        "SUBSTANCE_SELECTION: Late\n"
        "UNIT_NAME: \xB5g/L\n"
        "UNIT_FACTOR: 1.5e3\n"
        "EVALUATION_PERIOD: user_defined\n"
        "EVALUATION_PERIOD_START: 20\n"
        "EVALUATION_PERIOD_END: 300.9\n");
    EXPECT_EQ(result.messages, "- Invalid user defined percentile \"101\"\n");
    const AnalysisSettings& settings = result.values.analysis;
    EXPECT_EQ(settings.dataSource, toxswa_out_data);
    ASSERT_EQ(settings.inputFiles.size(), 2u);
    EXPECT_EQ(settings.inputFiles[0].fileName, "C:\\Data\\x.con");
    EXPECT_EQ(settings.inputFiles[0].segment, -1);
    EXPECT_EQ(settings.inputFiles[1].fileName, "known.con");
    EXPECT_EQ(settings.thresholdLevels, (std::vector<double>{-0.5, 0.0, 0.15, 0.15}));
    EXPECT_EQ(settings.userPercentile, 95);
    EXPECT_EQ(settings.userWindowSize, 7);
    EXPECT_EQ(settings.loq, 1.5e-3);
    EXPECT_EQ(settings.outputDirectory, "out");
    EXPECT_EQ(settings.substanceSelection, "Late");
    EXPECT_EQ(settings.hourSelection, "");  // its line stood above DATA_SOURCE
    EXPECT_EQ(settings.unitName, "\xB5g/L");
    EXPECT_EQ(settings.unitFactor, 1500.0f);
    EXPECT_EQ(settings.evaluationPeriod, user_defined);
    EXPECT_EQ(settings.periodStart, 20);
    EXPECT_EQ(settings.periodEnd, 300);
}

TEST(SettingsReader, EngineTakesSelectionsOnlyForTheirDataSource) {
    struct Case {
        const char* dataSource;
        const char* substance;
        const char* hour;
    };
    const Case cases[] = {
        {"toxswa_data", "", ""},
        {"conc_data", "", ""},
        {"toxswa_out_data", "Subst", "half-past"},
        {"toxswa_out_data_553", "Subst", ""},
    };
    for (const Case& c : cases) {
        ReadResult result = Read(std::string("DATA_SOURCE: ") + c.dataSource +
                                 "\nSUBSTANCE_SELECTION: Subst\nHOUR_SELECTION: half-past\n");
        EXPECT_EQ(result.values.analysis.substanceSelection, c.substance) << c.dataSource;
        EXPECT_EQ(result.values.analysis.hourSelection, c.hour) << c.dataSource;
    }
}

TEST(SettingsReader, RejectedValueKeepsTheLastValidOne) {
    ReadResult result = Read(kValidBase +
                             "LOQ: 0.25\nLOQ: -1\nUSER_DEFINED_WINDOW_SIZE: 14\n"
                             "USER_DEFINED_WINDOW_SIZE: -3\nEVALUATION_PERIOD: user_defined\n"
                             "EVALUATION_PERIOD: both\nEVALUATION_PERIOD_START: 5\n"
                             "OUTPUT_DIRECTORY: out\nOUTPUT_DIRECTORY: nowhere\n");
    const AnalysisSettings& settings = result.values.analysis;
    EXPECT_EQ(settings.loq, 0.25);
    EXPECT_EQ(settings.userWindowSize, 14);
    EXPECT_EQ(settings.evaluationPeriod, user_defined);
    EXPECT_EQ(settings.outputDirectory, "nowhere");  // set although it does not exist
}

TEST(SettingsReader, FullReportForAFileWithSeveralProblems) {
    const std::string text =
        "# settings\r\n"
        "  DATA_SOURCE: toxswa_cwa\r\n"
        "  INPUT_FILE: C:\\Data\\x.con\r\n"
        "  LOQ: -0.1\r\n"
        "just words\r\n"
        "  INPUT_FILE:\r\n";
    const std::string messages = Read(text).messages;
    EXPECT_EQ(SettingsErrorReport("/home/me/run.kvo", messages),
              "The following error(s) occurred while reading file \"/home/me/run.kvo\":\n"
              "\n"
              "- Unknown analysis type \"toxswa_cwa\"\n"
              "- Segment for input file \"C:\\Data\\x.con\" not given\n"
              "- Invalid LOQ value \"-0.1\"\n"
              "- Line 5 is not a setting (no colon): \"just words\"\n"
              "- Input file name missing in line 6\n"
              "- No threshold levels defined!\n");
}

SettingsFileValues FrontEndUnits(int unitId, const std::string& name, float factor) {
    SettingsFileValues previous;
    previous.unitId = unitId;
    previous.analysis.unitName = name;
    previous.analysis.unitFactor = factor;
    previous.hourIndex = 1;
    previous.analysis.substanceSelection = "Old";
    previous.analysis.dataSource = conc_data;
    return previous;
}

TEST(SettingsReader, FrontEndStartValues) {
    SettingsFileValues start =
        SettingsStartValues(SettingsDialect::FrontEnd, FrontEndUnits(2, "ng/L", 1e6f));
    EXPECT_EQ(start.analysis.dataSource, toxswa_out_data_553);
    EXPECT_EQ(start.hourIndex, 0);
    EXPECT_EQ(start.analysis.substanceSelection, "");
    EXPECT_EQ(start.unitId, 2);
    EXPECT_EQ(start.analysis.unitName, "ng/L");
    EXPECT_EQ(start.analysis.unitFactor, 1e6f);
    // Without any unit line the unit settings in effect stay.
    ReadResult result = Read(kValidBase, SettingsDialect::FrontEnd, FrontEndUnits(1, "x", 3.0f));
    EXPECT_EQ(result.values.unitId, 1);
    EXPECT_EQ(result.values.analysis.unitName, "x");
    EXPECT_EQ(result.values.analysis.unitFactor, 3.0f);
}

TEST(SettingsReader, FrontEndMessages) {
    struct Case {
        const char* name;
        std::string text;
        std::string messages;
    };
    const Case cases[] = {
        {"input above the data source judged with toxswa_out_data_553",
         "INPUT_FILE: known.con\n" + kValidBase,
         "- Segment for input file \"known.con\" not given\n"},
        {"hour selection for every data source", kValidBase + "HOUR_SELECTION: half\n",
         "- No valid time was selected; FULL and HALF are allowed\n"},
        {"unit id not a whole number", kValidBase + "UNIT_ID: 1.0\nUNIT_ID: one\n",
         "- No valid unit selection!\n- No valid unit selection!\n"},
        {"unit id out of range", kValidBase + "UNIT_ID: 3\nUNIT_ID: -1\n",
         "Unit selection invalid; only 0, 1 and 2 are allowed!\n"
         "Unit selection invalid; only 0, 1 and 2 are allowed!\n"},
        {"factor not a number", kValidBase + "UNIT_ID: 2\nUNIT_FACTOR: abc\nUNIT_FACTOR: 1,5\n",
         "- No valid conversion factor!\n- No valid conversion factor!\n"},
        {"factor ignored without custom unit", kValidBase + "UNIT_ID: 1\nUNIT_FACTOR: abc\n", ""},
        {"shared messages", kValidBase + "LOQ: -2\n", "- Invalid LOQ value \"-2\"\n"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Read(c.text, SettingsDialect::FrontEnd).messages, c.messages) << c.name;
    }
}

TEST(SettingsReader, FrontEndUnitAndHourFields) {
    struct Case {
        const char* name;
        int previousUnitId;
        std::string lines;
        int unitId;
        const char* unitName;
        float unitFactor;
    };
    const Case cases[] = {
        {"custom unit after UNIT_ID 2", 0, "UNIT_ID: 2\nUNIT_NAME: ng/L\nUNIT_FACTOR: 1.5e6\n", 2,
         "ng/L", 1.5e6f},
        {"unit lines above UNIT_ID taken when custom before", 2,
         "UNIT_NAME: ng/L\nUNIT_FACTOR: 0.1\nUNIT_ID: 1\n", 1, "ng/L", 0.1f},
        {"unit lines above UNIT_ID ignored otherwise", 0,
         "UNIT_NAME: ng/L\nUNIT_FACTOR: 0.1\nUNIT_ID: 2\n", 2, "old", 7.0f},
        {"unit lines ignored for a named unit", 2, "UNIT_ID: 1\nUNIT_NAME: ng/L\n", 1, "old", 7.0f},
        {"rejected unit id keeps the choice", 2, "UNIT_ID: 5\nUNIT_NAME: ng/L\n", 2, "ng/L", 7.0f},
        {"rejected factor keeps the factor", 2, "UNIT_FACTOR: 2x\n", 2, "old", 7.0f},
    };
    for (const Case& c : cases) {
        ReadResult result = Read(kValidBase + c.lines, SettingsDialect::FrontEnd,
                                 FrontEndUnits(c.previousUnitId, "old", 7.0f));
        EXPECT_EQ(result.values.unitId, c.unitId) << c.name;
        EXPECT_EQ(result.values.analysis.unitName, c.unitName) << c.name;
        EXPECT_EQ(result.values.analysis.unitFactor, c.unitFactor) << c.name;
    }
    ReadResult hour = Read(kValidBase + "HOUR_SELECTION: HALF\nSUBSTANCE_SELECTION: S\n",
                           SettingsDialect::FrontEnd);
    EXPECT_EQ(hour.values.hourIndex, 1);
    EXPECT_EQ(hour.values.analysis.substanceSelection, "");  // conc_data takes no substance
}

TEST(SettingsNumbers, WholeNumbersReadLikeAtol) {
    const std::pair<const char*, long> cases[] = {
        {"abc", 0},
        {"", 0},
        {"95.5", 95},
        {"  -12x", -12},
        {"\t7", 7},
        {"+3", 3},
        {"- 5", 0},
        {"0010", 10},
        {"99999999999", INT32_MAX},
        {"-99999999999", INT32_MIN},
    };
    for (const auto& [text, expected] : cases) EXPECT_EQ(ParseWholeNumber(text), expected) << text;
}

TEST(SettingsNumbers, DecimalNumbersReadLikeAtofInTheCLocale) {
    const std::pair<const char*, double> cases[] = {
        {"abc", 0.0}, {"1.5e3", 1500.0}, {"-.5", -0.5},   {".5", 0.5}, {"1e", 1.0},
        {"1,5", 1.0}, {" 2E-2x", 0.02},  {"+4", 4.0},     {".", 0.0},  {"inf", 0.0},
        {"nan", 0.0}, {"0x10", 0.0},     {"1e-999", 0.0}, {"3.", 3.0}, {"--1", 0.0},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(ParseDecimalNumber(text), expected) << text;
    }
    EXPECT_EQ(ParseDecimalNumber("1e-99999999999999999999"), 0.0);
    // Too large for a double, however the exponent is written: infinite, as from atof.
    for (const char* text : {"1e999", "1E+400", "1e99999999999999999999", "0.001e+312"}) {
        EXPECT_EQ(ParseDecimalNumber(text), std::numeric_limits<double>::infinity()) << text;
    }
    EXPECT_EQ(ParseDecimalNumber("-1e999"), -std::numeric_limits<double>::infinity());
    EXPECT_EQ(ParseDecimalNumber("-1e+400"), -std::numeric_limits<double>::infinity());
}

TEST(SettingsWriter, ScientificForm) {
    const std::pair<double, const char*> cases[] = {
        {1e-10, "1.000000e-10"},
        {0.15, "1.500000e-01"},
        {1000.0, "1.000000e+03"},
        {0.0, "0.000000e+00"},
        {-2.5, "-2.500000e+00"},
        {1.23456789e123, "1.234568e+123"},
        {static_cast<double>(0.1f), "1.000000e-01"},
    };
    for (const auto& [value, text] : cases) EXPECT_EQ(SettingsScientific(value), text);
}

SettingsFileValues WorkedExample() {
    SettingsFileValues values;
    AnalysisSettings& settings = values.analysis;
    settings.dataSource = toxswa_out_data_553;
    settings.evaluationPeriod = complete;
    settings.periodEnd = 365;
    settings.loq = 1e-10;
    settings.thresholdLevels = {0.15, 0.3};
    settings.userPercentile = 95;
    settings.userWindowSize = 56;
    settings.inputFiles = {{"C:\\Runs\\D1_ditch.out", 10}, {"C:\\Runs\\R1_stream.out", 20}};
    settings.outputDirectory = "C:\\Results";
    settings.substanceSelection = "MySubst";
    settings.unitName = "\xB5g/L";
    settings.unitFactor = 1000.0f;
    values.hourIndex = 0;
    values.unitId = 1;
    return values;
}

TEST(SettingsWriter, WorkedExampleBytes) {
    EXPECT_EQ(SettingsFileText(WorkedExample()),
              test::ReadFile(test::TestDataPath("settings/worked_example.kvo")));
}

TEST(SettingsWriter, OptionalLines) {
    SettingsFileValues values = WorkedExample();
    values.analysis.dataSource = conc_data;
    values.analysis.evaluationPeriod = user_defined;
    values.analysis.periodStart = 0;
    values.analysis.periodEnd = -3;
    values.analysis.outputDirectory.clear();
    values.analysis.thresholdLevels.clear();
    values.analysis.substanceSelection.clear();
    values.analysis.unitFactor = 0.1f;
    values.hourIndex = 1;
    values.unitId = 2;
    const std::string text = SettingsFileText(values);
    auto contains = [&text](const std::string& part) {
        return text.find(part) != std::string::npos;
    };
    EXPECT_TRUE(
        contains("\r\n  EVALUATION_PERIOD: user_defined\r\n  EVALUATION_PERIOD_START: 0\r\n"
                 "  EVALUATION_PERIOD_END: -3\r\n\r\n# LOQ:"));
    EXPECT_TRUE(contains("#   THRESHOLD_CONCENTRATION_LEVEL: 0.50\r\n\r\n\r\n# User"));
    EXPECT_TRUE(
        contains("\r\n\r\n  INPUT_FILE: C:\\Runs\\D1_ditch.out\r\n"
                 "  INPUT_FILE: C:\\Runs\\R1_stream.out\r\n\r\n# Output"));
    EXPECT_TRUE(contains("#   OUTPUT_DIRECTORY: C:\\Data\r\n\r\n\r\n# Substance"));
    EXPECT_TRUE(contains("\r\n  SUBSTANCE_SELECTION: \r\n"));
    EXPECT_TRUE(contains("\r\n  HOUR_SELECTION: HALF\r\n"));
    EXPECT_TRUE(contains("\r\n  UNIT_ID: 2\r\n"));
    EXPECT_TRUE(contains("\r\n  UNIT_FACTOR: 1.000000e-01\r\n\r\n"));
    EXPECT_EQ(text.substr(text.size() - 4), "\r\n\r\n");
}

TEST(SettingsWriter, WrittenFilesReadBackWithoutMessage) {
    SettingsFileValues cwa = WorkedExample();
    cwa.analysis.dataSource = toxswa_data;
    cwa.analysis.inputFiles = {{"known.cwa", 3}};
    cwa.analysis.outputDirectory = "out";
    cwa.analysis.evaluationPeriod = user_defined;
    cwa.analysis.periodStart = 200;
    cwa.analysis.periodEnd = 100;
    cwa.analysis.thresholdLevels = {-1.25e-7, 0.0, 42.0};
    cwa.analysis.loq = 0.0;
    cwa.analysis.userPercentile = 0;
    cwa.analysis.userWindowSize = 0;
    cwa.unitId = 2;
    cwa.analysis.unitName = "ng/L";
    cwa.analysis.unitFactor = 1e6f;
    SettingsFileValues conc = WorkedExample();
    conc.analysis.dataSource = conc_data;
    conc.analysis.inputFiles = {{"known.con", -1}, {"/runs/series.con", -1}};
    conc.analysis.outputDirectory = "out";

    for (const SettingsFileValues& written : {WorkedExample(), cwa, conc}) {
        const std::string text = SettingsFileText(written);
        for (SettingsDialect dialect : {SettingsDialect::Engine, SettingsDialect::FrontEnd}) {
            ReadResult read = Read(text, dialect);
            const AnalysisSettings& a = written.analysis;
            const AnalysisSettings& b = read.values.analysis;
            std::string context = a.inputFiles[0].fileName;
            EXPECT_EQ(read.messages, "") << context;
            EXPECT_EQ(b.dataSource, a.dataSource) << context;
            EXPECT_EQ(b.evaluationPeriod, a.evaluationPeriod) << context;
            if (a.evaluationPeriod == user_defined) {
                EXPECT_EQ(b.periodStart, a.periodStart) << context;
                EXPECT_EQ(b.periodEnd, a.periodEnd) << context;
            }
            EXPECT_EQ(b.loq, a.loq) << context;
            EXPECT_EQ(b.thresholdLevels, a.thresholdLevels) << context;
            EXPECT_EQ(b.userPercentile, a.userPercentile) << context;
            EXPECT_EQ(b.userWindowSize, a.userWindowSize) << context;
            ASSERT_EQ(b.inputFiles.size(), a.inputFiles.size()) << context;
            for (std::size_t i = 0; i < a.inputFiles.size(); ++i) {
                EXPECT_EQ(b.inputFiles[i].fileName, a.inputFiles[i].fileName) << context;
                EXPECT_EQ(b.inputFiles[i].segment, a.inputFiles[i].segment) << context;
            }
            EXPECT_EQ(b.outputDirectory, a.outputDirectory) << context;
            if (dialect == SettingsDialect::Engine || written.unitId == 2) {
                EXPECT_EQ(b.unitName, a.unitName) << context;
                EXPECT_EQ(b.unitFactor, a.unitFactor) << context;
            }
            if (dialect == SettingsDialect::FrontEnd) {
                EXPECT_EQ(read.values.unitId, written.unitId) << context;
                EXPECT_EQ(read.values.hourIndex, written.hourIndex) << context;
            }
            if (a.dataSource == toxswa_out_data_553) {
                EXPECT_EQ(b.substanceSelection, a.substanceSelection) << context;
            }
        }
    }
}

}  // namespace
}  // namespace kivo
