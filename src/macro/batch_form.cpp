#include "macro/batch_form.h"

#include "regions/region_file.h"
#include "settings/settings_form.h"

BatchForm::BatchForm(Desktop& desktop, std::string& sequence_path, std::string& collection_folder)
    : desktop_(desktop), sequence_path_(sequence_path), collection_folder_(collection_folder) {}

void BatchForm::on_open() {
    sequence_text.clear();
    folder_text.clear();
    regions_text.clear();
}

void BatchForm::on_browse() {
    sequence_path_.clear();
    FileDialogRequest request;
    request.kind = FileDialogRequest::Kind::open;
    request.title = "Open Macro File";
    request.filters = {{"Macro Sequence Files", "*.seq;"}};
    request.owner = Owner::dialog;
    const FileDialogAnswer answer = desktop_.file_dialog(request);
    if (answer.cancelled() || answer.path.empty()) return;
    sequence_path_ = answer.path;
    sequence_text = answer.path;
}

void BatchForm::on_set_path() {
    collection_folder_ = browse_for_folder(desktop_, Owner::dialog, "Select HDR Collection Directory");
    if (!collection_folder_.empty()) folder_text = collection_folder_;
}

void BatchForm::on_regions() {
    FileDialogRequest request;
    request.kind = FileDialogRequest::Kind::open;
    request.title = "Open Region File";
    request.filters = {{"Region Files", "*.regions.json;"}, {"JSON Files", "*.json;"}};
    request.owner = Owner::dialog;
    const FileDialogAnswer answer = desktop_.file_dialog(request);
    if (answer.cancelled() || answer.path.empty()) return;
    regions_text = answer.path;
}

std::string BatchForm::regions_file() const {
    const size_t first = regions_text.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    return regions_text.substr(first, regions_text.find_last_not_of(" \t") - first + 1);
}

bool BatchForm::on_ok() {
    if (collection_folder_.empty() || sequence_path_.empty()) {
        desktop_.message_box("Invalid File/Path", "File Error", MessageIcon::warning, Owner::none);
        return false;
    }
    // A regions file that cannot be read is said now, before any picture
    // is touched.
    if (const std::string regions = regions_file(); !regions.empty()) {
        if (auto file = read_region_file(regions); !file) {
            desktop_.message_box(file.failure().message, "File Error", MessageIcon::warning, Owner::dialog);
            return false;
        }
    }
    return true;
}
