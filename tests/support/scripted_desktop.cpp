#include "support/scripted_desktop.h"

#include "app/menu_table.h"

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
