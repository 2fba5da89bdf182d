#include "common/text_lines.h"

#include <cstring>

namespace kivo {
namespace {

constexpr std::size_t kBlockBytes = 1 << 17;
constexpr char kEndOfTextByte = '\x1A';

/// Drops one CR at the end of a line.
std::string_view WithoutTrailingCr(std::string_view line) {
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    return line;
}

}  // namespace

TextLineReader::~TextLineReader() {
    Close();
}

bool TextLineReader::Open(const std::string& path) {
    Close();
    begin_ = end_ = 0;
    carry_.clear();
    lineNumber_ = 0;
    inputDone_ = false;
    reachedEnd_ = false;
    failed_ = false;
    file_ = std::fopen(path.c_str(), "rb");
    if (file_ == nullptr) {
        failed_ = true;
        return false;
    }
    buffer_.resize(kBlockBytes);
    return true;
}

void TextLineReader::Close() {
    if (file_ != nullptr) std::fclose(file_);
    file_ = nullptr;
}

// Reads the next block; a 1A byte cuts the block and ends the input there.
bool TextLineReader::FillBuffer() {
    begin_ = end_ = 0;
    if (file_ == nullptr || inputDone_) return false;
    const std::size_t count = std::fread(buffer_.data(), 1, buffer_.size(), file_);
    if (count < buffer_.size() && std::ferror(file_)) failed_ = true;
    end_ = count;
    const void* stop = count == 0 ? nullptr : std::memchr(buffer_.data(), kEndOfTextByte, count);
    if (stop != nullptr) {
        end_ = static_cast<const char*>(stop) - buffer_.data();
        inputDone_ = true;
    } else if (count < buffer_.size()) {
        inputDone_ = true;
    }
    return end_ > 0;
}

bool TextLineReader::NextLine(std::string_view& line) {
    carry_.clear();
    bool carrying = false;
    for (;;) {
        if (begin_ < end_) {
            const char* start = buffer_.data() + begin_;
            const std::size_t available = end_ - begin_;
            const void* found = std::memchr(start, '\n', available);
            if (found != nullptr) {
                const std::size_t length = static_cast<const char*>(found) - start;
                begin_ += length + 1;
                ++lineNumber_;
                if (!carrying) {
                    line = WithoutTrailingCr(std::string_view(start, length));
                } else {
                    carry_.append(start, length);
                    line = WithoutTrailingCr(carry_);
                }
                return true;
            }
            carry_.append(start, available);
            carrying = true;
            begin_ = end_;
        }
        if (failed_ || !FillBuffer()) break;
    }
    if (failed_) return false;
    reachedEnd_ = true;
    if (!carrying) return false;
    // A last line without a line end; a CR there can only be a cut-off CR LF.
    ++lineNumber_;
    line = WithoutTrailingCr(carry_);
    return true;
}

std::vector<std::string_view> SplitTextLines(std::string_view text) {
    const std::size_t stop = text.find(kEndOfTextByte);
    if (stop != std::string_view::npos) text = text.substr(0, stop);
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t lf = text.find('\n');
        if (lf == std::string_view::npos) {
            lines.push_back(WithoutTrailingCr(text));
            break;
        }
        lines.push_back(WithoutTrailingCr(text.substr(0, lf)));
        text.remove_prefix(lf + 1);
    }
    return lines;
}

bool ReadWholeFile(const std::string& path, std::string& bytes) {
    bytes.clear();
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return false;
    char block[65536];
    std::size_t count = 0;
    while ((count = std::fread(block, 1, sizeof block, file)) > 0) bytes.append(block, count);
    const bool ok = !std::ferror(file);
    std::fclose(file);
    return ok;
}

}  // namespace kivo
