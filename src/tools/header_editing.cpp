#include "tools/header_editing.h"

#include <cstdio>
#include <filesystem>

#include "desktop/desktop.h"
#include "picture/rgbe_reader.h"
#include "tools/editing_step.h"
#include "tools/header_text.h"
#include "tools/process_runner.h"
#include "tools/working_files.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* process_error = "Radiance Process Error!";
constexpr const char* file_error = "File IO Error";

int fail(Desktop& desktop, const std::string& text, const char* caption) {
    desktop.message_box(text, caption, MessageIcon::warning, Owner::none);
    desktop.close_progress();
    return -1;
}

}  // namespace

int read_header_for_editing(ProcessRunner& runner, Desktop& desktop, const std::string& cache_directory) {
    const std::string text_file = cache_directory + working_file::header_text;
    std::error_code ec;
    fs::remove(text_file, ec);
    const std::string command =
        header_read_for_editing_command(cache_directory + working_file::working_copy, text_file);
    const std::string failure = editing_step_failure(command, runner.run(command, true), text_file);
    if (!failure.empty()) return fail(desktop, failure, process_error);
    desktop.close_progress();
    return 0;
}

int put_header_back(ProcessRunner& runner, Desktop& desktop, const std::string& cache_directory) {
    const std::string working_copy = cache_directory + working_file::working_copy;
    const std::string text_file = cache_directory + working_file::header_text;
    std::error_code ec;
    const auto header_size = fs::file_size(text_file, ec);
    const std::string command = header_put_back_command(working_copy, text_file);
    std::string failure = editing_step_failure(command, runner.run(command, true), text_file);
    if (failure.empty()) {
        std::error_code after_ec;
        const auto size = fs::file_size(text_file, after_ec);
        if (ec || after_ec || size <= header_size)
            failure = "getinfo added no picture data to " + text_file + "; the picture was not changed";
    }
    if (failure.empty()) {
        // A header the reader refuses (a wrong FORMAT, say) would leave a
        // working copy that can no longer be shown.
        const Result<float> check = read_picture_exposure(text_file);
        if (!check)
            failure = "The edited header does not make a readable picture (" + check.failure().message +
                      "); the picture was not changed";
    }
    if (failure.empty()) {
        replace_working_file(text_file, working_copy, ec);
        if (ec) failure = "Could not replace " + working_copy + ": " + ec.message();
    }
    if (!failure.empty()) {
        fs::remove(text_file, ec);
        return fail(desktop, failure, process_error);
    }
    desktop.close_progress();
    return 0;
}

HeaderForm::HeaderForm(Desktop& desktop, std::string text_file) : desktop_(desktop), text_file_(std::move(text_file)) {}

void HeaderForm::on_open() {
    text.clear();
    original_.clear();
    std::FILE* file = std::fopen(text_file_.c_str(), "rb");
    if (!file) {
        desktop_.message_box("Unable to read file!\n" + text_file_, file_error, MessageIcon::warning, Owner::none);
        return;
    }
    std::string contents;
    char chunk[4096];
    size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) contents.append(chunk, got);
    std::fclose(file);
    original_ = header_edit_text(contents);
    text = readable_edit_text(original_);
}

std::optional<int> HeaderForm::on_ok() {
    std::FILE* file = std::fopen(text_file_.c_str(), "wb");
    if (!file) {
        desktop_.message_box("Unable to write file!\n" + text_file_, file_error, MessageIcon::warning, Owner::none);
        return std::nullopt;
    }
    const std::string header = header_file_text(with_unedited_bytes(text, original_));
    const bool written = std::fwrite(header.data(), 1, header.size(), file) == header.size();
    if (std::fclose(file) != 0 || !written) {
        desktop_.message_box("Unable to write file!\n" + text_file_, file_error, MessageIcon::warning, Owner::none);
        return std::nullopt;
    }
    return 1;
}
