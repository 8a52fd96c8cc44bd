#include "cli/cli_process.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <thread>
#include <filesystem>
#include <vector>

#include "support/fake_program.h"
#include "tools/process_runner.h"

extern char** environ;

namespace fs = std::filesystem;

CliRun run_candelux_cli(const std::string& words, const std::string& config, const std::string& cache_home,
                        const std::string& working_folder) {
    TempFolder streams;
    const std::string err = (streams / "err").string();
    const std::string command = "/C " + (working_folder.empty() ? "" : "cd " + working_folder + " && ") +
                                "env -u CANDELUX_PROGRAMS XDG_CONFIG_HOME=" + config + " XDG_CACHE_HOME=" +
                                cache_home + " " + CANDELUX_CLI + " " + words + " 2>" + err;
    const ProcessOutput output = run_shell_command(command, "", nullptr, nullptr);
    return {output.started ? output.exit_status : -1, output.text, read_file(err)};
}

BackgroundCli start_candelux_cli(const std::vector<std::string>& words, const std::string& config,
                                 const std::string& cache_home, const std::string& programs,
                                 const fs::path& err_file) {
    std::vector<std::string> environment;
    for (char** entry = environ; *entry; ++entry) {
        const std::string variable = *entry;
        if (variable.rfind("CANDELUX_PROGRAMS=", 0) == 0 || variable.rfind("XDG_CONFIG_HOME=", 0) == 0 ||
            variable.rfind("XDG_CACHE_HOME=", 0) == 0)
            continue;
        environment.push_back(variable);
    }
    environment.push_back("XDG_CONFIG_HOME=" + config);
    environment.push_back("XDG_CACHE_HOME=" + cache_home);
    if (!programs.empty()) environment.push_back("CANDELUX_PROGRAMS=" + programs);
    std::vector<char*> envp;
    for (std::string& variable : environment) envp.push_back(variable.data());
    envp.push_back(nullptr);
    std::vector<std::string> arguments{CANDELUX_CLI};
    arguments.insert(arguments.end(), words.begin(), words.end());
    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, err_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    BackgroundCli cli;
    cli.err_file = err_file;
    if (posix_spawn(&cli.pid, CANDELUX_CLI, &actions, nullptr, argv.data(), envp.data()) != 0) cli.pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    return cli;
}

int BackgroundCli::wait() const {
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (WIFEXITED(status)) return WEXITSTATUS(status);
    return WIFSIGNALED(status) ? 128 + WTERMSIG(status) : -1;
}

std::string BackgroundCli::err() const { return read_file(err_file); }

bool eventually(const std::function<bool()>& condition) {
    for (int i = 0; i < 3000; ++i) {
        if (condition()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return condition();
}

void write_program_folder(const fs::path& folder, const std::string& name, const std::string& body) {
    for (const auto& entry : fs::directory_iterator(CANDELUX_PROGRAMS_DIR))
        fs::create_symlink(entry.path(), folder / entry.path().filename());
    fs::remove(folder / name);
    write_fake_program(folder, name, body);
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
