#include "engine/conventions.h"

#include <gtest/gtest.h>

namespace kivo {
namespace {

AnalysisSettings UnitSettings(const std::string& unitName, float unitFactor) {
    AnalysisSettings settings;
    settings.unitName = unitName;
    settings.unitFactor = unitFactor;
    return settings;
}

TEST(Conventions, UnitBrackets) {
    struct Case {
        const char* unit;
        float factor;
        const char* bracket;
        const char* aucBracket;
    };
    const Case cases[] = {
        {"mg/L", 0.001f, " [mg/L]", " [h*mg/L]"},
        {"\xB5g/L", 1.0f, " [\xB5g/L]", " [h*\xB5g/L]"},
        {"ng/L", 1000000.0f, " [Unit: ng/L; Factor: 1e+06]", " [Unit: h*ng/L; Factor: 1e+06]"},
        {"MG/L", 1000.0f, " [Unit: MG/L; Factor: 1000]", " [Unit: h*MG/L; Factor: 1000]"},
        {"\xC2\xB5g/L", 0.001f, " [Unit: \xC2\xB5g/L; Factor: 0.001]",
         " [Unit: h*\xC2\xB5g/L; Factor: 0.001]"},  // micro sign spelt in UTF-8
        {"ug/L", 1.0f, " [Unit: ug/L; Factor: 1]", " [Unit: h*ug/L; Factor: 1]"},
        {"", 0.1f, " [Unit: ; Factor: 0.1]", " [Unit: h*; Factor: 0.1]"},
        {"mg/L ", 2.5f, " [Unit: mg/L ; Factor: 2.5]", " [Unit: h*mg/L ; Factor: 2.5]"},
    };
    for (const auto& c : cases) {
        const AnalysisSettings settings = UnitSettings(c.unit, c.factor);
        EXPECT_EQ(UnitBracket(settings), c.bracket) << c.unit;
        EXPECT_EQ(AucUnitBracket(settings), c.aucBracket) << c.unit;
    }
}

TEST(Conventions, ThresholdCell) {
    EXPECT_EQ(ThresholdCell(0.001, true), "1.000e-03 (zero level)");
    EXPECT_EQ(ThresholdCell(0.001, false), "1.000e-03");
    EXPECT_EQ(ThresholdCell(12.5, false), "1.250e+01");
    EXPECT_EQ(ThresholdCell(0.0, true).substr(0, 9), "0.000e+00");
}

TEST(Conventions, IntervalText) {
    const std::pair<double, const char*> cases[] = {
        {-1.0, "-"},
        {12.5, "12.500"},
        {0.0, "0.000"},
        {0.0417, "0.042"},
        {1.0 / 3.0, "0.333"},
        {999999999999999.0, "999999999999999.000"},  // fifteen integer digits stay fixed
        {1e15, "1E15"},
        {2.5e16, "2.5E16"},
    };
    for (const auto& [days, text] : cases) EXPECT_EQ(IntervalText(days), text) << days;
}

TEST(Conventions, DateTimeText) {
    const std::pair<double, const char*> cases[] = {
        {29221.0, "1980-01-01"},
        {29221.25, "1980-01-01 06:00:00"},
        {1.0, "1899-12-31"},
        {2.0, "1900-01-01"},
        {61.0, "1900-03-01"},
        {36585.0 + 1439.0 / 1440.0, "2000-02-29 23:59:00"},
        {0.25, "06:00:00"},
        {0.0, "00:00:00"},
        {0.999999999999, "1899-12-31"},  // rounds to the next whole day
        {-0.25, "18:00:00"},
        // Sums of hourly steps miss the exact value by a little; the nearest millisecond wins.
        {29221.0 + 1.0 / 24.0 - 1e-11, "1980-01-01 01:00:00"},
        {29221.0 + 1.0 / 24.0 + 1e-11, "1980-01-01 01:00:00"},
        {29221.0 + 1e-11, "1980-01-01"},
        {29221.0 + 1.5 / 86400.0, "1980-01-01 00:00:01"},
        {2958465.0, "9999-12-31"},
        // Serials too large for a millisecond count are written as numbers.
        {5e11, "500000000000"},
        {-5e11, "-500000000000"},
    };
    for (const auto& [serial, text] : cases) EXPECT_EQ(DateTimeText(serial), text) << serial;

    double sum = 29221.0;
    for (int hour = 1; hour < 24; ++hour) {
        sum += 1.0 / 24.0;
        const std::string expected =
            std::string("1980-01-01 ") + (hour < 10 ? "0" : "") + std::to_string(hour) + ":00:00";
        EXPECT_EQ(DateTimeText(sum), expected);
    }
}

TEST(Conventions, PercentileLevelsAndLabels) {
    EXPECT_EQ(PercentileLevels(95), (std::vector<int>{10, 25, 50, 75, 90, 95}));
    EXPECT_EQ(PercentileLevels(50), (std::vector<int>{10, 25, 50, 75, 90, 50}));
    EXPECT_EQ(PercentileLabel(10, false), "10th");
    EXPECT_EQ(PercentileLabel(95, true), "95th (user defined)");
    EXPECT_EQ(PercentileLabel(1, true), "1th (user defined)");
    EXPECT_EQ(PercentileLabel(2, false), "2th");
}

TEST(Conventions, Percentile) {
    struct Case {
        std::vector<double> values;
        double level;
        double result;
    };
    const Case cases[] = {
        {{1, 2, 3, 4}, 10, 1.0},
        {{1, 2, 3, 4}, 25, 1.5},
        {{1, 2, 3, 4}, 50, 2.5},
        {{1, 2, 3, 4}, 75, 3.5},
        {{1, 2, 3, 4}, 90, 4.0},
        {{2, 2, 2, 5}, 50, 2.0},
        {{2, 2, 2, 5}, 75, 3.5},
        {{2, 2, 2, 5}, 90, 5.0},
        {{7}, 0, 7.0},
        {{7}, 50, 7.0},
        {{7}, 100, 7.0},
        {{1, 5, 9}, 0, 1.0},
        {{1, 5, 9}, 100, 9.0},
        {{}, 50, 0.0},
        {{1, 3}, 50, 2.0},
        // r = 3.0 exactly: the value at that position, no interpolation.
        {{10, 20, 30, 40, 50}, 50, 30.0},
        {{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, 80, 8.5},
    };
    for (const auto& c : cases) {
        EXPECT_DOUBLE_EQ(Percentile(c.values, c.level), c.result)
            << c.values.size() << " values, level " << c.level;
    }
}

}  // namespace
}  // namespace kivo
