#pragma once
// The profile windows answered from a script: the names and files to give,
// the answers to questions, and a record of every message and question.

#include <deque>
#include <string>
#include <vector>

#include "profiles/profile_desktop.h"

struct ScriptedProfileDesktop : ProfileDesktop {
    std::deque<std::string> name_answers;
    std::deque<std::string> file_answers;
    std::deque<bool> question_answers;  // No once they run out

    std::vector<std::pair<std::string, MessageIcon>> messages;
    std::vector<std::string> questions;
    ProfileForm* shown = nullptr;

    static std::string next(std::deque<std::string>& answers) {
        if (answers.empty()) return "";
        std::string answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::string ask_profile_name() override { return next(name_answers); }
    std::string choose_profile_file() override { return next(file_answers); }
    std::deque<std::string> picture_answers;
    std::vector<std::string> picture_titles;
    std::string choose_profile_picture(const std::string& title) override {
        picture_titles.push_back(title);
        return next(picture_answers);
    }
    void profile_message(const std::string& text, MessageIcon icon) override { messages.emplace_back(text, icon); }
    bool profile_question(const std::string& text) override {
        questions.push_back(text);
        if (question_answers.empty()) return false;
        const bool answer = question_answers.front();
        question_answers.pop_front();
        return answer;
    }
    void show_profile_window(ProfileForm& form) override { shown = &form; }
};
