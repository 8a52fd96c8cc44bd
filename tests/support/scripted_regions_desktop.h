#pragma once
// The region panel's windows answered from a script: the files, names and
// colours to give, the answers to questions, and a record of every message,
// question and table shown. RegionsScript holds the script so that a GUI
// test can answer the dialogs of the real Qt desktop from it too.

#include <deque>
#include <string>
#include <utility>
#include <vector>

#include "regions/regions_desktop.h"

struct RegionsScript {
    std::deque<std::string> region_files;  // answers to choose_region_file
    std::deque<std::string> table_files;   // answers to choose_table_file
    std::deque<std::string> colors;
    std::deque<bool> answers;  // No once they run out

    std::vector<std::pair<std::string, MessageIcon>> messages;
    std::vector<std::string> questions;
    std::vector<std::string> suggested;  // what each file dialog started from

    static std::string next(std::deque<std::string>& queue) {
        if (queue.empty()) return "";
        std::string answer = std::move(queue.front());
        queue.pop_front();
        return answer;
    }
    std::string region_file(const std::string& start) {
        suggested.push_back(start);
        return next(region_files);
    }
    std::string table_file(const std::string& start) {
        suggested.push_back(start);
        return next(table_files);
    }
    bool question(const std::string& text) {
        questions.push_back(text);
        if (answers.empty()) return false;
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

struct ScriptedRegionsDesktop : RegionsDesktop, RegionsScript {
    bool panel_shown = false;
    int changes = 0;
    RegionTableForm* table = nullptr;

    void show_region_panel(bool shown) override { panel_shown = shown; }
    void regions_changed() override { ++changes; }
    std::string choose_region_file(bool, const std::string& start) override { return region_file(start); }
    std::string choose_table_file(const std::string& start) override { return table_file(start); }
    std::string choose_region_color(const std::string&) override { return next(colors); }
    void region_message(const std::string& text, MessageIcon icon) override { messages.emplace_back(text, icon); }
    bool region_question(const std::string& text) override { return question(text); }
    void show_region_table(RegionTableForm& form) override { table = &form; }
};
