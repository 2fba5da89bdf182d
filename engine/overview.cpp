#include "engine/overview.h"

#include <algorithm>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "common/code_tables.h"
#include "common/file_naming.h"
#include "common/text_file_writer.h"
#include "common/text_lines.h"

namespace kivo {
namespace {

constexpr std::size_t kReservedOverviewLines = 100;

// The first line of a file that contains `text`, if any; false when the file cannot be
// opened, true otherwise (`found` tells whether there was such a line).
bool FindLineContaining(const std::string& fileName, std::string_view text, std::string& line,
                        bool& found) {
    TextLineReader reader;
    found = false;
    if (!reader.Open(fileName)) return false;
    std::string_view candidate;
    while (reader.NextLine(candidate)) {
        if (candidate.find(text) != std::string_view::npos) {
            line.assign(candidate);
            found = true;
            break;
        }
    }
    return true;
}

std::string_view From(std::string_view line, std::size_t position) {
    return position < line.size() ? line.substr(position) : std::string_view();
}

std::string_view WithoutLeadingSpacesAndColons(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" :");
    return first == std::string_view::npos ? std::string_view() : text.substr(first);
}

// The input file name without its last three characters (its extension letters).
std::string WithoutExtensionLetters(const std::string& fileName) {
    return fileName.size() > 3 ? fileName.substr(0, fileName.size() - 3) : std::string();
}

// " Ditch", " Pond" or " Stream" from the character before the last seven of a .cwa name.
std::string WaterbodyOfCwaName(const std::string& fileName) {
    if (fileName.size() < 8) return {};
    switch (fileName[fileName.size() - 8]) {
        case 'd':
            return " Ditch";
        case 'p':
            return " Pond";
        case 's':
            return " Stream";
        default:
            return {};
    }
}

// Per series the cells put in front of its rows: scenario, run id and path, each with its tab.
std::vector<std::string> SeriesPrefixes(const EngineState& state, std::size_t seriesCount) {
    std::vector<std::string> prefixes(seriesCount);
    for (std::size_t i = 0; i < seriesCount && i < state.settings.inputFiles.size(); ++i) {
        const std::string& fileName = state.settings.inputFiles[i].fileName;
        prefixes[i] = ScenarioName(state, fileName) + '\t' +
                      ReadRunId(ResolveSettingsPath(state, fileName)) + '\t' +
                      DirectoryPart(fileName) + '\t';
    }
    return prefixes;
}

// Appends the rows of one series' table, and its title line when no title has been taken
// yet. A table that cannot be opened (removed since the analysis) contributes nothing.
void AppendTableLines(const std::string& tableFile, const std::string& prefix, bool& titleTaken,
                      std::vector<std::string>& lines) {
    TextLineReader reader;
    if (tableFile.empty() || !reader.Open(tableFile)) return;
    std::string_view line;
    const bool hasTitle = reader.NextLine(line);
    if (!titleTaken) {
        lines.push_back("Scenario\tRun ID\tPath\t" + std::string(hasTitle ? line : ""));
        titleTaken = true;
    }
    if (!hasTitle) return;
    while (reader.NextLine(line)) {
        if (line.empty()) continue;
        lines.push_back(prefix);
        lines.back().append(line);
    }
}

void WriteOverviewTable(const std::vector<std::string>& tableFiles,
                        const std::vector<std::string>& prefixes, const std::string& overviewName) {
    std::vector<std::string> lines;
    lines.reserve(kReservedOverviewLines);
    bool titleTaken = false;
    for (std::size_t i = 0; i < tableFiles.size(); ++i) {
        AppendTableLines(tableFiles[i], prefixes[i], titleTaken, lines);
    }
    TextFileWriter out;
    if (!out.Open(overviewName)) return;
    for (const std::string& line : lines) out.WriteLine(line);
    out.Close();
}

}  // namespace

void WriteOverviewTables(EngineState& state) {
    std::error_code error;
    const std::string outputDirectory = ResolveSettingsPath(state, state.settings.outputDirectory);
    if (!outputDirectory.empty()) std::filesystem::current_path(outputDirectory, error);

    std::size_t seriesCount = state.EventsFiles.size();
    seriesCount = std::max(seriesCount, state.EventSummaryFiles.size());
    seriesCount = std::max(seriesCount, state.MovingWindowFiles.size());
    const std::vector<std::string> prefixes = SeriesPrefixes(state, seriesCount);
    WriteOverviewTable(state.EventsFiles, prefixes, "Overview_Events.txt");
    WriteOverviewTable(state.EventSummaryFiles, prefixes, "Overview_EventSummary.txt");
    WriteOverviewTable(state.MovingWindowFiles, prefixes, "Overview_MovingWindowSummary.txt");
}

std::string ScenarioName(const EngineState& state, const std::string& inputFile) {
    const std::string besideBase = WithoutExtensionLetters(inputFile);
    if (state.settings.dataSource == toxswa_data) {
        const std::string location = ReadLocation(ResolveSettingsPath(state, besideBase + "sum"));
        const std::string waterbody = WaterbodyOfCwaName(inputFile);
        return location == "-" ? waterbody : location + waterbody;
    }
    return ReadWaterbody(ResolveSettingsPath(state, besideBase + "log"));
}

std::string ReadRunId(const std::string& fileName) {
    std::string line;
    bool found = false;
    if (!FindLineContaining(fileName, "* Run ID", line, found)) return "-";
    if (!found) return {};
    return std::string(WithoutLeadingSpacesAndColons(From(line, 9)));
}

std::string ReadLocation(const std::string& fileName) {
    std::string line;
    bool found = false;
    if (!FindLineContaining(fileName, " Location", line, found)) return "-";
    if (!found) return {};
    return std::string(WithoutLeadingSpacesAndColons(From(line, 10)).substr(0, 2));
}

std::string ReadWaterbody(const std::string& fileName) {
    std::string line;
    bool found = false;
    if (!FindLineContaining(fileName, "Waterbody: ", line, found)) return "-";
    if (!found) return "-";
    return std::string(From(line, 11));
}

}  // namespace kivo
