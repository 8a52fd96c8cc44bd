#pragma once
// The series windows answered from a script: the folder, regions file and
// export names to give, and a record of every message.

#include <deque>
#include <string>
#include <utility>
#include <vector>

#include "series/series_desktop.h"

struct ScriptedSeriesDesktop : SeriesDesktop {
    std::deque<std::string> folder_answers;
    std::deque<std::string> regions_answers;
    std::deque<std::string> csv_answers;
    std::deque<FileDialogAnswer> plot_answers;

    std::vector<std::pair<std::string, MessageIcon>> messages;
    std::vector<std::string> suggested;
    SeriesForm* shown = nullptr;

    static std::string next(std::deque<std::string>& answers) {
        if (answers.empty()) return "";
        std::string answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::string choose_series_folder() override { return next(folder_answers); }
    std::string choose_regions_file() override { return next(regions_answers); }
    std::string choose_series_csv(const std::string& name) override {
        suggested.push_back(name);
        return next(csv_answers);
    }
    FileDialogAnswer choose_series_plot(const std::string& name) override {
        suggested.push_back(name);
        if (plot_answers.empty()) return {};
        FileDialogAnswer answer = plot_answers.front();
        plot_answers.pop_front();
        return answer;
    }
    void series_message(const std::string& text, MessageIcon icon) override { messages.emplace_back(text, icon); }
    void show_series_window(SeriesForm& form) override { shown = &form; }
};
