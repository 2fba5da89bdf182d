#include "engine/run_driver.h"

#include <exception>
#include <filesystem>

#include "common/code_tables.h"
#include "common/concentration_series.h"
#include "common/fatal_error.h"
#include "engine/analysis_loop.h"
#include "engine/completion_notice.h"
#include "engine/console.h"
#include "engine/engine_state.h"
#include "engine/overview.h"
#include "engine/preprocessing/conversions.h"
#include "engine/settings_reader.h"

namespace kivo {
namespace {

std::string CurrentDirectory() {
    std::error_code error;
    std::filesystem::path current = std::filesystem::current_path(error);
    return error ? std::string() : current.string();
}

/// Ends a run after a failure that the driver reports itself: the message, a wait, exit 1.
int EndWithFailure(const std::string& message) {
    PrintLine(message);
    WaitForKey();
    return 1;
}

/// Runs the conversion that the data source selects; true when it succeeded. With ready
/// concentration files the input paths themselves become the series list, without a message.
bool RunPreprocessing(EngineState& state) {
    const AnalysisSettings& settings = state.settings;
    int result = 0;
    switch (settings.dataSource) {
        case toxswa_data:
            result = ConvertCwaFiles(state);
            break;
        case toxswa_out_data:
            result = ConvertOut443Files(state, settings.hourSelection);
            break;
        case toxswa_out_data_553:
            result = ConvertOut553Files(state);
            break;
        default:
            state.ConcentrationFiles.clear();
            for (const TInputFileAndSegment& entry : settings.inputFiles) {
                state.ConcentrationFiles.push_back(entry.fileName);
            }
            return true;
    }
    if (result != 0) return false;
    PrintLine("Preprocessing complete.");
    PrintLine("");
    return true;
}

int RunPhases(const std::vector<std::string>& arguments, EngineState& state) {
    FillMonthNumbers();
    state.startDirectory = CurrentDirectory();
    ReadSettingsFile(arguments, state);
    if (!RunPreprocessing(state)) return EndWithFailure("Preprocessing terminated with errors.");
    if (RunAnalysis(state) != 0) return EndWithFailure("Analysis terminated with errors.");
    WriteOverviewTables(state);
    PrintLine("Analysis complete.");
    PrintLine("");
    PrintLine("Hit any key to close.");
    SendCompletionNotice(state.settings.settingsFile);
    WaitForKey();
    return 0;
}

}  // namespace

int RunEngine(const std::vector<std::string>& arguments) {
    EngineState state;
    try {
        return RunPhases(arguments, state);
    } catch (const FatalError& error) {
        return EndWithFailure(error.what());
    } catch (const std::exception& error) {
        // Not a message of the engine's own (out of memory, a file system failure): it still
        // ends the run like every other error instead of aborting the process.
        return EndWithFailure(std::string("Error: ") + error.what());
    }
}

}  // namespace kivo
