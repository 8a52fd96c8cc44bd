#pragma once
// The assembly windows answered from a script: the pictures and output
// name to give, when to cancel, and a record of every message and progress
// step.

#include <deque>
#include <string>
#include <vector>

#include "assembly/assembly_desktop.h"

struct ScriptedAssemblyDesktop : AssemblyDesktop {
    std::deque<std::vector<std::string>> picture_answers;
    std::deque<std::string> output_answers;
    int cancel_after = -1;  // progress calls before Cancel is "pressed"; -1 never
    std::deque<bool> question_answers;  // No once they run out
    std::vector<std::string> questions;

    std::vector<std::string> suggested_outputs;
    std::vector<std::pair<std::string, MessageIcon>> messages;
    std::vector<double> progress;
    AssemblyForm* shown = nullptr;

    std::vector<std::string> choose_series_pictures() override {
        if (picture_answers.empty()) return {};
        auto answer = picture_answers.front();
        picture_answers.pop_front();
        return answer;
    }
    std::string choose_assembly_output(const std::string& suggested) override {
        suggested_outputs.push_back(suggested);
        if (output_answers.empty()) return "";
        auto answer = output_answers.front();
        output_answers.pop_front();
        return answer;
    }
    void assembly_message(const std::string& text, MessageIcon icon) override { messages.emplace_back(text, icon); }
    bool assembly_question(const std::string& text) override {
        questions.push_back(text);
        if (question_answers.empty()) return false;
        const bool answer = question_answers.front();
        question_answers.pop_front();
        return answer;
    }
    bool assembly_progress(double done) override {
        progress.push_back(done);
        return cancel_after < 0 || static_cast<int>(progress.size()) <= cancel_after;
    }
    void show_assembly_dialog(AssemblyForm& form) override { shown = &form; }
};
