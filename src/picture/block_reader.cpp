#include "picture/block_reader.h"

#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

BlockReader::BlockReader(std::FILE* file, size_t block_size)
    : file_(file), buffer_(block_size), data_(buffer_.data()) {}

BlockReader::~BlockReader() {
    if (mapped_) ::munmap(mapped_, mapped_size_);
}

bool BlockReader::map_file() {
    if (!file_ || mapped_ || end_ > 0 || failed_) return false;
    const int descriptor = fileno(file_);
    struct stat info {};
    if (descriptor < 0 || ::fstat(descriptor, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size <= 0)
        return false;
    const long start = std::ftell(file_);
    if (start < 0 || start >= info.st_size) return false;
    const size_t size = static_cast<size_t>(info.st_size);
    // Populated at once: one call maps every page rather than a fault for
    // every few.
    void* mapping = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE | MAP_POPULATE, descriptor, 0);
    if (mapping == MAP_FAILED) return false;
    mapped_ = mapping;
    mapped_size_ = size;
    data_ = static_cast<const uint8_t*>(mapping);
    base_ = 0;
    pos_ = static_cast<size_t>(start);
    end_ = size;
    return true;
}

bool BlockReader::refill() {
    // A mapped file holds every byte already.
    if (!file_ || failed_ || mapped_) return false;
    // Keep the last byte so that unget() still works across a refill.
    size_t keep = 0;
    if (end_ > 0) {
        buffer_[0] = data_[end_ - 1];
        keep = 1;
    }
    data_ = buffer_.data();
    base_ += end_ - keep;
    const size_t got = std::fread(buffer_.data() + keep, 1, buffer_.size() - keep, file_);
    if (got == 0 && std::ferror(file_)) failed_ = true;
    pos_ = keep;
    end_ = keep + got;
    return got > 0;
}

int BlockReader::refill_and_get() {
    if (!refill()) return -1;
    return data_[pos_++];
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
    if (end_ - pos_ >= wanted || !file_ || failed_ || mapped_) return end_ - pos_;
    // Keep one byte before the window so that unget() still works.
    const size_t keep = pos_ > 0 ? 1 : 0;
    const size_t from = pos_ - keep;
    std::memmove(buffer_.data(), data_ + from, end_ - from);
    base_ += from;
    end_ -= from;
    pos_ = keep;
    if (buffer_.size() < wanted + keep) buffer_.resize(wanted + keep);
    data_ = buffer_.data();
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
    // Copied first: the bytes may lie in the mapping about to be dropped.
    std::vector<uint8_t> kept(std::max(n + 1, buffer_.size()));
    std::memcpy(kept.data() + 1, bytes, n);
    base_ += end_;
    if (mapped_) {
        // Every byte of the file was this reader's: nothing follows.
        ::munmap(mapped_, mapped_size_);
        mapped_ = nullptr;
        file_ = nullptr;
    }
    buffer_.swap(kept);
    data_ = buffer_.data();
    pos_ = 1;  // nothing to unget
    end_ = n + 1;
    base_ -= 1;
}
