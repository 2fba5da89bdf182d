#pragma once

#include <string>
#include <string_view>

namespace kivo {

/// The platform's directory separator ('/' here, '\\' on Windows).
char DirectorySeparator();

/// The name without its last dot and what follows (a.b.cwa gives a.b; abc stays abc).
std::string StripLastExtension(std::string_view name);

/// The directory part of a path up to its last separator inclusive (on Windows also a
/// drive colon); empty when there is none.
std::string DirectoryPart(std::string_view path);

/// The path without its directory part.
std::string FileNamePart(std::string_view path);

/// The name of a converted series: file name without directory and last extension,
/// "_seg", the segment, ".con" (/runs/ditch.cwa, 5 gives ditch_seg5.con).
std::string ConcentrationFileName(std::string_view inputPath, int segment);

/// The base of a series' result files: its name without directory and without the last
/// four characters; empty for a name of four characters or fewer.
std::string ResultFileBase(std::string_view concentrationFile);

}  // namespace kivo
