#pragma once
// Runs the picture programs.
//
// Command lines have the form "/C <program> <arguments>"; the part after
// "/C " goes to /bin/sh -c. Standard output and standard error come back
// together in the order they were written. Success is judged by the callers,
// mostly from that text. A child that cannot be started at all is reported as
// such, never as an empty (successful) output.

#include <string>

class Desktop;
class MacroRecorder;

struct ProcessOutput {
    bool started = false;  // false: the shell could not be started at all
    std::string text;      // what the child printed (stdout and stderr)
    std::string error;     // why it could not be started
    // The shell's exit status; 128 + the signal's number when it was killed,
    // as shells report it. Only callers that change pictures look at it: a
    // program may crash or fail without printing a word.
    int exit_status = 0;

    // Started, printed nothing and exited 0.
    bool clean() const { return started && text.empty() && exit_status == 0; }
};

inline constexpr const char* default_shell = "/bin/sh";

class ProcessRunner {
public:
    ProcessRunner(Desktop& desktop, MacroRecorder& recorder);

    // A folder put first on the PATH of every child (our picture programs).
    void set_program_folder(std::string folder) { program_folder_ = std::move(folder); }
    const std::string& program_folder() const { return program_folder_; }

    // The command interpreter; /bin/sh unless a test asks for another.
    void set_shell(std::string shell) { shell_ = std::move(shell); }

    // Runs one command line to its end. With show_progress the "Processing..."
    // window is shown and left for the caller to close. The windows keep
    // painting while the child runs; user input is dropped.
    ProcessOutput run(const std::string& command_line, bool show_progress);

private:
    Desktop& desktop_;
    MacroRecorder& recorder_;
    std::string program_folder_;
    std::string shell_ = default_shell;
};

// Runs a command line through the shell without any window; `pump` is called
// every few milliseconds while waiting (may be null).
ProcessOutput run_shell_command(const std::string& command_line, const std::string& program_folder,
                                void (*pump)(void*), void* pump_context, const std::string& shell = default_shell);

// While it lives, every program started gets only `share` threads for its
// own work (the environment variable band_workers_variable), because this
// many programs run side by side; each program's own threads would
// otherwise compete for the same cores. Nests: the innermost share holds.
class ChildThreadShare {
public:
    explicit ChildThreadShare(int jobs);
    ~ChildThreadShare();
    ChildThreadShare(const ChildThreadShare&) = delete;
    ChildThreadShare& operator=(const ChildThreadShare&) = delete;

private:
    unsigned previous_;
};

// The part of a "/C ..." command line that the shell runs.
std::string shell_text_of(const std::string& command_line);

// The first word the shell runs: "pfilt" for "/C pfilt -1 ...".
std::string program_of(const std::string& command_line);
