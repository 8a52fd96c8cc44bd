// candelux-cli: the analysis, falsecolor and batch replay of candelux for scripts.

#include <unistd.h>

#include <clocale>
#include <csignal>
#include <filesystem>
#include <iostream>

#include "cli/cli.h"
#include "cli/cli_commands.h"

namespace {

std::string this_executable(const char* argv0) {
    std::error_code ec;
    const auto path = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::filesystem::absolute(argv0, ec).string() : path.string();
}

// The first Ctrl-C stops a batch: the steps it interrupts fail and no further
// picture starts, and the summary is printed. The second ends the program.
extern "C" void on_interrupt(int) {
    request_batch_stop();
    std::signal(SIGINT, SIG_DFL);
}

}  // namespace

int main(int argc, char* argv[]) {
    std::setlocale(LC_ALL, "C");
    const std::vector<std::string> words(argv + 1, argv + argc);
    if (!words.empty() && words[0] == "batch") std::signal(SIGINT, on_interrupt);
    const CliPlaces places = cli_places(platform_folders_from_environment(), this_executable(argv[0]));
    return run_cli(words, places, std::cout, std::cerr, isatty(STDERR_FILENO) == 1);
}
