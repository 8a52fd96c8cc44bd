#pragma once
// A replay host for the tests: runs through the shell with our programs and
// remembers every command line and every step.

#include <string>
#include <vector>

#include "macro/batch_replay.h"

class RecordingHost : public ShellReplayHost {
public:
    RecordingHost() : ShellReplayHost(CANDELUX_PROGRAMS_DIR) {}
    ProcessOutput run(const std::string& command_line) override {
        commands.push_back(command_line);
        return ShellReplayHost::run(command_line);
    }
    void on_step(const PicturePlan& picture, int step) override {
        steps.push_back(picture.name + ":" + std::to_string(step));
    }
    bool stop_requested() override { return stop_after >= 0 && static_cast<int>(commands.size()) >= stop_after; }

    std::vector<std::string> commands;
    std::vector<std::string> steps;
    int stop_after = -1;
};
