// candelux-cli: the analysis, falsecolor and batch replay of candelux for scripts.

#include <unistd.h>

#include <atomic>
#include <clocale>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <iostream>

#include "cli/cli.h"
#include "tools/running_children.h"

namespace {

std::string this_executable(const char* argv0) {
    std::error_code ec;
    const auto path = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::filesystem::absolute(argv0, ec).string() : path.string();
}

std::atomic<int> stopped_by{0};

// Ctrl-C, a scheduler's SIGTERM (a cancelled or timed-out job) and a closed
// terminal's SIGHUP end the run cleanly: the running program is stopped, the
// step it was writing is removed, no further program starts, and the command
// returns through its usual road, which removes its working folder. A second
// Ctrl-C ends the program at once.
extern "C" void on_stop_signal(int signal) {
    int none = 0;
    stopped_by.compare_exchange_strong(none, signal);
    stop_running_children(SIGTERM);
    if (signal == SIGINT) std::signal(SIGINT, SIG_DFL);
}

}  // namespace

int main(int argc, char* argv[]) {
    std::setlocale(LC_ALL, "C");
    const std::vector<std::string> words(argv + 1, argv + argc);
    struct sigaction action {};
    action.sa_handler = on_stop_signal;
    sigemptyset(&action.sa_mask);
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) sigaction(signal, &action, nullptr);
    const CliPlaces places = cli_places(platform_folders_from_environment(), this_executable(argv[0]));
    const int status = run_cli(words, places, std::cout, std::cerr, isatty(STDERR_FILENO) == 1);
    if (const int signal = stopped_by.load(); signal != 0) {
        std::cerr << "candelux-cli: stopped by SIG" << sigabbrev_np(signal) << '\n';
        return 128 + signal;
    }
    return status;
}
