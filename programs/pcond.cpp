// pcond: conditions a high dynamic range picture for display as a person
// would have seen the scene (histogram adjustment with optional models of
// glare, acuity, colour and contrast sensitivity).
//
//   pcond [-h][-a][-v][-s][-c][-w][-l][-e factor][-u Ldmax][-d range][-x mapfile]
//         picture [output]
//
// -h stands for -a -v -s -c. Each of those switches flips its effects, so
// giving one twice turns it off again ("-h -a" is -v -s -c); a trailing "+"
// or "-" sets or clears instead. -e +N or -e -N means 2^N and implies -l.

#include <cmath>
#include <string>
#include <vector>

#include "lib/command_line.h"
#include "lib/picture_conditioning.h"

namespace {

const char* const usage_text =
    "pcond [-h][-a][-v][-s][-c][-w][-l][-e factor][-u Ldmax][-d range][-x mapfile] picture [output]";

// The effects a switch letter stands for, or none for another letter.
std::vector<bool*> switch_targets(char letter, ConditionOptions& o) {
    switch (letter) {
        case 'h': return {&o.acuity, &o.veil, &o.sensitivity, &o.colour};
        case 'a': return {&o.acuity};
        case 'v': return {&o.veil};
        case 's': return {&o.sensitivity};
        case 'c': return {&o.colour};
        case 'w': return {&o.centre_weighted};
        case 'l': return {&o.linear};
        default: return {};
    }
}

bool apply_switch(const std::string& option, ConditionOptions& o) {
    if (option.size() < 2 || option.size() > 3) return false;
    const auto targets = switch_targets(option[1], o);
    if (targets.empty()) return false;
    if (option.size() == 3 && option[2] != '+' && option[2] != '-') return false;
    for (bool* target : targets) *target = option.size() == 3 ? option[2] == '+' : !*target;
    return true;
}

bool apply_value(const std::string& option, const std::string& value, ConditionOptions& o) {
    if (option == "-x") {
        o.map_file = value;
        return true;
    }
    const auto number = parse_number(value);
    if (!number || !std::isfinite(*number)) return false;
    if (option == "-e") {
        const bool stops = value[0] == '+' || value[0] == '-';
        const double factor = stops ? std::pow(2.0, *number) : *number;
        if (!(factor > 0) || !std::isfinite(factor)) return false;
        o.scale = factor;
        return true;
    }
    if (!(*number > 0)) return false;
    const double range = o.display.ld_max / o.display.ld_min;
    if (option == "-u") {
        o.display.ld_max = *number;
        o.display.ld_min = *number / range;
        return true;
    }
    if (option == "-d") {
        if (!(*number > 1)) return false;
        o.display.ld_min = o.display.ld_max / *number;
        return true;
    }
    return false;
}

bool parse_options(int argc, char** argv, ConditionOptions& o) {
    std::vector<std::string> words = {program_base_name(argv[0])};
    int i = 1;
    for (; i < argc && argv[i][0] == '-' && argv[i][1] != '\0'; ++i) {
        const std::string option = argv[i];
        words.push_back(option);
        if (apply_switch(option, o)) continue;
        if (option != "-e" && option != "-u" && option != "-d" && option != "-x") return false;
        if (i + 1 >= argc || !apply_value(option, argv[i + 1], o)) return false;
        words.push_back(argv[++i]);
    }
    if (argc - i < 1 || argc - i > 2) return false;
    o.input = argv[i];
    words.push_back(o.input);
    if (argc - i == 2) o.output = argv[i + 1];
    o.command = command_line_text(words);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    ConditionOptions options;
    if (!parse_options(argc, argv, options)) return finish_program(argv[0], usage_failure(usage_text));
    return finish_program(argv[0], condition_picture(options));
}
