#include "settings/settings_form.h"

#include "tools/command_path.h"

std::string browse_for_folder(Desktop& desktop, Owner owner, const std::string& title) {
    std::string path = desktop.choose_folder(title, owner);
    if (path.empty()) return {};
    if (!is_command_safe_path(path)) {
        desktop.message_box("Cache path cannot contain spaces", "Path Error", MessageIcon::error, owner);
        return {};
    }
    return path;
}

SettingsForm::SettingsForm(Desktop& desktop, const SettingsFile& file, AppliedSettings& settings)
    : desktop_(desktop), file_(file), settings_(settings) {}

void SettingsForm::on_open() {
    cache_text = file_.read_setting("CACHE=");
    // The radio buttons show what is in effect, not what the file says.
    reinhard_checked = settings_.default_tone_mapper == tone_mapper_reinhard;
    ward_checked = settings_.default_tone_mapper == tone_mapper_ward;
    uncompressed_checked = settings_.display_mode == display_bmp;
    compressed_checked = settings_.display_mode == display_gif;
    apply_cache_setting(file_, settings_);
}

void SettingsForm::on_browse() {
    settings_.pending_cache_path = browse_for_folder(desktop_, Owner::dialog, "Select Cache Directory");
    if (!settings_.pending_cache_path.empty()) cache_text = settings_.pending_cache_path;
}

int SettingsForm::on_ok() {
    std::string text = cache_text;
    if (text.size() > max_cache_directory_chars) text.resize(max_cache_directory_chars);
    settings_.cache_directory = text;

    if (!settings_.pending_cache_path.empty()) {
        std::string pending = settings_.pending_cache_path;
        if (pending.size() > max_cache_directory_chars) pending.resize(max_cache_directory_chars);
        file_.write_setting("CACHE=", pending);
        apply_cache_setting(file_, settings_);
    }
    if (reinhard_checked) {
        file_.write_setting("DEFTONEMAP=", "reinhard");
        apply_tonemap_setting("reinhard", settings_);
    } else if (ward_checked) {
        file_.write_setting("DEFTONEMAP=", "ward");
        apply_tonemap_setting("ward", settings_);
    }
    if (uncompressed_checked) {
        file_.write_setting("IMGDISP=", "bmp");
        apply_display_setting("bmp", settings_);
    } else if (compressed_checked) {
        file_.write_setting("IMGDISP=", "gif");
        apply_display_setting("gif", settings_);
    }
    return 0;
}
