#include "macro/batch_form.h"

#include "settings/settings_form.h"

BatchForm::BatchForm(Desktop& desktop, std::string& sequence_path, std::string& collection_folder)
    : desktop_(desktop), sequence_path_(sequence_path), collection_folder_(collection_folder) {}

void BatchForm::on_open() {
    sequence_text.clear();
    folder_text.clear();
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

bool BatchForm::on_ok() {
    if (!collection_folder_.empty() && !sequence_path_.empty()) return true;
    desktop_.message_box("Invalid File/Path", "File Error", MessageIcon::warning, Owner::none);
    return false;
}
