#pragma once
// candelux-cli run inside the test, its two streams caught.

#include <string>
#include <vector>

struct CliResult {
    int status;
    std::string out;
    std::string err;
};

// The words after the program's name, run with the default places.
CliResult cli(std::vector<std::string> words);
