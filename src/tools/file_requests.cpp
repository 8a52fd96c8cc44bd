#include "tools/file_requests.h"

#include "tools/command_path.h"

FileDialogRequest open_image_request(Owner owner) {
    FileDialogRequest request;
    request.kind = FileDialogRequest::Kind::open;
    request.title = "Open Image";
    request.filters = {{"HDR Images", "*.hdr;"}, {"PIC Images", "*.pic;"}};
    request.owner = owner;
    return request;
}

std::optional<FileDialogAnswer> choose_command_file(Desktop& desktop, const FileDialogRequest& request) {
    FileDialogAnswer answer = desktop.file_dialog(request);
    if (answer.cancelled()) return std::nullopt;
    if (!is_command_safe_path(answer.path)) {
        desktop.message_box("File path cannot contain spaces", "Path Error", MessageIcon::error, request.owner);
        return std::nullopt;
    }
    return answer;
}

std::string choose_command_path(Desktop& desktop, const FileDialogRequest& request, int* filter_index) {
    const std::optional<FileDialogAnswer> answer = choose_command_file(desktop, request);
    if (!answer) return {};
    if (filter_index) *filter_index = answer->filter_index;
    return answer->path;
}
