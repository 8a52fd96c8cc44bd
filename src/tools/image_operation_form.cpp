#include "tools/image_operation_form.h"

#include "tools/file_requests.h"

ImageOperationForm::ImageOperationForm(Desktop& desktop, ImageOperandPaths& kept, ImageOperation& operation)
    : desktop_(desktop), kept_(kept), operation_(operation) {}

const std::vector<std::string>& ImageOperationForm::operators() {
    static const std::vector<std::string> list = {"+", "-", "*", "/"};
    return list;
}

void ImageOperationForm::on_open() {
    operator_index = 1;
    a_text = kept_.a;
    b_text = kept_.b;
}

void ImageOperationForm::on_browse_a() {
    const std::string path = choose_command_path(desktop_, open_image_request(Owner::dialog));
    if (path.empty()) return;
    kept_.a = a_text = path;
}

void ImageOperationForm::on_browse_b() {
    const std::string path = choose_command_path(desktop_, open_image_request(Owner::dialog));
    if (path.empty()) return;
    kept_.b = b_text = path;
}

std::optional<int> ImageOperationForm::on_ok() {
    const bool has_operator = operator_index >= 0 && operator_index < static_cast<int>(operators().size());
    if (kept_.a.empty() || kept_.b.empty() || !has_operator) {
        desktop_.message_box("Please enter all values.", "Input Error", MessageIcon::warning, Owner::dialog);
        return std::nullopt;
    }
    operation_ = {kept_.a, kept_.b, operators()[static_cast<size_t>(operator_index)]};
    return 1;
}
