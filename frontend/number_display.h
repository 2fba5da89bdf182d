#pragma once

#include <QLocale>
#include <QString>
#include <optional>

namespace kivo::gui {

/// A number in the main window's scientific notation: 1.0000E-10, 1.5000E+2 (locale separator).
QString ScientificText(double value, int significantDigits, const QLocale& locale = QLocale());

/// A number in general notation: plain (0.5, 1000) when it fits, else 1E3 or 1.2E-5.
QString GeneralText(double value, int significantDigits, const QLocale& locale = QLocale());

/// Converts an edit field's text with the locale's decimal separator (spaces around allowed).
std::optional<double> ParseLocaleNumber(const QString& text, const QLocale& locale = QLocale());

/// Converts a 32-bit conversion factor; fails for text that is no number or out of range.
std::optional<float> ParseUnitFactor(const QString& text, const QLocale& locale = QLocale());

/// Converts a whole number that fits 32 bits (leading spaces and a sign allowed).
std::optional<int> ParseSegmentNumber(const QString& text);

/// Removes leading and trailing blanks and control characters.
QString TrimBlanksAndControls(const QString& text);

}  // namespace kivo::gui
