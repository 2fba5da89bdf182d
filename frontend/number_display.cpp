#include "frontend/number_display.h"

#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace kivo::gui {
namespace {

struct RoundedDigits {
    bool negative = false;
    std::string digits;  // significant digits, trailing zeros kept
    int exponent = 0;    // power of ten of the first digit
};

RoundedDigits RoundToDigits(double value, int significantDigits) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*e", significantDigits - 1, value);
    RoundedDigits result;
    const std::string text(buffer);
    std::size_t pos = 0;
    if (text[pos] == '-') {
        result.negative = true;
        ++pos;
    }
    const std::size_t ePos = text.find('e');
    for (std::size_t i = pos; i < ePos; ++i) {
        if (text[i] != '.') result.digits += text[i];
    }
    result.exponent = std::atoi(text.c_str() + ePos + 1);
    return result;
}

QString NonFiniteText(double value) {
    if (std::isnan(value)) return QStringLiteral("NAN");
    return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
}

bool IsAsciiDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

QString TrimSpaces(const QString& text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin] == QLatin1Char(' ')) ++begin;
    while (end > begin && text[end - 1] == QLatin1Char(' ')) --end;
    return text.mid(begin, end - begin);
}

// Checks sign, digits, one decimal separator and an exponent, and returns the number text
// with "." as separator; empty when the text is no number.
std::string CanonicalNumberText(const QString& text, const QString& separator) {
    std::string result;
    qsizetype i = 0;
    const qsizetype n = text.size();
    if (i < n && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-'))) {
        if (text[i] == QLatin1Char('-')) result += '-';
        ++i;
    }
    int mantissaDigits = 0;
    while (i < n && IsAsciiDigit(text[i])) {
        result += char(text[i].unicode());
        ++mantissaDigits;
        ++i;
    }
    if (!separator.isEmpty() && text.mid(i, separator.size()) == separator) {
        result += '.';
        i += separator.size();
        while (i < n && IsAsciiDigit(text[i])) {
            result += char(text[i].unicode());
            ++mantissaDigits;
            ++i;
        }
    }
    if (mantissaDigits == 0) return {};
    if (i < n && (text[i] == QLatin1Char('e') || text[i] == QLatin1Char('E'))) {
        result += 'e';
        ++i;
        if (i < n && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-'))) {
            result += char(text[i].unicode());
            ++i;
        }
        int exponentDigits = 0;
        while (i < n && IsAsciiDigit(text[i])) {
            result += char(text[i].unicode());
            ++exponentDigits;
            ++i;
        }
        if (exponentDigits == 0) return {};
    }
    return i == n ? result : std::string();
}

}  // namespace

QString ScientificText(double value, int significantDigits, const QLocale& locale) {
    if (!std::isfinite(value)) return NonFiniteText(value);
    const RoundedDigits rounded = RoundToDigits(value, significantDigits);
    QString text = rounded.negative ? QStringLiteral("-") : QString();
    text += QLatin1Char(rounded.digits[0]);
    if (rounded.digits.size() > 1) {
        text += locale.decimalPoint();
        text += QString::fromLatin1(rounded.digits.substr(1));
    }
    text += rounded.exponent < 0 ? QStringLiteral("E-") : QStringLiteral("E+");
    text += QString::number(std::abs(rounded.exponent));
    return text;
}

QString GeneralText(double value, int significantDigits, const QLocale& locale) {
    if (!std::isfinite(value)) return NonFiniteText(value);
    if (value == 0.0) return QStringLiteral("0");
    RoundedDigits rounded = RoundToDigits(value, significantDigits);
    std::string digits = rounded.digits;
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
    const int exponent = rounded.exponent;
    const int digitCount = static_cast<int>(digits.size());
    QString text = rounded.negative ? QStringLiteral("-") : QString();
    if (exponent >= -4 && exponent < significantDigits) {
        if (exponent >= 0) {
            for (int i = 0; i <= exponent; ++i)
                text += QLatin1Char(i < digitCount ? digits[i] : '0');
            if (digitCount > exponent + 1) {
                text += locale.decimalPoint();
                text += QString::fromLatin1(digits.substr(exponent + 1));
            }
        } else {
            text += QLatin1Char('0');
            text += locale.decimalPoint();
            text += QString(-exponent - 1, QLatin1Char('0'));
            text += QString::fromLatin1(digits);
        }
        return text;
    }
    text += QLatin1Char(digits[0]);
    if (digitCount > 1) {
        text += locale.decimalPoint();
        text += QString::fromLatin1(digits.substr(1));
    }
    text += QLatin1Char('E');
    if (exponent < 0) text += QLatin1Char('-');
    text += QString::number(std::abs(exponent));
    return text;
}

std::optional<double> ParseLocaleNumber(const QString& text, const QLocale& locale) {
    const std::string canonical = CanonicalNumberText(TrimSpaces(text), locale.decimalPoint());
    if (canonical.empty()) return std::nullopt;
    double value = 0.0;
    const auto [end, error] =
        std::from_chars(canonical.data(), canonical.data() + canonical.size(), value);
    if (error != std::errc() || end != canonical.data() + canonical.size()) return std::nullopt;
    return value;
}

std::optional<float> ParseUnitFactor(const QString& text, const QLocale& locale) {
    const std::optional<double> value = ParseLocaleNumber(text, locale);
    if (!value || std::fabs(*value) > FLT_MAX) return std::nullopt;
    return static_cast<float>(*value);
}

std::optional<int> ParseSegmentNumber(const QString& text) {
    qsizetype i = 0;
    while (i < text.size() && text[i] == QLatin1Char(' ')) ++i;
    const QString number = text.mid(i);
    qsizetype digitsFrom = 0;
    if (!number.isEmpty() && (number[0] == QLatin1Char('+') || number[0] == QLatin1Char('-'))) {
        digitsFrom = 1;
    }
    if (number.size() == digitsFrom) return std::nullopt;
    for (qsizetype j = digitsFrom; j < number.size(); ++j) {
        if (!IsAsciiDigit(number[j])) return std::nullopt;
    }
    bool ok = false;
    const int value = number.toInt(&ok, 10);
    if (!ok) return std::nullopt;
    return value;
}

QString TrimBlanksAndControls(const QString& text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin].unicode() <= 0x20) ++begin;
    while (end > begin && text[end - 1].unicode() <= 0x20) --end;
    return text.mid(begin, end - begin);
}

}  // namespace kivo::gui
