#pragma once

#include <string>

namespace kivo {

/// 1.500e-01: four significant digits, lower-case e, sign, at least two exponent digits.
std::string Scientific3(double value);
/// 0.042, 12.000: three decimals, "." as separator.
std::string Fixed3(double value);
/// 1000, 0.001, 1e+06, 1e-05: at most six significant digits, like printf's %g.
std::string General6(double value);
/// Up to 15 significant digits, plain from 0.0001 to below 1E15, else 1.5E-5 or 2E15
/// (upper-case E, no exponent plus sign, no leading exponent zeros); zero is 0.
std::string General15(double value);
/// Decimal digits with a leading "-" for negative values.
std::string IntegerText(long long value);

}  // namespace kivo
