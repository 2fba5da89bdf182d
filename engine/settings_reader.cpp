#include "engine/settings_reader.h"

#include <filesystem>

#include "common/settings_format.h"
#include "common/text_lines.h"
#include "engine/console.h"

namespace kivo {
namespace {

bool IsRegularFile(const std::string& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

bool IsDirectory(const std::string& path) {
    std::error_code error;
    return std::filesystem::is_directory(path, error);
}

/// File tests of the engine: relative paths name files below the start directory.
SettingsFileSystem EngineFileSystem(const EngineState& state) {
    return SettingsFileSystem{
        [&state](const std::string& path) {
            return !path.empty() && IsRegularFile(ResolveSettingsPath(state, path));
        },
        [&state](const std::string& path) {
            return !path.empty() && IsDirectory(ResolveSettingsPath(state, path));
        },
    };
}

}  // namespace

int ReadSettingsFile(const std::vector<std::string>& arguments, EngineState& state) {
    if (arguments.empty()) {
        ReportFatalError(
            "No settings file provided! Please start the program as follows: KIVO "
            "yoursettings.kvo");
    }
    AnalysisSettings& settings = state.settings;
    settings.settingsFile = arguments[0];
    if (arguments.size() > 1) {
        ReportFatalError(
            "Too many parameters provided! Please start the program as follows: KIVO "
            "yoursettings.kvo");
    }
    std::string path = ResolveSettingsPath(state, settings.settingsFile);
    if (settings.settingsFile.empty() || !IsRegularFile(path)) {
        ReportFatalError("Settings file \"" + settings.settingsFile + "\" not found!");
    }
    // A file that exists but cannot be read counts as a file without lines.
    std::string text;
    if (!ReadWholeFile(path, text)) text.clear();

    SettingsFileValues values;
    values.analysis = settings;
    values = SettingsStartValues(SettingsDialect::Engine, values);
    std::string messages =
        ReadSettingsText(text, SettingsDialect::Engine, values, EngineFileSystem(state));
    settings = values.analysis;
    if (!messages.empty()) ReportFatalError(SettingsErrorReport(settings.settingsFile, messages));
    return 0;
}

}  // namespace kivo
