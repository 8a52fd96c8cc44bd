#pragma once
// Fast line-by-line text input and buffered output for the programs that
// stream millions of numbers (rcalc, histo): large block reads, lines handed
// out as views into the buffer, numbers read and written without locale or
// stream machinery.

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string_view>
#include <vector>

class LineReader {
public:
    explicit LineReader(std::FILE* file, size_t block_size = 1 << 20);

    // The next line without its line end; false at the end of the input. The
    // view stays valid until the next call.
    bool next(std::string_view& line);

    bool failed() const { return failed_; }

    // The bytes read and not yet handed out (perhaps none), and skipping
    // over some of them: for a caller that recognises a repeated line
    // without looking for its end.
    std::string_view buffered() const { return {buffer_.data() + begin_, end_ - begin_}; }
    void skip(size_t n) { begin_ += n; }

private:
    std::FILE* file_;
    std::vector<char> buffer_;
    size_t begin_ = 0;
    size_t end_ = 0;
    bool at_end_ = false;
    bool failed_ = false;
};

class TextWriter {
public:
    explicit TextWriter(std::FILE* file, size_t block_size = 1 << 20);
    ~TextWriter() { flush(); }
    TextWriter(const TextWriter&) = delete;
    TextWriter& operator=(const TextWriter&) = delete;

    // Room for at least n more characters; write there, then commit().
    char* reserve(size_t n) {
        if (used_ + n > buffer_.size()) flush();
        if (n > buffer_.size()) buffer_.resize(n);
        return buffer_.data() + used_;
    }
    void commit(char* end) { used_ = static_cast<size_t>(end - buffer_.data()); }
    void write(std::string_view text) {
        char* at = reserve(text.size());
        std::copy(text.begin(), text.end(), at);
        commit(at + text.size());
    }
    void flush();
    bool failed() const { return failed_; }

private:
    std::FILE* file_;
    std::vector<char> buffer_;
    size_t used_ = 0;
    bool failed_ = false;
};

// Whether `text` starts with the `size` bytes of `line` and a line feed.
// Lines of sorted numbers are short and repeat; comparing them word by word
// in place costs less than finding each line's end first.
inline bool starts_with_line(std::string_view text, const char* line, size_t size) {
    if (text.size() <= size || text[size] != '\n') return false;
    // Neighbouring sorted numbers differ in their last digits: those first.
    if (size >= 8) {
        uint64_t a, b;
        std::memcpy(&a, text.data() + size - 8, 8);
        std::memcpy(&b, line + size - 8, 8);
        if (a != b) return false;
    }
    size_t i = 0;
    for (; i + 8 <= size; i += 8) {
        uint64_t a, b;
        std::memcpy(&a, text.data() + i, 8);
        std::memcpy(&b, line + i, 8);
        if (a != b) return false;
    }
    for (; i < size; ++i)
        if (text[i] != line[i]) return false;
    return true;
}

// Skips blanks and tabs (and a CR) from `at`.
inline const char* skip_blanks(const char* at, const char* end) {
    while (at < end && (*at == ' ' || *at == '\t' || *at == '\r' || *at == '\f' || *at == '\v')) ++at;
    return at;
}

// The end of the word that starts at `at`.
inline const char* word_end(const char* at, const char* end) {
    while (at < end && *at != ' ' && *at != '\t' && *at != '\r' && *at != '\f' && *at != '\v') ++at;
    return at;
}

// Reads a number as strtod does at `at` (a leading '+' allowed); returns
// where it ended, or `at` when there is no number. Plain decimals of up to
// 15 digits, what the programs mostly read, are converted directly (exactly
// rounded: both the digits and the power of ten are exact doubles).
const char* read_number(const char* at, const char* end, double& value);

// Writes `value` as printf("%.<precision>g") would; returns the end (at
// most 32 characters).
char* write_general(char* at, double value, int precision);
