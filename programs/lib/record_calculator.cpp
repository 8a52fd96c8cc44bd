#include "lib/record_calculator.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <future>
#include <thread>

#include "lib/calc_program.h"
#include "lib/file_handle.h"
#include "lib/text_stream.h"

namespace {

constexpr int max_fields = 4096;
constexpr size_t block_size = 1 << 20;
constexpr unsigned max_workers = 4;

// The current record: its text and the fields read from it so far (fields
// are read only as far as a formula asks for them).
struct Record {
    std::string_view line;
    std::vector<double> fields;  // fields.size() >= read
    size_t read = 0;
    const char* cursor = nullptr;  // where the next unread field starts

    void start(std::string_view text) {
        line = text;
        read = 0;
        cursor = text.data();
    }
};

double field_of(void* context, int id) {
    auto* record = static_cast<Record*>(context);
    const size_t wanted = static_cast<size_t>(-id);
    if (wanted <= record->read) return record->fields[wanted - 1];
    if (record->fields.size() < wanted) record->fields.resize(wanted);
    const char* end = record->line.data() + record->line.size();
    while (record->read < wanted) {
        const char* at = skip_blanks(record->cursor, end);
        if (at == end) return 0;
        const char* after = word_end(at, end);
        double value = 0;
        if (read_number(at, after, value) != after) value = 0;
        record->fields[record->read++] = value;
        record->cursor = after;
    }
    return record->fields[wanted - 1];
}

std::string field_name(int n) {
    char text[16];
    std::snprintf(text, sizeof text, "$%d", n);
    return text;
}

// Computes the output of blocks of whole lines. Each worker has its own copy
// of the compiled program, so blocks can be computed side by side.
class BlockWorker {
public:
    BlockWorker(const CalcProgram& program, size_t output_fields)
        : program_(program), output_fields_(output_fields), has_condition_(program.has_output(0)) {}

    void process(const std::string& block, std::vector<char>& out) {
        out.resize(block.size() + 64 * (output_fields_ + 1));
        used_ = 0;
        last_line_size_ = kept + 1;
        size_t begin = 0;
        while (begin < block.size()) {
            // Sorted input repeats lines; the formulas depend on the line
            // alone, so a repeated line repeats the last output.
            if (last_line_size_ <= kept &&
                starts_with_line(std::string_view(block).substr(begin), last_line_, last_line_size_)) {
                if (out.size() - used_ < kept) out.resize(2 * out.size());
                std::memcpy(out.data() + used_, last_output_, kept);
                used_ += last_output_size_;
                begin += last_line_size_ + 1;
                continue;
            }
            const void* newline = std::memchr(block.data() + begin, '\n', block.size() - begin);
            const size_t end = newline ? static_cast<size_t>(static_cast<const char*>(newline) - block.data()) : block.size();
            const std::string_view line(block.data() + begin, end - begin);
            begin = end + 1;
            if (out.size() - used_ < field_chars * output_fields_ + kept) out.resize(2 * out.size());
            char* at = out.data() + used_;
            // The same for a repeated last line without its line feed.
            if (line.size() == last_line_size_ && std::memcmp(line.data(), last_line_, line.size()) == 0) {
                std::memcpy(at, last_output_, kept);
                used_ += last_output_size_;
                continue;
            }
            used_ += static_cast<size_t>(compute(line, at) - at);
        }
        out.resize(used_);
    }

private:
    static constexpr size_t kept = 64;         // longest line and output remembered
    static constexpr size_t field_chars = 32;  // room for one %.9g and a separator

    // Writes the record's output at `at` (room for every field and `kept`
    // more bytes) and returns its end.
    char* compute(std::string_view line, char* start) {
        record_.start(line);
        program_.begin_record();
        char* at = start;
        if (!has_condition_ || program_.evaluate(0, &record_) > 0) {
            for (size_t i = 1; i <= output_fields_; ++i) {
                at = write_general(at, program_.evaluate(i, &record_), 9);
                *at++ = i == output_fields_ ? '\n' : '\t';
            }
        }
        // Remembered only when short. The output is copied at a fixed size
        // (the buffer has that much room), which is cheaper than exactly.
        const size_t size = static_cast<size_t>(at - start);
        last_line_size_ = line.size() <= kept && size <= kept ? line.size() : kept + 1;
        std::memcpy(last_line_, line.data(), std::min(kept, line.size()));
        last_output_size_ = size;
        std::memcpy(last_output_, start, kept);
        return at;
    }

    CalcProgram program_;
    size_t output_fields_;
    bool has_condition_;
    Record record_;
    size_t used_ = 0;
    char last_line_[kept] = {};
    size_t last_line_size_ = kept + 1;  // nothing remembered yet
    char last_output_[kept] = {};
    size_t last_output_size_ = 0;
};

// Cuts the input into blocks that end at a line end (or the input's end).
class BlockReader {
public:
    explicit BlockReader(std::FILE* file) : file_(file) {}

    bool next(std::string& block) {
        block.swap(carry_);
        carry_.clear();
        if (at_end_ && block.empty()) return false;
        const size_t kept = block.size();
        block.resize(kept + block_size);
        const size_t got = std::fread(block.data() + kept, 1, block_size, file_);
        block.resize(kept + got);
        if (got < block_size) at_end_ = true;
        if (!at_end_) {
            const size_t last = block.rfind('\n');
            if (last == std::string::npos) {
                carry_.swap(block);  // one very long line: read on
                return next(block);
            }
            carry_.assign(block, last + 1);
            block.resize(last + 1);
        }
        return !block.empty() || !at_end_;
    }

    bool failed() const { return std::ferror(file_) != 0; }

private:
    std::FILE* file_;
    std::string carry_;
    bool at_end_ = false;
};

// Runs the workers over one input, writing their outputs in input order.
// While the workers compute one batch of blocks, this thread reads the next
// and writes the last, so a reader at the other end of a pipe is kept busy.
bool calculate_file(std::FILE* file, std::vector<BlockWorker>& workers) {
    BlockReader reader(file);
    const size_t count = workers.size();
    std::vector<std::string> blocks[2] = {std::vector<std::string>(count), std::vector<std::string>(count)};
    std::vector<std::vector<char>> outputs[2] = {std::vector<std::vector<char>>(count),
                                                 std::vector<std::vector<char>>(count)};
    bool written = true;
    size_t pending = 0;  // blocks of the other batch still to write
    for (int batch = 0;; batch ^= 1) {
        size_t n = 0;
        while (n < count && reader.next(blocks[batch][n])) ++n;
        std::vector<std::future<void>> jobs;
        for (size_t i = 0; i < n; ++i)
            jobs.push_back(std::async(std::launch::async, [&, i, batch] {
                workers[i].process(blocks[batch][i], outputs[batch][i]);
            }));
        for (size_t i = 0; i < pending; ++i) {
            const auto& out = outputs[batch ^ 1][i];
            if (written && std::fwrite(out.data(), 1, out.size(), stdout) != out.size()) written = false;
        }
        for (auto& job : jobs) job.get();
        if (n == 0) break;
        pending = n;
    }
    return written && !reader.failed();
}

}  // namespace

ProgramStatus calculate_records(const RecordOptions& options) {
    CalcDefinitions definitions;
    for (const auto& text : options.expressions)
        if (const auto error = definitions.add(text)) return plain_failure(error->describe());

    // Output fields: "$1" .. the highest "$N" defined.
    std::vector<std::string> outputs = {"cond"};
    size_t output_fields = 0;
    for (int n = 1; n <= max_fields; ++n) {
        outputs.push_back(field_name(n));
        if (definitions.defines(outputs.back())) output_fields = static_cast<size_t>(n);
    }
    outputs.resize(output_fields + 1);

    CalcHost host;
    host.record_fields = true;
    host.variable = field_of;
    std::string error;
    auto program = CalcProgram::compile(definitions, outputs, host, error);
    if (!program) return plain_failure(error);

    // A reader at the other end of a pipe (histo) takes the records in
    // larger gulps, with fewer switches between the two, from a larger pipe.
    // Where the system refuses, the pipe stays as it is.
#if defined(F_SETPIPE_SZ)
    (void)fcntl(STDOUT_FILENO, F_SETPIPE_SZ, 1 << 20);
#endif

    const unsigned cores = std::thread::hardware_concurrency();
    std::vector<BlockWorker> workers(std::clamp(cores, 1u, max_workers), BlockWorker(*program, output_fields));
    bool written = true;
    if (options.files.empty()) {
        written = calculate_file(stdin, workers);
    } else {
        for (const auto& name : options.files) {
            const FileHandle file = open_file(name, "rb");
            if (!file) {
                std::fflush(stdout);
                return plain_failure(name + ": cannot open");
            }
            written = written && calculate_file(file.get(), workers);
        }
    }
    if (std::fflush(stdout) != 0 || !written) return program_failure("read or write error");
    return success();
}
