#include "picture/block_reader.h"

#include <algorithm>
#include <cstring>

BlockReader::BlockReader(std::FILE* file, size_t block_size) : file_(file), buffer_(block_size) {}

bool BlockReader::refill() {
    if (!file_ || failed_) return false;
    // Keep the last byte so that unget() still works across a refill.
    size_t keep = 0;
    if (end_ > 0) {
        buffer_[0] = buffer_[end_ - 1];
        keep = 1;
    }
    base_ += end_ - keep;
    const size_t got = std::fread(buffer_.data() + keep, 1, buffer_.size() - keep, file_);
    if (got == 0 && std::ferror(file_)) failed_ = true;
    pos_ = keep;
    end_ = keep + got;
    return got > 0;
}

int BlockReader::refill_and_get() {
    if (!refill()) return -1;
    return buffer_[pos_++];
}

size_t BlockReader::available() {
    if (pos_ >= end_) refill();
    return end_ - pos_;
}

bool BlockReader::read_line(std::string& line, size_t max_chars) {
    line.clear();
    while (line.size() < max_chars) {
        const int c = get();
        if (c < 0) break;
        line.push_back(static_cast<char>(c));
        if (c == '\n') break;
    }
    return !line.empty();
}

size_t BlockReader::read(uint8_t* destination, size_t n) {
    size_t done = 0;
    while (done < n) {
        const size_t have = available();
        if (have == 0) break;
        const size_t take = std::min(have, n - done);
        std::memcpy(destination + done, data(), take);
        consume(take);
        done += take;
    }
    return done;
}
