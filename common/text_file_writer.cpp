#include "common/text_file_writer.h"

namespace kivo {
namespace {

constexpr std::size_t kBufferBytes = 1 << 17;

}  // namespace

TextFileWriter::~TextFileWriter() {
    Close();
}

bool TextFileWriter::Open(const std::string& path) {
    Close();
    buffer_.clear();
    failed_ = false;
    file_ = std::fopen(path.c_str(), "wb");
    if (file_ == nullptr) {
        failed_ = true;
        return false;
    }
    buffer_.reserve(kBufferBytes);
    return true;
}

void TextFileWriter::Write(std::string_view text) {
    if (file_ == nullptr) {
        failed_ = true;
        return;
    }
    if (buffer_.size() + text.size() > kBufferBytes) Flush();
    if (text.size() >= kBufferBytes) {
        if (std::fwrite(text.data(), 1, text.size(), file_) != text.size()) failed_ = true;
        return;
    }
    buffer_.append(text);
}

void TextFileWriter::WriteLine(std::string_view text) {
    Write(text);
    Write("\r\n");
}

void TextFileWriter::Flush() {
    if (file_ == nullptr || buffer_.empty()) return;
    if (std::fwrite(buffer_.data(), 1, buffer_.size(), file_) != buffer_.size()) failed_ = true;
    buffer_.clear();
}

bool TextFileWriter::Close() {
    if (file_ != nullptr) {
        Flush();
        if (std::fflush(file_) != 0) failed_ = true;
        if (std::fclose(file_) != 0) failed_ = true;
        file_ = nullptr;
    }
    return !failed_;
}

}  // namespace kivo
