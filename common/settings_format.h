#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "common/analysis_settings.h"

namespace kivo {

/// Which program reads a settings file: the two readers share every key and message and
/// differ only where the key table says so (start data source, HOUR_SELECTION, UNIT_*).
enum class SettingsDialect { Engine, FrontEnd };

/// Everything a settings file can set. The engine uses `analysis`; the front end also the
/// hour index (0 FULL, 1 HALF) and the unit choice (0 mg/L, 1 µg/L, 2 custom).
struct SettingsFileValues {
    AnalysisSettings analysis;
    int hourIndex = 0;
    int unitId = 0;
};

/// Answers whether a path names an existing file (or directory); the engine resolves
/// relative paths against its start directory, tests pass their own.
using PathExistsFunction = std::function<bool(const std::string& path)>;

struct SettingsFileSystem {
    PathExistsFunction fileExists;
    PathExistsFunction directoryExists;
};

/// The start values of a reader (engine: data source 0; front end: 3, hour index 0). The
/// unit fields and the fields a reader does not reset are taken from `previous`.
SettingsFileValues SettingsStartValues(SettingsDialect dialect,
                                       const SettingsFileValues& previous = {});

/// Reads the lines of a settings file's text into `values` (which hold the start values)
/// and returns the message lines ("- ...\n"), the final checks included; empty when the
/// file has no problem.
std::string ReadSettingsText(std::string_view text, SettingsDialect dialect,
                             SettingsFileValues& values, const SettingsFileSystem& fileSystem);

/// The report the engine prints and the front end shows for a file with problems.
std::string SettingsErrorReport(const std::string& settingsFile, const std::string& messages);

/// The whole settings file as the front end writes it: CR LF line ends, 8-bit bytes.
std::string SettingsFileText(const SettingsFileValues& values);

/// A number in the settings file's scientific form: 1.500000e-01.
std::string SettingsScientific(double value);

/// Whole-number conversion like the C library's atol (abc reads 0, 95.5 reads 95).
long ParseWholeNumber(std::string_view text);
/// Decimal conversion like atof in the "C" locale (text that is no number reads 0).
double ParseDecimalNumber(std::string_view text);

}  // namespace kivo
