#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "common/concentration_series.h"
#include "common/fatal_error.h"
#include "engine/console.h"
#include "engine/engine_state.h"
#include "tests/test_support.h"

namespace kivo::test {

/// An engine state that converts into a fresh output directory, with the console captured
/// and the working directory restored afterwards.
class ConversionTest : public ::testing::Test {
  protected:
    void SetUp() override {
        startDirectory_ = std::filesystem::current_path();
        SetConsoleStreams(&console, nullptr);
        state.startDirectory = TestDataPath("toxswa");
        state.settings.outputDirectory = output.Path().string();
        state.settings.substanceSelection = "A";
        state.settings.unitName = "mg/L";
        state.settings.unitFactor = 1.0f;
    }

    void TearDown() override {
        std::filesystem::current_path(startDirectory_);
        SetConsoleStreams(nullptr, nullptr);
    }

    void AddInput(const std::string& fileName, int segment) {
        state.settings.inputFiles.push_back({fileName, segment});
    }

    void SetPeriod(int startDays, int endDays) {
        state.settings.evaluationPeriod = 1;
        state.settings.periodStart = startDays;
        state.settings.periodEnd = endDays;
    }

    /// The data rows of a converted series, after checking that it starts with its header.
    std::vector<std::string> Rows(const std::string& outputName, const std::string& sourcePath,
                                  int segment) const {
        const std::string text = ReadFile(output.File(outputName));
        const std::string header = ConcentrationHeaderText(state.settings, sourcePath, segment);
        EXPECT_EQ(text.substr(0, header.size()), header) << outputName;
        std::vector<std::string> rows;
        std::size_t position = std::min(header.size(), text.size());
        while (position < text.size()) {
            const std::size_t end = text.find("\r\n", position);
            if (end == std::string::npos) {
                ADD_FAILURE() << "last row without CR LF in " << outputName;
                break;
            }
            rows.push_back(text.substr(position, end - position));
            position = end + 2;
        }
        return rows;
    }

    /// The message of the FatalError that `run` ends with; empty when it returns.
    static std::string FatalMessage(const std::function<int()>& run) {
        try {
            run();
        } catch (const FatalError& error) {
            return error.what();
        }
        return {};
    }

    TempDir output;
    EngineState state;
    std::ostringstream console;

  private:
    std::filesystem::path startDirectory_;
};

}  // namespace kivo::test
