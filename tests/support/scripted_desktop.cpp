#include "support/scripted_desktop.h"

#include <cmath>
#include <cstdint>

#include "analysis/analysis_wizard.h"
#include "analysis/calibration_wizard.h"
#include "app/menu_table.h"
#include "support/temp_folder.h"

ScriptedDesktop::ScriptedDesktop() {
    for (const MenuItem& item : main_menu()) {
        if (item.separator()) continue;
        menu_enabled[item.id] = item.enabled;
        menu_checked[item.id] = item.checked;
    }
}

void ScriptedDesktop::message_box(const std::string& text, const std::string& caption, MessageIcon icon,
                                  Owner owner) {
    messages.push_back({text, caption, icon, owner});
}

FileDialogAnswer ScriptedDesktop::file_dialog(const FileDialogRequest& request) {
    file_requests.push_back(request);
    if (file_answers.empty()) return {};
    FileDialogAnswer answer = file_answers.front();
    file_answers.pop_front();
    return answer;
}

std::string ScriptedDesktop::choose_folder(const std::string&, Owner) {
    if (folder_answers.empty()) return {};
    std::string answer = folder_answers.front();
    folder_answers.pop_front();
    return answer;
}

void ScriptedDesktop::show_progress() {
    ++progress_shows;
    progress_open_ = true;
}

void ScriptedDesktop::close_progress() {
    ++progress_closes;
    progress_open_ = false;
}

int ScriptedDesktop::run_settings_dialog(SettingsForm& form) {
    return settings_dialog ? settings_dialog(form) : 0;
}

int ScriptedDesktop::run_about_dialog() {
    ++about_runs;
    return about_result;
}

bool ScriptedDesktop::load_display_picture(const std::string& path, SizeF& size) {
    const std::string bytes = read_file(path);
    auto little = [&](size_t at, size_t count) {
        uint32_t value = 0;
        for (size_t i = 0; i < count; ++i) value |= static_cast<uint32_t>(static_cast<uint8_t>(bytes[at + i])) << (8 * i);
        return value;
    };
    if (bytes.size() >= 26 && bytes.compare(0, 2, "BM") == 0) {
        size = {static_cast<float>(static_cast<int32_t>(little(18, 4))),
                std::abs(static_cast<float>(static_cast<int32_t>(little(22, 4))))};
    } else if (bytes.size() >= 10 && bytes.compare(0, 3, "GIF") == 0) {
        size = {static_cast<float>(little(6, 2)), static_cast<float>(little(8, 2))};
    } else {
        return false;
    }
    display_picture = path;
    return true;
}

// --- analysis ---

bool ScriptedDesktop::ask_yes_no(const std::string& text, const std::string& caption, Owner owner) {
    questions.push_back({text, caption, MessageIcon::none, owner});
    if (yes_no_answers.empty()) return false;
    const bool answer = yes_no_answers.front();
    yes_no_answers.pop_front();
    return answer;
}

int ScriptedDesktop::run_analysis_wizard(AnalysisWizard& wizard) {
    if (analysis_wizard) return analysis_wizard(wizard);
    wizard.sheet().press_cancel();
    return wizard.sheet().result();
}

// --- macro ---

void ScriptedDesktop::show_batch_progress(int steps) {
    ++batch_progress_shows;
    batch_progress_steps = steps;
    batch_progress.clear();
}

void ScriptedDesktop::set_batch_progress(int done, const std::string& text) { batch_progress.emplace_back(done, text); }

bool ScriptedDesktop::batch_stop_requested() const {
    return stop_after_updates >= 0 && static_cast<int>(batch_progress.size()) >= stop_after_updates;
}

// --- calibration ---

int ScriptedDesktop::run_calibration_wizard(CalibrationWizard& wizard) {
    if (calibration_wizard) return calibration_wizard(wizard);
    wizard.sheet().press_cancel();
    return wizard.sheet().result();
}
