#include "engine/engine_state.h"

#include <filesystem>

namespace kivo {

std::string ResolveSettingsPath(const EngineState& state, const std::string& path) {
    if (path.empty() || state.startDirectory.empty()) return path;
    std::filesystem::path given(path);
    if (given.is_absolute()) return path;
    return (std::filesystem::path(state.startDirectory) / given).string();
}

}  // namespace kivo
