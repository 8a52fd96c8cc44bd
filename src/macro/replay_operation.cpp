#include "macro/replay_operation.h"

#include <cctype>
#include <cmath>
#include <filesystem>

#include "common/text_format.h"
#include "macro/sequence_file.h"
#include "tools/command_path.h"
#include "tools/projection.h"
#include "tools/working_files.h"

namespace fs = std::filesystem;

namespace {

Failure refusal(const std::string& why) { return Failure{-1, why}; }

std::string quoted(const std::string& text) { return "\"" + escaped_for_display(text) + "\""; }

bool is_whole_number(const std::string& text) {
    return !text.empty() && text.size() <= 9 && text.find_first_not_of("0123456789") == std::string::npos &&
           text.find_first_not_of('0') != std::string::npos;
}

// A number as strtod writes and reads it, positive and finite.
bool is_positive_number(const std::string& text) {
    if (text.empty() || text.find_first_not_of("0123456789.eE+-") != std::string::npos) return false;
    double value = 0;
    return parse_decimal_prefix(text, value) == text.size() && std::isfinite(value) && value > 0;
}

bool is_finite_number(const std::string& text) {
    if (text.empty() || text.find_first_not_of("0123456789.eE+-") != std::string::npos) return false;
    double value = 0;
    return parse_decimal_prefix(text, value) == text.size() && std::isfinite(value);
}

// A size the application itself could ask for: a program given more would
// only exhaust the memory of the machine.
std::optional<Failure> size_problem(const ReplayOperation& operation, size_t width_at, size_t height_at) {
    const auto& words = operation.command.words;
    if (projection_size_problem(std::stoull(words[width_at].text), std::stoull(words[height_at].text)).empty())
        return std::nullopt;
    return refusal(strprintf("%s x %s pixels is more than the application makes (at most %llu pixels in all)",
                             words[width_at].text.c_str(), words[height_at].text.c_str(),
                             static_cast<unsigned long long>(max_projection_pixels)));
}

// pcomb's expression language needs no more than this; in particular no
// quote of any kind, so the rebuilt line can single-quote it.
bool is_expression(const std::string& text) {
    if (text.empty() || text[0] == '-' || text.find('=') == std::string::npos) return false;
    for (char c : text)
        if (!std::isalnum(static_cast<unsigned char>(c)) && std::string_view(" ._()+-*/^,;=").find(c) == std::string_view::npos)
            return false;
    return true;
}

bool in_folder(const std::string& path, const std::string& folder) {
    return !folder.empty() && path.size() > folder.size() && path.compare(0, folder.size(), folder) == 0 &&
           path[folder.size()] == '/';
}

// The words of one recorded command, taken in order.
class Reader {
public:
    Reader(const RecordedCommand& command, const ReplayTexts& texts) : command_(command), texts_(texts) {
        result_.command.words.push_back({WordRole::literal, command.program});
    }

    bool done() const { return next_ >= command_.words.size(); }
    const CommandWord* peek() const { return done() ? nullptr : &command_.words[next_]; }

    // The next word must be exactly `option`, unquoted.
    std::optional<Failure> option(const std::string& option) {
        const CommandWord* word = peek();
        if (!word || word->quoted || word->text != option)
            return refusal(command_.program + " needs " + quoted(option) + " " + where());
        take(WordRole::literal, option);
        return std::nullopt;
    }

    // The next word, checked by `accept`.
    std::optional<Failure> value(bool (*accept)(const std::string&), const std::string& what) {
        const CommandWord* word = peek();
        if (!word || !accept(word->text)) return refusal(command_.program + " needs " + what + " " + where());
        take(WordRole::literal, word->text);
        return std::nullopt;
    }

    // The next word must name one of the files in `allowed`.
    std::optional<Failure> file(std::initializer_list<WordRole> allowed, const std::string& what) {
        const CommandWord* word = peek();
        if (!word) return refusal(command_.program + " needs " + what + " " + where());
        auto role = file_role(word->text, allowed, what);
        if (!role) return role.failure();
        take(role.value(), word->text);
        return std::nullopt;
    }

    // The role of a file word, if it is one of `allowed` (literal: a file
    // outside the cache, only read).
    Result<WordRole> file_role(const std::string& path, std::initializer_list<WordRole> allowed,
                               const std::string& what) const {
        const WordRole role = cache_role(path);
        for (WordRole each : allowed) {
            if (each != role) continue;
            if (role == WordRole::literal) {
                const std::string problem = outside_file_problem(path, texts_.cache);
                if (!problem.empty()) return refusal(what + ": " + problem);
            }
            return role;
        }
        return refusal(what + " must be " + role_names(allowed) + ", not " + quoted(path));
    }

    void take(WordRole role, const std::string& text) {
        result_.command.words.push_back({role, role == WordRole::literal || role == WordRole::exposure_factor ? text : ""});
        ++next_;
    }

    std::optional<Failure> finish() {
        if (!done()) return refusal(command_.program + " is not given " + quoted(command_.words[next_].text) + " by the application");
        return std::nullopt;
    }

    // The redirections: standard input (none unless `input` names its
    // roles) and standard output.
    std::optional<Failure> redirections(std::initializer_list<WordRole> input, std::initializer_list<WordRole> output,
                                        bool appends) {
        if (command_.input) {
            if (input.size() == 0) return refusal(command_.program + " reads no standard input here");
            auto role = file_role(*command_.input, input, "its standard input");
            if (!role) return role.failure();
            result_.command.input = OperationWord{role.value(), ""};
        } else if (input.size() != 0) {
            return refusal(command_.program + " must read its standard input from the working copy");
        }
        if (command_.output) {
            if (output.size() == 0) return refusal(command_.program + " writes the file named on its line, not to " + quoted(*command_.output));
            if (command_.appends != appends)
                return refusal(appends ? "its output must be appended with \">>\"" : "its output must be written with \">\"");
            auto role = file_role(*command_.output, output, "its output");
            if (!role) return role.failure();
            result_.command.output = OperationWord{role.value(), ""};
            result_.command.appends = appends;
        } else if (output.size() != 0) {
            return refusal(command_.program + " must write its output to the step output");
        }
        return std::nullopt;
    }

    ReplayOperation& result() { return result_; }

private:
    WordRole cache_role(const std::string& path) const {
        if (path == texts_.working_copy) return WordRole::step_input;
        if (path == texts_.output) return WordRole::step_output;
        if (path == texts_.mask) return WordRole::mask_scratch;
        if (path == texts_.header) return WordRole::header_scratch;
        return WordRole::literal;
    }

    static std::string role_names(std::initializer_list<WordRole> roles) {
        std::string names;
        for (WordRole role : roles) {
            if (!names.empty()) names += " or ";
            switch (role) {
            case WordRole::step_input: names += "the working copy"; break;
            case WordRole::step_output: names += "the step output"; break;
            case WordRole::mask_scratch: names += "the converted mask"; break;
            case WordRole::header_scratch: names += "the projection's header file"; break;
            default: names += "a picture outside the cache"; break;
            }
        }
        return names;
    }

    std::string where() const {
        return done() ? "at the end of its line" : "where the line has " + quoted(command_.words[next_].text);
    }

    const RecordedCommand& command_;
    const ReplayTexts& texts_;
    size_t next_ = 0;
    ReplayOperation result_;
};

using Step = std::optional<Failure>;
#define RETURN_IF_REFUSED(step)                   \
    do {                                          \
        if (Step failed = (step)) return *failed; \
    } while (false)

Result<ReplayOperation> crop(Reader& r) {
    RETURN_IF_REFUSED(r.option("-x"));
    RETURN_IF_REFUSED(r.value(is_whole_number, "a width"));
    RETURN_IF_REFUSED(r.option("-y"));
    RETURN_IF_REFUSED(r.value(is_whole_number, "a height"));
    RETURN_IF_REFUSED(r.file({WordRole::step_input}, "the picture it crops"));
    // The offsets are written as "-L -B", which pcompos reads as a position.
    auto offset = [](const std::string& text) { return text.size() > 1 && text[0] == '-' && text.size() <= 10 &&
                                                         text.find_first_not_of("0123456789", 1) == std::string::npos; };
    RETURN_IF_REFUSED(r.value(offset, "an offset \"-L\""));
    RETURN_IF_REFUSED(r.value(offset, "an offset \"-B\""));
    RETURN_IF_REFUSED(r.finish());
    RETURN_IF_REFUSED(r.redirections({}, {WordRole::step_output}, false));
    RETURN_IF_REFUSED(size_problem(r.result(), 2, 4));
    r.result().kind = OperationKind::crop;
    return r.result();
}

Result<ReplayOperation> quarter_turn(Reader& r) {
    RETURN_IF_REFUSED(r.file({WordRole::step_input}, "the picture it turns"));
    RETURN_IF_REFUSED(r.file({WordRole::step_output}, "the file it writes"));
    RETURN_IF_REFUSED(r.finish());
    RETURN_IF_REFUSED(r.redirections({}, {}, false));
    r.result().kind = OperationKind::quarter_turn;
    return r.result();
}

Result<ReplayOperation> flip(Reader& r) {
    RETURN_IF_REFUSED(r.option("-c"));
    bool h = false, v = false;
    while (const CommandWord* word = r.peek()) {
        if (word->quoted || (word->text != "-h" && word->text != "-v")) break;
        bool& seen = word->text == "-h" ? h : v;
        if (seen) return refusal("pflip is given " + word->text + " twice");
        seen = true;
        r.take(WordRole::literal, word->text);
    }
    if (!h && !v) return refusal("pflip needs \"-h\" or \"-v\"");
    RETURN_IF_REFUSED(r.file({WordRole::step_input}, "the picture it flips"));
    RETURN_IF_REFUSED(r.file({WordRole::step_output}, "the file it writes"));
    RETURN_IF_REFUSED(r.finish());
    RETURN_IF_REFUSED(r.redirections({}, {}, false));
    r.result().kind = OperationKind::flip;
    return r.result();
}

Result<ReplayOperation> filter(Reader& r, unsigned long number) {
    RETURN_IF_REFUSED(r.option("-1"));
    RETURN_IF_REFUSED(r.option("-e"));
    const CommandWord* factor = r.peek();
    if (!factor || !is_positive_number(factor->text)) return refusal("pfilt needs a positive factor after \"-e\"");
    const std::string factor_text = factor->text;
    r.take(WordRole::literal, factor_text);
    const CommandWord* next = r.peek();
    const bool resizing = next && !next->quoted && next->text == "-x";
    if (resizing) {
        auto divisor = [](const std::string& text) { return text.size() > 1 && text[0] == '/' && is_positive_number(text.substr(1)); };
        RETURN_IF_REFUSED(r.option("-x"));
        RETURN_IF_REFUSED(r.value(divisor, "a divisor \"/F\""));
        RETURN_IF_REFUSED(r.option("-y"));
        RETURN_IF_REFUSED(r.value(divisor, "a divisor \"/F\""));
    }
    RETURN_IF_REFUSED(r.file({WordRole::step_input}, "the picture it filters"));
    RETURN_IF_REFUSED(r.finish());
    RETURN_IF_REFUSED(r.redirections({}, {WordRole::step_output}, false));
    ReplayOperation& operation = r.result();
    operation.kind = resizing ? OperationKind::resize : OperationKind::exposure;
    // The exposure command's factor is worked out again for every picture.
    if (!resizing && number == exposure_command_number) operation.command.words[3].role = WordRole::exposure_factor;
    return operation;
}

Result<ReplayOperation> combine(Reader& r) {
    int expressions = 0;
    int inputs = 0;
    bool reads_working_copy = false;
    while (const CommandWord* word = r.peek()) {
        const std::string text = word->text;
        if (!word->quoted && text == "-e") {
            r.take(WordRole::literal, text);
            RETURN_IF_REFUSED(r.value(is_expression, "an expression (a definition of letters, digits, blanks and ._()+-*/^,;=) after \"-e\""));
            ++expressions;
        } else if (!word->quoted && text == "-f") {
            r.take(WordRole::literal, text);
            RETURN_IF_REFUSED(r.file({WordRole::literal}, "its definitions file"));
        } else if (!word->quoted && text == "-o") {
            r.take(WordRole::literal, text);
        } else if (!word->quoted && text == "-s") {
            r.take(WordRole::literal, text);
            RETURN_IF_REFUSED(r.value(is_finite_number, "a number after \"-s\""));
        } else if (!text.empty() && text[0] == '-') {
            return refusal("pcomb is not given " + quoted(text) + " by the application");
        } else {
            auto role = r.result().reads_mask
                            ? r.file_role(text, {WordRole::step_input, WordRole::literal}, "its pictures")
                            : r.file_role(text, {WordRole::step_input, WordRole::mask_scratch, WordRole::literal},
                                          "its pictures");
            if (!role) return role.failure();
            if (role.value() == WordRole::step_input) reads_working_copy = true;
            if (role.value() == WordRole::mask_scratch) r.result().reads_mask = true;
            r.take(role.value(), text);
            ++inputs;
        }
    }
    if (expressions == 0) return refusal("pcomb needs an expression (\"-e\")");
    if (inputs == 0) return refusal("pcomb needs a picture");
    RETURN_IF_REFUSED(r.redirections({}, {WordRole::step_output}, false));
    ReplayOperation& operation = r.result();
    operation.kind = OperationKind::combine;
    operation.reads_working_copy = reads_working_copy;
    return operation;
}

Result<ReplayOperation> mask_conversion(Reader& r) {
    RETURN_IF_REFUSED(r.option("-r"));
    RETURN_IF_REFUSED(r.file({WordRole::literal}, "the mask file it converts"));
    RETURN_IF_REFUSED(r.file({WordRole::mask_scratch}, "the file it writes"));
    RETURN_IF_REFUSED(r.finish());
    RETURN_IF_REFUSED(r.redirections({}, {}, false));
    r.result().kind = OperationKind::mask_conversion;
    return r.result();
}

Result<ReplayOperation> header_copy(Reader& r) {
    RETURN_IF_REFUSED(r.option("-"));
    RETURN_IF_REFUSED(r.finish());
    RETURN_IF_REFUSED(r.redirections({WordRole::step_input}, {WordRole::header_scratch}, true));
    r.result().kind = OperationKind::header_copy;
    return r.result();
}

Result<ReplayOperation> projection(Reader& r) {
    RETURN_IF_REFUSED(r.option("-vf"));
    RETURN_IF_REFUSED(r.file({WordRole::header_scratch}, "its view file"));
    RETURN_IF_REFUSED(r.option("-vth"));
    RETURN_IF_REFUSED(r.option("-x"));
    RETURN_IF_REFUSED(r.value(is_whole_number, "a width"));
    RETURN_IF_REFUSED(r.option("-y"));
    RETURN_IF_REFUSED(r.value(is_whole_number, "a height"));
    RETURN_IF_REFUSED(r.option("-ff"));
    RETURN_IF_REFUSED(r.file({WordRole::header_scratch}, "the picture it projects"));
    RETURN_IF_REFUSED(r.option("1"));
    RETURN_IF_REFUSED(r.finish());
    RETURN_IF_REFUSED(r.redirections({}, {WordRole::step_output}, false));
    RETURN_IF_REFUSED(size_problem(r.result(), 5, 7));
    r.result().kind = OperationKind::projection;
    return r.result();
}

#undef RETURN_IF_REFUSED

// Double quotes, as the recorder writes them, for a word a shell would
// otherwise split; every word that gets here holds no quote, "$", "`", "\"
// or "!" (checked above), so inside them the shell changes nothing.
std::string shell_word_of(const std::string& text) {
    for (char c : text)
        if (!std::isalnum(static_cast<unsigned char>(c)) && std::string_view("/._-+,=:%@").find(c) == std::string_view::npos)
            return "\"" + text + "\"";
    return text;
}

std::string text_of(const OperationWord& word, const StepFiles& files) {
    switch (word.role) {
    case WordRole::step_input: return files.input;
    case WordRole::step_output: return files.output;
    case WordRole::mask_scratch: return files.mask_scratch;
    case WordRole::header_scratch: return files.header_scratch;
    case WordRole::exposure_factor: return files.factor.value_or(word.text);
    case WordRole::literal: break;
    }
    return word.text;
}

}  // namespace

ReplayTexts replay_texts(const std::string& cache_directory) {
    return {cache_directory, cache_directory + working_file::working_copy, cache_directory + working_file::step_output,
            cache_directory + working_file::mask, cache_directory + working_file::header};
}

std::string outside_file_problem(const std::string& path, const std::string& cache) {
    if (path.empty() || path[0] != '/') return quoted(path) + " is not a full path";
    if (!is_command_safe_path(path))
        return quoted(path) + " holds a blank or a character the shell would interpret";
    if (in_folder(path, cache)) return path + " lies in the cache folder";
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (!fs::exists(status)) return path + " does not exist";
    if (!fs::is_regular_file(status)) return path + " is not a regular file";
    const std::string real = fs::canonical(path, ec).string();
    std::error_code cache_ec;
    const std::string real_cache = fs::canonical(cache, cache_ec).string();
    if (ec) return path + " cannot be resolved";
    if (!cache_ec && in_folder(real, real_cache)) return path + " lies in the cache folder";
    return {};
}

Result<ReplayOperation> read_replay_operation(const RecordedCommand& command, const ReplayTexts& texts,
                                              unsigned long number) {
    Reader reader(command, texts);
    const std::string& program = command.program;
    if (program == "pcompos") return crop(reader);
    if (program == "protate") return quarter_turn(reader);
    if (program == "pflip") return flip(reader);
    if (program == "pfilt") return filter(reader, number);
    if (program == "pcomb") return combine(reader);
    if (program == "ra_bmp" || program == "ra_tiff") return mask_conversion(reader);
    if (program == "getinfo") {
        if (command.output == texts.cache + working_file::header_text)
            return refusal("it belongs to a header edit, which replay cannot repeat: the edited header is not recorded");
        return header_copy(reader);
    }
    if (program == "pinterp") return projection(reader);
    std::string what = " runs in no operation replay repeats (crop, rotation, flip, resize, exposure, mask, "
                       "vignetting correction, image operation, projection)";
    if (program == "pcond" || program == "tm_linear" || program == "ReinhardTM" || program == "ra_gif")
        what = " exports or tone-maps a picture, which replay does not repeat";
    else if (program == "evalglare") what = " belongs to a glare analysis, which replay does not repeat";
    return refusal(quoted(program) + what);
}

std::string command_line_of(const OperationCommand& command, const StepFiles& files) {
    std::string line = "/C ";
    for (size_t i = 0; i < command.words.size(); ++i) {
        if (i > 0) line += ' ';
        line += shell_word_of(text_of(command.words[i], files));
    }
    if (command.input) line += " < " + shell_word_of(text_of(*command.input, files));
    if (command.output) line += (command.appends ? " >> " : " > ") + shell_word_of(text_of(*command.output, files));
    return line;
}

const char* operation_name(OperationKind kind) {
    switch (kind) {
    case OperationKind::crop: return "crop";
    case OperationKind::quarter_turn: return "rotation";
    case OperationKind::flip: return "flip";
    case OperationKind::resize: return "resize";
    case OperationKind::exposure: return "exposure";
    case OperationKind::combine: return "pixel-wise operation";
    case OperationKind::mask_conversion: return "mask conversion";
    case OperationKind::header_copy: return "projection's header copy";
    case OperationKind::projection: return "projection";
    }
    return "";
}
