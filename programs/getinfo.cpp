// getinfo: prints the header of each picture named, or with the single
// argument "-" copies standard input to standard output without its header.
//
//   getinfo picture ..
//   getinfo - < picture

#include <string>
#include <vector>

#include "lib/header_info.h"

namespace {

struct Options {
    bool copy_data = false;
    std::vector<std::string> files;
};

bool parse_options(int argc, char** argv, Options& options) {
    if (argc == 2 && std::string(argv[1]) == "-") {
        options.copy_data = true;
        return true;
    }
    for (int i = 1; i < argc; ++i) {
        if (argv[i][0] == '-') return false;
        options.files.emplace_back(argv[i]);
    }
    return !options.files.empty();
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!parse_options(argc, argv, options))
        return finish_program(argv[0], usage_failure("getinfo picture .. | getinfo - < picture"));
    return finish_program(argv[0], options.copy_data ? copy_picture_data() : print_header_info(options.files));
}
