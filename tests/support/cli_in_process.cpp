#include "support/cli_in_process.h"

#include <sstream>

#include "cli/cli.h"

CliResult cli(std::vector<std::string> words) {
    std::ostringstream out, err;
    const int status = run_cli(words, CliPlaces{}, out, err, false);
    return {status, out.str(), err.str()};
}
