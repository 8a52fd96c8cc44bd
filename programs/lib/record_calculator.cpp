#include "lib/record_calculator.h"

#include <cstdio>
#include <memory>

#include "lib/calc_program.h"
#include "lib/text_stream.h"

namespace {

constexpr int max_fields = 4096;

// The current record: its text and the fields read from it so far.
struct Record {
    std::string_view line;
    std::vector<double> fields;
    const char* cursor = nullptr;  // where the next unread field starts
};

double field_of(void* context, int id) {
    auto* record = static_cast<Record*>(context);
    const size_t wanted = static_cast<size_t>(-id);
    const char* end = record->line.data() + record->line.size();
    while (record->fields.size() < wanted) {
        const char* at = skip_blanks(record->cursor, end);
        if (at == end) return 0;
        const char* after = word_end(at, end);
        double value = 0;
        if (read_number(at, after, value) != after) value = 0;
        record->fields.push_back(value);
        record->cursor = after;
    }
    return record->fields[wanted - 1];
}

std::string field_name(int n) {
    char text[16];
    std::snprintf(text, sizeof text, "$%d", n);
    return text;
}

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

class Calculator {
public:
    Calculator(CalcProgram& program, size_t output_fields, bool has_condition)
        : program_(program), output_fields_(output_fields), has_condition_(has_condition), out_(stdout) {}

    void run(std::FILE* file) {
        LineReader lines(file);
        std::string_view line;
        while (lines.next(line)) {
            // Sorted input repeats lines; the formulas depend on the line
            // alone, so a repeated line repeats the last output.
            if (has_last_ && line == last_line_) {
                out_.write(last_output_);
                continue;
            }
            last_line_.assign(line);
            has_last_ = true;
            compute(line);
        }
    }

    bool finish() {
        out_.flush();
        return !out_.failed();
    }

private:
    void compute(std::string_view line) {
        record_.line = line;
        record_.fields.clear();
        record_.cursor = line.data();
        program_.begin_record();
        last_output_.clear();
        if (has_condition_ && !(program_.evaluate(0, &record_) > 0)) return;
        char text[64];
        for (size_t i = 1; i <= output_fields_; ++i) {
            char* end = write_general(text, program_.evaluate(i, &record_), 9);
            *end++ = i == output_fields_ ? '\n' : '\t';
            last_output_.append(text, end);
        }
        out_.write(last_output_);
    }

    CalcProgram& program_;
    size_t output_fields_;
    bool has_condition_;
    TextWriter out_;
    Record record_;
    std::string last_line_;
    std::string last_output_;
    bool has_last_ = false;
};

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

    Calculator calculator(*program, output_fields, program->has_output(0));
    if (options.files.empty()) {
        calculator.run(stdin);
    } else {
        for (const auto& name : options.files) {
            std::unique_ptr<std::FILE, FileCloser> file(std::fopen(name.c_str(), "rb"));
            if (!file) {
                calculator.finish();
                return plain_failure(name + ": cannot open");
            }
            calculator.run(file.get());
        }
    }
    if (!calculator.finish()) return program_failure("write error");
    return success();
}
