#include "common/file_naming.h"

namespace kivo {
namespace {

/// The position just after the directory part of a path.
std::size_t FileNameStart(std::string_view path) {
#ifdef _WIN32
    const std::size_t last = path.find_last_of("/\\:");
#else
    const std::size_t last = path.find_last_of('/');
#endif
    return last == std::string_view::npos ? 0 : last + 1;
}

}  // namespace

char DirectorySeparator() {
#ifdef _WIN32
    return '\\';
#else
    return '/';
#endif
}

// Only a dot in the file name itself counts, so /runs.v2/ditch keeps its name.
std::string StripLastExtension(std::string_view name) {
    const std::size_t dot = name.find_last_of('.');
    if (dot == std::string_view::npos || dot < FileNameStart(name)) return std::string(name);
    return std::string(name.substr(0, dot));
}

std::string DirectoryPart(std::string_view path) {
    return std::string(path.substr(0, FileNameStart(path)));
}

std::string FileNamePart(std::string_view path) {
    return std::string(path.substr(FileNameStart(path)));
}

std::string ConcentrationFileName(std::string_view inputPath, int segment) {
    return StripLastExtension(FileNamePart(inputPath)) + "_seg" + std::to_string(segment) + ".con";
}

std::string ResultFileBase(std::string_view concentrationFile) {
    const std::string name = FileNamePart(concentrationFile);
    if (name.size() <= 4) return {};
    return name.substr(0, name.size() - 4);
}

}  // namespace kivo
