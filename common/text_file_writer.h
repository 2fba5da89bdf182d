#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace kivo {

/// Writes a text file through a large buffer, bytes unchanged; WriteLine adds CR LF.
/// Remembers any failure, so the caller checks once, at Close.
class TextFileWriter {
public:
    TextFileWriter() = default;
    ~TextFileWriter();
    TextFileWriter(const TextFileWriter&) = delete;
    TextFileWriter& operator=(const TextFileWriter&) = delete;

    /// Creates (or replaces) the file; false when it cannot be created.
    bool Open(const std::string& path);
    bool IsOpen() const { return file_ != nullptr; }
    void Write(std::string_view text);
    void WriteLine(std::string_view text);
    /// Flushes and closes; false when opening, any write or the close failed.
    bool Close();
    bool Failed() const { return failed_; }

private:
    void Flush();

    std::FILE* file_ = nullptr;
    std::string buffer_;
    bool failed_ = false;
};

}  // namespace kivo
