#include "engine/preprocessing/conversion_frame.h"

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/preprocessing/conversions.h"
#include "tests/engine/preprocessing/conversion_fixture.h"

namespace kivo::test {
namespace {

using ConversionFrameTest = ConversionTest;
namespace fs = std::filesystem;

TEST_F(ConversionFrameTest, WritesOneListedSeriesPerEntryInTheOutputDirectory) {
    state.ConcentrationFiles = {"stale.con"};
    AddInput("segments.cwa", 1);
    AddInput("segments.cwa", 5);
    ASSERT_EQ(ConvertCwaFiles(state), 0);

    EXPECT_EQ(fs::current_path(), fs::canonical(output.Path()));
    EXPECT_EQ(state.ConcentrationFiles,
              (std::vector<std::string>{"segments_seg1.con", "segments_seg5.con"}));
    EXPECT_EQ(console.str(),
              "Preprocessing file:\tsegments.cwa\nPreprocessing file:\tsegments.cwa\n");
    EXPECT_EQ(Rows("segments_seg1.con", "segments.cwa", 1).front(),
              "01-Jan-1980-00h00\t0.000\t0.0015");
    EXPECT_EQ(Rows("segments_seg5.con", "segments.cwa", 5).front(),
              "01-Jan-1980-00h00\t0.000\t2.5");
}

TEST_F(ConversionFrameTest, MissingOutputDirectoryLeavesTheSeriesInTheCurrentDirectory) {
    fs::current_path(output.Path());
    state.settings.outputDirectory = output.File("absent");
    AddInput("segments.cwa", 5);
    ASSERT_EQ(ConvertCwaFiles(state), 0);
    EXPECT_EQ(Rows("segments_seg5.con", "segments.cwa", 5).size(), 5u);
}

TEST_F(ConversionFrameTest, FileErrorsEndTheRunAndKeepWhatWasWritten) {
    struct ErrorCase {
        const char* name;
        std::vector<std::string> inputs;
        const char* blockingDirectory;  // makes this output name impossible to create
        const char* message;
    };
    const ErrorCase cases[] = {
        {"missing input after a converted one",
         {"segments.cwa", "missing.cwa"},
         nullptr,
         "Error while reading file \"missing.cwa\"!"},
        {"output cannot be created",
         {"segments.cwa"},
         "segments_seg1.con",
         "Error while writing file \"segments_seg1.con\"!"},
        {"both",
         {"missing.cwa"},
         "missing_seg1.con",
         "Error while reading file \"missing.cwa\"!Error while writing file "
         "\"missing_seg1.con\"!"},
    };
    for (const ErrorCase& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir directory;
        state.settings.outputDirectory = directory.Path().string();
        if (c.blockingDirectory) fs::create_directory(directory.Path() / c.blockingDirectory);
        state.settings.inputFiles.clear();
        for (const std::string& input : c.inputs) AddInput(input, 1);

        EXPECT_EQ(FatalMessage([&] { return ConvertCwaFiles(state); }), c.message);
        EXPECT_EQ(state.ConcentrationFiles.size(), c.inputs.size());
        if (c.inputs.back() == "missing.cwa" && !c.blockingDirectory) {
            EXPECT_EQ(ReadFile(directory.File("missing_seg1.con")),
                      ConcentrationHeaderText(state.settings, "missing.cwa", 1));
            EXPECT_NE(ReadFile(directory.File("segments_seg1.con")).find("\t0.0015\r\n"),
                      std::string::npos);
        }
        fs::current_path(output.Path());  // leave the directory before it is removed
    }
}

TEST(ConversionNumbersTest, LeadingNumberReadsThePrefixAndWholeNumberTheWholeText) {
    struct NumberCase {
        const char* text;
        double leading;
        bool whole;
    };
    const NumberCase cases[] = {
        {"1.5E-03", 0.0015, true}, {"0.000000E+00", 0.0, true}, {"+2", 2.0, true},
        {"-2.5", -2.5, true},      {".5", 0.5, true},           {"12.5abc", 12.5, false},
        {"1e", 1.0, false},        {"abc", 0.0, false},         {"", 0.0, false},
        {"inf", 0.0, false},       {"nan", 0.0, false},         {"1e999", HUGE_VAL, false},
        {"+-1", 0.0, false},       {"n/a", 0.0, false},
    };
    for (const NumberCase& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(LeadingNumber(c.text), c.leading);
        double value = 0.0;
        EXPECT_EQ(ParseWholeNumber(c.text, value), c.whole);
    }
}

}  // namespace
}  // namespace kivo::test
