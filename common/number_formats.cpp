#include "common/number_formats.h"

#include <charconv>
#include <cstdlib>

namespace kivo {
namespace {

// std::to_chars never looks at the C locale, which the front end sets from the user's.
std::string Format(double value, std::chars_format format, int precision) {
    char text[400];
    const auto result = std::to_chars(text, text + sizeof text, value, format, precision);
    return std::string(text, result.ptr);
}

}  // namespace

std::string Scientific3(double value) {
    return Format(value, std::chars_format::scientific, 3);
}

std::string Fixed3(double value) {
    return Format(value, std::chars_format::fixed, 3);
}

std::string General6(double value) {
    return Format(value, std::chars_format::general, 6);
}

std::string General15(double value) {
    if (value == 0.0) return "0";
    const std::string scientific = Format(value, std::chars_format::scientific, 14);
    const std::size_t e = scientific.find('e');
    if (e == std::string::npos) return scientific;  // inf or nan
    const bool negative = scientific[0] == '-';
    std::string digits;
    for (std::size_t i = negative ? 1 : 0; i < e; ++i) {
        if (scientific[i] != '.') digits += scientific[i];
    }
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
    const int exponent = std::atoi(scientific.c_str() + e + 1);

    std::string text = negative ? "-" : "";
    const int digitCount = static_cast<int>(digits.size());
    if (exponent >= -4 && exponent < 15) {
        if (exponent < 0) {
            text += "0.";
            text.append(static_cast<std::size_t>(-exponent - 1), '0');
            text += digits;
        } else if (exponent + 1 >= digitCount) {
            text += digits;
            text.append(static_cast<std::size_t>(exponent + 1 - digitCount), '0');
        } else {
            text += digits.substr(0, static_cast<std::size_t>(exponent + 1));
            text += '.';
            text += digits.substr(static_cast<std::size_t>(exponent + 1));
        }
        return text;
    }
    text += digits[0];
    if (digitCount > 1) {
        text += '.';
        text += digits.substr(1);
    }
    text += 'E';
    text += std::to_string(exponent);
    return text;
}

std::string IntegerText(long long value) {
    return std::to_string(value);
}

}  // namespace kivo
