#include "cli/cli_process.h"

#include <algorithm>
#include <filesystem>
#include <vector>

#include "tools/process_runner.h"

namespace fs = std::filesystem;

CliRun run_candelux_cli(const std::string& words, const std::string& config, const std::string& cache_home) {
    TempFolder streams;
    const std::string err = (streams / "err").string();
    const std::string command = "/C env -u CANDELUX_PROGRAMS XDG_CONFIG_HOME=" + config + " XDG_CACHE_HOME=" +
                                cache_home + " " + CANDELUX_CLI + " " + words + " 2>" + err;
    const ProcessOutput output = run_shell_command(command, "", nullptr, nullptr);
    return {output.started ? output.exit_status : -1, output.text, read_file(err)};
}

std::string folder_listing(const fs::path& folder) {
    std::vector<std::string> entries;
    std::error_code ec;
    for (const auto& entry : fs::recursive_directory_iterator(folder, ec)) {
        std::string line = fs::relative(entry.path(), folder).string();
        line += entry.is_regular_file() ? ' ' + std::to_string(entry.file_size()) : std::string("/");
        entries.push_back(line);
    }
    std::sort(entries.begin(), entries.end());
    std::string listing;
    for (const auto& entry : entries) listing += entry + "\n";
    return listing;
}
