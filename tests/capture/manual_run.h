#pragma once
// Sets a capture form up for a manual run at F8 over the given shutter
// speeds, saving into `folder`; the caller then presses OK and ticks.

#include <algorithm>
#include <filesystem>
#include <vector>

#include "capture/capture_form.h"
#include "support/scripted_desktop.h"

inline void prepare_manual_run(CaptureForm& form, ScriptedDesktop& desktop, const std::filesystem::path& folder,
                               const std::vector<const char*>& shutter_labels) {
    form.on_open();
    std::filesystem::create_directories(folder);
    desktop.folder_answers.push_back(folder.string());
    form.on_set_folder();
    form.on_manual();
    form.aperture1_selection = static_cast<int>(
        std::find(form.aperture_items.begin(), form.aperture_items.end(), "F8") - form.aperture_items.begin());
    for (const char* label : shutter_labels) {
        auto it = std::find(form.shutter_items.begin(), form.shutter_items.end(), label);
        form.shutter1_ticked[static_cast<size_t>(it - form.shutter_items.begin())] = true;
    }
}
