// evalglare: glare evaluation of a fisheye (or any other) picture.
//
//   evalglare [-c check.hdr] [-T x y angle] [-G 1|2] [-vt? -vh deg -vv deg | -vf file]
//             [-s] [-i Ev | -I Ev [ymax ymin]] [-r angle] [-y | -Y limit | -x] [-b threshold]
//             [-d] [-V] [-f] [picture]
//
// Prints "dgp,dgi,ugr,vcp,cgi,Lveil: " and the six figures. The view is the
// picture's own unless the command line gives one (type, -vh and -vv, or a
// view file). -I takes its two row numbers only when both follow as
// integers: the one-value form means the same as -i.

#include <cerrno>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "lib/command_line.h"
#include "lib/glare_program.h"
#include "lib/view_file.h"

namespace {

struct CommandLineView {
    View view;
    bool given = false;
    bool type = false, horizontal = false, vertical = false, file = false;
};

class Words {
public:
    Words(int argc, char** argv) : argc_(argc), argv_(argv) {}
    bool has(int count) const { return at_ + count < argc_; }
    std::string next() { return argv_[++at_]; }
    std::string peek(int ahead) const { return at_ + ahead < argc_ ? argv_[at_ + ahead] : std::string(); }
    int& at() { return at_; }

private:
    int argc_;
    char** argv_;
    int at_ = 1;
};

ProgramStatus missing_value(const std::string& option) { return program_failure("missing value for " + option); }
ProgramStatus bad_value(const std::string& option, const std::string& value) {
    return program_failure("bad value for " + option + ": " + value);
}

// Reads `count` numbers after the option into `out`.
ProgramStatus read_numbers(Words& words, const std::string& option, int count, double* out) {
    if (!words.has(count)) return missing_value(option);
    for (int k = 0; k < count; ++k) {
        const std::string value = words.next();
        const auto number = parse_number(value);
        if (!number || !std::isfinite(*number)) return bad_value(option, value);
        out[k] = *number;
    }
    return success();
}

ProgramStatus parse_view_option(Words& words, const std::string& option, CommandLineView& v) {
    v.given = true;
    const std::string key = option.substr(2);
    if (key.size() == 2 && key[0] == 't') {
        if (std::string_view("vlchas").find(key[1]) == std::string_view::npos)
            return program_failure("unknown view type " + option);
        v.view.type = key[1];
        v.type = true;
        return success();
    }
    if (key == "f") {
        if (!words.has(1)) return missing_value(option);
        const std::string file = words.next();
        const auto lines = read_view_file(file, v.view, "evalglare");
        if (!lines) return program_failure("cannot open view file " + file + ": " + std::strerror(errno));
        if (*lines == 0) return plain_failure(file + ": bad view file");
        v.file = true;
        return success();
    }
    double* target = nullptr;
    int count = 1;
    if (key == "p") target = v.view.position, count = 3;
    else if (key == "d") target = v.view.direction, count = 3;
    else if (key == "u") target = v.view.up, count = 3;
    else if (key == "h") target = &v.view.horizontal, v.horizontal = true;
    else if (key == "v") target = &v.view.vertical, v.vertical = true;
    else if (key == "o") target = &v.view.fore;
    else if (key == "a") target = &v.view.aft;
    else if (key == "s") target = &v.view.shift;
    else if (key == "l") target = &v.view.lift;
    if (!target) return program_failure("unknown option: " + option);
    return read_numbers(words, option, count, target);
}

ProgramStatus parse_option(Words& words, const std::string& option, GlareOptions& options, CommandLineView& view) {
    double values[3];
    if (option.size() > 2 && option[1] == 'v') return parse_view_option(words, option, view);
    if (option == "-s") options.smoothing = true;
    else if (option == "-d") options.detailed = true;
    else if (option == "-V") options.illuminance_only = true;
    else if (option == "-f") options.fisheye_check = false;
    else if (option == "-x") options.peak_extraction = false;
    else if (option == "-y") options.peak_extraction = true;
    else if (option == "-c") {
        if (!words.has(1)) return missing_value(option);
        options.check_picture = words.next();
    } else if (option == "-Y") {
        if (auto status = read_numbers(words, option, 1, values); !status.ok()) return status;
        options.peak_extraction = true;
        options.peak_limit = values[0];
    } else if (option == "-r") {
        if (auto status = read_numbers(words, option, 1, values); !status.ok()) return status;
        if (!(values[0] > 0)) return bad_value(option, words.peek(0));
        options.search_radius = values[0];
    } else if (option == "-b") {
        if (auto status = read_numbers(words, option, 1, values); !status.ok()) return status;
        options.threshold = values[0];
    } else if (option == "-i") {
        if (auto status = read_numbers(words, option, 1, values); !status.ok()) return status;
        options.measured_illuminance = values[0];
    } else if (option == "-I") {
        if (auto status = read_numbers(words, option, 1, values); !status.ok()) return status;
        options.measured_illuminance = values[0];
        // The row numbers are optional: they count only as two integers.
        const auto top = parse_integer(words.peek(1)), bottom = parse_integer(words.peek(2));
        if (top && bottom) {
            options.row_fill = RowFill{*top, *bottom};
            words.at() += 2;
        }
    } else if (option == "-G") {
        if (!words.has(1)) return missing_value(option);
        const std::string value = words.next();
        const auto field = parse_integer(value);
        if (!field || (*field != 1 && *field != 2))
            return program_failure("no valid option for view cutting: -G " + value +
                                   " (1: total field of view, 2: field seen by both eyes)");
        options.guth_field = *field == 1 ? GuthField::total : GuthField::binocular;
    } else if (option == "-T") {
        if (auto status = read_numbers(words, option, 3, values); !status.ok()) return status;
        if (!(values[2] > 0)) return bad_value(option, words.peek(0));
        options.task = TaskArea{int(values[0]), int(values[1]), values[2]};
    } else {
        return program_failure("unknown option: " + option);
    }
    return success();
}

ProgramStatus parse_options(int argc, char** argv, GlareOptions& options) {
    options.words.push_back(program_base_name(argv[0]));
    for (int k = 1; k < argc; ++k) options.words.emplace_back(argv[k]);
    CommandLineView view;
    Words words(argc, argv);
    for (; words.at() < argc && argv[words.at()][0] == '-' && argv[words.at()][1] != '\0'; ++words.at())
        if (auto status = parse_option(words, argv[words.at()], options, view); !status.ok()) return status;
    if (argc - words.at() > 1) return program_failure("too many arguments: " + std::string(argv[words.at() + 1]));
    if (words.at() < argc) options.input = argv[words.at()];
    if (view.given) {
        if (!view.file && !(view.type && view.horizontal && view.vertical))
            return program_failure("a view on the command line needs its type, -vh and -vv (or -vf)");
        options.view = view.view;
    }
    return success();
}

}  // namespace

int main(int argc, char** argv) {
    GlareOptions options;
    if (auto status = parse_options(argc, argv, options); !status.ok()) return finish_program(argv[0], status);
    return finish_program(argv[0], evaluate_glare(options));
}
