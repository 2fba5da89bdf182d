#pragma once

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace kivo {

/// Reads a text file line by line in large blocks. A line ends at LF; a CR just before the
/// LF is dropped; a byte 1A hexadecimal ends the input like the end of the file. A last
/// line without a line end is a line too. Lines stay valid until the next call.
class TextLineReader {
  public:
    TextLineReader() = default;
    explicit TextLineReader(const std::string& path) { Open(path); }
    ~TextLineReader();
    TextLineReader(const TextLineReader&) = delete;
    TextLineReader& operator=(const TextLineReader&) = delete;

    /// Opens a file; false when it cannot be opened (then failed() is true).
    bool Open(const std::string& path);
    void Close();
    bool IsOpen() const { return file_ != nullptr; }

    /// Fills `line` with the next line; false at the end of the input or on a read error.
    bool NextLine(std::string_view& line);

    /// The 1-based number of the line last returned.
    long LineNumber() const { return lineNumber_; }
    /// True after the end of the input was reached (or a 1A byte was met).
    bool ReachedEnd() const { return reachedEnd_; }
    /// True when the file could not be opened or a read failed before the end.
    bool Failed() const { return failed_; }

  private:
    bool FillBuffer();

    std::FILE* file_ = nullptr;
    std::vector<char> buffer_;
    std::size_t begin_ = 0;
    std::size_t end_ = 0;
    std::string carry_;
    long lineNumber_ = 0;
    bool inputDone_ = false;
    bool reachedEnd_ = false;
    bool failed_ = false;
};

/// Splits a whole text (a settings file, say) into lines by the same rules.
std::vector<std::string_view> SplitTextLines(std::string_view text);

/// Reads a whole file into a string; false when it cannot be opened or read.
bool ReadWholeFile(const std::string& path, std::string& bytes);

}  // namespace kivo
