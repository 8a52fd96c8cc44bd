#include "tools/process_runner.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "common/parallel_bands.h"
#include "desktop/desktop.h"
#include "common/text_format.h"
#include "macro/macro_recorder.h"
#include "tools/running_children.h"

extern char** environ;

namespace {

constexpr int pump_interval_ms = 15;

struct Pipe {
    int read = -1;
    int write = -1;
    bool open() {
        int fds[2];
        if (pipe2(fds, O_CLOEXEC) != 0) return false;
        read = fds[0];
        write = fds[1];
        return true;
    }
    void close_read() {
        if (read >= 0) ::close(read);
        read = -1;
    }
    void close_write() {
        if (write >= 0) ::close(write);
        write = -1;
    }
    ~Pipe() {
        close_read();
        close_write();
    }
};

// The threads each child may use while several run side by side; 0 when
// one runs at a time.
std::atomic<unsigned> child_threads{0};

// The environment of the child: ours, with the program folder first on PATH
// and, while programs run side by side, their share of the cores.
std::vector<std::string> child_environment(const std::string& program_folder) {
    std::vector<std::string> variables;
    bool has_path = false;
    const unsigned threads = child_threads.load();
    const std::string threads_prefix = std::string(band_workers_variable) + "=";
    if (threads > 0) variables.push_back(threads_prefix + std::to_string(threads));
    for (char** entry = environ; entry && *entry; ++entry) {
        std::string variable = *entry;
        if (threads > 0 && starts_with(variable, threads_prefix)) continue;
        if (starts_with(variable, "PATH=")) {
            has_path = true;
            if (!program_folder.empty()) variable = "PATH=" + program_folder + ":" + variable.substr(5);
        }
        variables.push_back(std::move(variable));
    }
    if (!has_path)
        variables.push_back("PATH=" + (program_folder.empty() ? std::string() : program_folder + ":") +
                            "/usr/local/bin:/usr/bin:/bin");
    return variables;
}

// The signals that end a run; held back while a child is being listed or
// unlisted, so that a stop sees every child that can still be signalled.
sigset_t stop_signals() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    sigaddset(&set, SIGHUP);
    return set;
}

void drain(int fd, std::string& text) {
    char chunk[65536];
    for (;;) {
        const ssize_t got = ::read(fd, chunk, sizeof chunk);
        if (got > 0) {
            text.append(chunk, static_cast<size_t>(got));
            continue;
        }
        if (got < 0 && errno == EINTR) continue;
        return;
    }
}

}  // namespace

ChildThreadShare::ChildThreadShare(int jobs) : previous_(child_threads.load()) {
    if (jobs > 1) child_threads.store(std::max(1u, band_workers() / static_cast<unsigned>(jobs)));
}

ChildThreadShare::~ChildThreadShare() { child_threads.store(previous_); }

std::string shell_text_of(const std::string& command_line) {
    if (starts_with(command_line, "/C ")) return command_line.substr(3);
    return command_line;
}

std::string program_of(const std::string& command_line) {
    const std::string text = shell_text_of(command_line);
    const size_t start = text.find_first_not_of(" \t");
    if (start == std::string::npos) return {};
    const size_t end = text.find_first_of(" \t;|&<>", start);
    return text.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

ProcessOutput run_shell_command(const std::string& command_line, const std::string& program_folder,
                                void (*pump)(void*), void* pump_context, const std::string& shell) {
    ProcessOutput result;
    if (children_stopped()) {
        result.error = "Stopped: no further program is started";
        return result;
    }
    Pipe output;
    if (!output.open()) {
        result.error = strprintf("Could not create a pipe: %s", std::strerror(errno));
        return result;
    }

    const std::string text = shell_text_of(command_line);
    const std::vector<std::string> environment = child_environment(program_folder);
    std::vector<char*> envp;
    for (const auto& variable : environment) envp.push_back(const_cast<char*>(variable.c_str()));
    envp.push_back(nullptr);
    char* argv[] = {const_cast<char*>("sh"), const_cast<char*>("-c"), const_cast<char*>(text.c_str()), nullptr};

    // posix_spawn rather than fork: the application holds large pictures, and
    // copying its page tables for every child would cost more than the child.
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, output.write, STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, output.write, STDERR_FILENO);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t default_signals;
    sigemptyset(&default_signals);
    sigaddset(&default_signals, SIGPIPE);
    posix_spawnattr_setsigdefault(&attributes, &default_signals);
    // A process group of its own, so that a stop reaches the whole pipeline.
    const sigset_t held = stop_signals();
    sigset_t previous;
    pthread_sigmask(SIG_BLOCK, &held, &previous);
    posix_spawnattr_setsigmask(&attributes, &previous);
    posix_spawnattr_setpgroup(&attributes, 0);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETPGROUP);
    pid_t pid = 0;
    const int spawn_error = posix_spawn(&pid, shell.c_str(), &actions, &attributes, argv, envp.data());
    if (spawn_error == 0) list_running_child(pid);
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    output.close_write();
    if (spawn_error != 0) {
        result.error = strprintf("Could not start %s: %s", shell.c_str(), std::strerror(spawn_error));
        return result;
    }
    result.started = true;

    // Read while waiting, so that a child printing a lot never blocks on a
    // full pipe.
    const int flags = fcntl(output.read, F_GETFL);
    fcntl(output.read, F_SETFL, flags | O_NONBLOCK);
    pollfd watch{output.read, POLLIN, 0};
    bool open = true;
    while (open) {
        const int ready = poll(&watch, 1, pump_interval_ms);
        if (ready > 0) {
            char chunk[65536];
            const ssize_t n = ::read(output.read, chunk, sizeof chunk);
            if (n > 0) result.text.append(chunk, static_cast<size_t>(n));
            else if (n == 0) open = false;
            else if (errno != EAGAIN && errno != EINTR) open = false;
        } else if (ready < 0 && errno != EINTR) {
            open = false;
        }
        if (pump) pump(pump_context);
    }
    drain(output.read, result.text);
    // Waited for without reaping, so that the group stays listed (and its
    // number ours) until the child is gone.
    siginfo_t ended{};
    while (waitid(P_PID, static_cast<id_t>(pid), &ended, WEXITED | WNOWAIT) < 0 && errno == EINTR) {
    }
    pthread_sigmask(SIG_BLOCK, &held, &previous);
    unlist_running_child(pid);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    if (WIFEXITED(status)) result.exit_status = WEXITSTATUS(status);
    else if (WIFSIGNALED(status)) result.exit_status = 128 + WTERMSIG(status);
    return result;
}

ProcessRunner::ProcessRunner(Desktop& desktop, MacroRecorder& recorder) : desktop_(desktop), recorder_(recorder) {}

ProcessOutput ProcessRunner::run(const std::string& command_line, bool show_progress) {
    if (show_progress) desktop_.show_progress();
    auto pump = [](void* context) { static_cast<Desktop*>(context)->pump(); };
    ProcessOutput result = run_shell_command(command_line, program_folder_, pump, &desktop_, shell_);
    if (result.clean()) recorder_.record_macro_line(command_line, result.text);
    return result;
}
