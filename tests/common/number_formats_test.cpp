#include "common/number_formats.h"

#include <gtest/gtest.h>

#include <clocale>
#include <limits>

namespace kivo {
namespace {

struct FormatCase {
    double value;
    const char* text;
};

TEST(NumberFormats, Scientific3) {
    const FormatCase cases[] = {
        {0.15, "1.500e-01"},       {98.76, "9.876e+01"},  {0.0, "0.000e+00"},
        {-0.001, "-1.000e-03"},    {1e100, "1.000e+100"}, {9.9996, "1.000e+01"},
        {12345678.0, "1.235e+07"},
    };
    for (const auto& c : cases) EXPECT_EQ(Scientific3(c.value), c.text) << c.value;
}

TEST(NumberFormats, Fixed3) {
    const FormatCase cases[] = {
        {0.0417, "0.042"}, {12.0, "12.000"},           {-2.5, "-2.500"},
        {0.0, "0.000"},    {1234567.0, "1234567.000"}, {1e20, "100000000000000000000.000"},
    };
    for (const auto& c : cases) EXPECT_EQ(Fixed3(c.value), c.text) << c.value;
}

TEST(NumberFormats, General6) {
    const FormatCase cases[] = {
        {1000.0, "1000"},
        {0.001, "0.001"},
        {1000000.0, "1e+06"},
        {0.00001, "1e-05"},
        {1.0, "1"},
        {0.0001, "0.0001"},
        {123456.0, "123456"},
        {1234567.0, "1.23457e+06"},
        {-2.5, "-2.5"},
        {0.0, "0"},
        {static_cast<double>(0.001f), "0.001"},
        {static_cast<double>(1e6f), "1e+06"},
    };
    for (const auto& c : cases) EXPECT_EQ(General6(c.value), c.text) << c.value;
}

TEST(NumberFormats, General15) {
    const FormatCase cases[] = {
        {0.0, "0"},
        {-0.0, "0"},
        {0.0015, "0.0015"},
        {12.5, "12.5"},
        {3.0, "3"},
        {-3.25, "-3.25"},
        {0.0001, "0.0001"},
        {0.000015, "1.5E-5"},
        {-0.000015, "-1.5E-5"},
        {2e15, "2E15"},
        {999999999999999.0, "999999999999999"},
        {1e15, "1E15"},
        {1.25e20, "1.25E20"},
        {1e-300, "1E-300"},
        {100.0, "100"},
        {2.5 * static_cast<double>(0.001f), "0.00250000011874363"},
        {0.1 + 0.2, "0.3"},
        {1.0 / 3.0, "0.333333333333333"},
        {123456.789012345678, "123456.789012346"},
        // Rounding to 15 digits decides the form: this rounds up to 1E15.
        {999999999999999.9, "1E15"},
    };
    for (const auto& c : cases) EXPECT_EQ(General15(c.value), c.text) << c.value;
}

TEST(NumberFormats, IntegerText) {
    EXPECT_EQ(IntegerText(0), "0");
    EXPECT_EQ(IntegerText(-42), "-42");
    EXPECT_EQ(IntegerText(1234567890123LL), "1234567890123");
}

TEST(NumberFormats, DecimalPointWhateverTheLocale) {
    // The front end switches the C locale to the user's, which may use a decimal comma.
    const char* chosen = std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
    if (chosen == nullptr) chosen = std::setlocale(LC_NUMERIC, "de_DE");
    if (chosen == nullptr) GTEST_SKIP() << "no comma locale installed";
    EXPECT_EQ(Fixed3(2.5), "2.500");
    EXPECT_EQ(Scientific3(2.5), "2.500e+00");
    EXPECT_EQ(General6(2.5), "2.5");
    EXPECT_EQ(General15(2.5), "2.5");
    std::setlocale(LC_NUMERIC, "C");
}

}  // namespace
}  // namespace kivo
