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

size_t BlockReader::fill(size_t wanted) {
    if (end_ - pos_ >= wanted || !file_ || failed_) return end_ - pos_;
    // Keep one byte before the window so that unget() still works.
    const size_t keep = pos_ > 0 ? 1 : 0;
    const size_t from = pos_ - keep;
    std::memmove(buffer_.data(), buffer_.data() + from, end_ - from);
    base_ += from;
    end_ -= from;
    pos_ = keep;
    if (buffer_.size() < wanted + keep) buffer_.resize(wanted + keep);
    while (end_ < buffer_.size()) {
        const size_t got = std::fread(buffer_.data() + end_, 1, buffer_.size() - end_, file_);
        if (got == 0) {
            if (std::ferror(file_)) failed_ = true;
            break;
        }
        end_ += got;
    }
    return end_ - pos_;
}

void BlockReader::put_back(const uint8_t* bytes, size_t n) {
    if (buffer_.size() < n + 1) buffer_.resize(n + 1);
    base_ += end_;
    buffer_[0] = 0;  // nothing to unget
    std::memcpy(buffer_.data() + 1, bytes, n);
    pos_ = 1;
    end_ = n + 1;
    base_ -= 1;
}
