#pragma once
// Buffered byte input in large blocks, with the few operations a picture
// decoder needs: single bytes with one byte of push-back, bounded text lines,
// and bulk reads.
//
// A reader may instead map a whole regular file into memory (map_file()):
// every byte is then available at once and none is copied. A program that
// reads its input once, start to end, saves the copy from the system's
// cache; the file must not shrink while it is mapped.

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

class BlockReader {
public:
    explicit BlockReader(std::FILE* file, size_t block_size = 1 << 18);
    ~BlockReader();
    BlockReader(const BlockReader&) = delete;
    BlockReader& operator=(const BlockReader&) = delete;

    // Maps the rest of the file, when it is a regular file and nothing has
    // been read through this reader yet; false (and nothing changed) when it
    // cannot.
    bool map_file();

    // The next byte, or -1 at the end of the file or on a read error.
    int get() {
        if (pos_ < end_) return data_[pos_++];
        return refill_and_get();
    }
    // Pushes back the byte that the last get() returned.
    void unget() {
        if (pos_ > 0) --pos_;
    }

    // Reads like fgets with a buffer of max_chars + 1 bytes: at most max_chars
    // bytes, stopping after a newline. False when nothing could be read.
    bool read_line(std::string& line, size_t max_chars);

    // Reads up to n bytes; returns how many were read.
    size_t read(uint8_t* destination, size_t n);

    // Bytes available without a refill (refills when none are), and a pointer
    // to them; consume() advances over bytes taken from that window.
    size_t available();
    const uint8_t* data() const { return data_ + pos_; }
    void consume(size_t n) { pos_ += n; }

    // Makes at least `wanted` bytes available without a refill when the file
    // still holds them: the bytes not yet taken move to the front of the
    // buffer (which grows when it is smaller than `wanted`) and the rest of
    // it is filled. Returns the bytes available.
    size_t fill(size_t wanted);

    // Gives back bytes that were taken from the file by other means (all of
    // this reader's own bytes having been consumed), to be read again before
    // anything the file still holds. offset() then no longer counts bytes of
    // the file.
    void put_back(const uint8_t* bytes, size_t n);

    bool failed() const { return failed_; }

    // Bytes of the file taken so far.
    uint64_t offset() const { return base_ + pos_; }

private:
    int refill_and_get();
    bool refill();

    std::FILE* file_;
    std::vector<uint8_t> buffer_;
    const uint8_t* data_;  // buffer_'s bytes, or the mapped file
    size_t pos_ = 0;
    size_t end_ = 0;
    uint64_t base_ = 0;  // file offset of data_[0]
    bool failed_ = false;
    void* mapped_ = nullptr;  // the mapping, when the file is mapped
    size_t mapped_size_ = 0;
};
