#pragma once
// Receives every command line the process runner has run, with what it
// printed, and the menu command that led to it. Recording into sequence files
// is not switched on anywhere yet, so nothing is written.

#include <string>

class MacroRecorder {
public:
    bool recording() const { return recording_; }

    // The menu command being executed, noted while recording.
    void note_command(int id) {
        if (recording_ && id > 40001) last_command_ = id;
    }
    int last_command() const { return last_command_; }

    // Called after each child process has ended.
    void record_macro_line(const std::string& command_line, const std::string& output) {}

private:
    bool recording_ = false;
    int last_command_ = 0;
};
