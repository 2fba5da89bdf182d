#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace kivo::test {

/// A fresh directory under the system's temporary directory, removed with the object.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& Path() const { return path_; }
    /// The path of a file in the directory, as a string.
    std::string File(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

/// Writes bytes to a file, replacing it.
void WriteFile(const std::string& path, const std::string& bytes);
/// The bytes of a file; empty when it cannot be read.
std::string ReadFile(const std::string& path);
/// The directory of the tests' fixture files.
std::string TestDataPath(const std::string& relative);

struct ProcessResult {
    int exitCode = -1;
    std::string output;
};
/// Runs a program with arguments in a working directory, standard input closed, and
/// returns its exit code and standard output.
ProcessResult RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                         const std::string& workingDirectory);

}  // namespace kivo::test
