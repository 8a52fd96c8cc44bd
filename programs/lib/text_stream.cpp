#include "lib/text_stream.h"

#include <cstring>

LineReader::LineReader(std::FILE* file, size_t block_size) : file_(file), buffer_(block_size) {}

bool LineReader::next(std::string_view& line) {
    for (;;) {
        const char* start = buffer_.data() + begin_;
        const void* newline = std::memchr(start, '\n', end_ - begin_);
        if (newline) {
            const size_t length = static_cast<size_t>(static_cast<const char*>(newline) - start);
            line = std::string_view(start, length);
            begin_ += length + 1;
            return true;
        }
        if (at_end_) {
            if (begin_ == end_) return false;
            line = std::string_view(start, end_ - begin_);
            begin_ = end_;
            return true;
        }
        // Move the partial line to the front, grow if one line fills the
        // whole buffer, and read more.
        const size_t kept = end_ - begin_;
        std::memmove(buffer_.data(), start, kept);
        begin_ = 0;
        end_ = kept;
        if (end_ == buffer_.size()) buffer_.resize(2 * buffer_.size());
        const size_t got = std::fread(buffer_.data() + end_, 1, buffer_.size() - end_, file_);
        if (got == 0) {
            at_end_ = true;
            failed_ = std::ferror(file_) != 0;
        }
        end_ += got;
    }
}

TextWriter::TextWriter(std::FILE* file, size_t block_size) : file_(file), buffer_(block_size) {}

void TextWriter::flush() {
    if (used_ > 0 && !failed_ && std::fwrite(buffer_.data(), 1, used_, file_) != used_) failed_ = true;
    used_ = 0;
    if (!failed_ && std::fflush(file_) != 0) failed_ = true;
}
