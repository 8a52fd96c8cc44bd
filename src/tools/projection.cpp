#include "tools/projection.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "common/text_format.h"
#include "desktop/desktop.h"
#include "tools/editing_step.h"
#include "tools/header_text.h"
#include "tools/process_runner.h"
#include "tools/working_files.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* process_error = "Radiance Process Error!";
constexpr const char* file_error = "File IO Error!";

void fail(Desktop& desktop, const std::string& text, const char* caption) {
    desktop.message_box(text, caption, MessageIcon::warning, Owner::none);
    desktop.close_progress();
}

// Writes the fisheye header for `input` into `header_file`; false after the
// failure has been shown.
bool write_fisheye_header(ProcessRunner& runner, Desktop& desktop, const std::string& input,
                          const std::string& header_file, float exposure) {
    std::FILE* file = std::fopen(header_file.c_str(), "wb");
    if (!file) {
        fail(desktop, "Failed to initialize header file", file_error);
        return false;
    }
    const std::string command = header_read_command(input);
    const ProcessOutput result = runner.run(command, true);
    const std::vector<std::string> lines = header_lines_of(result.text);
    if (!result.started || result.exit_status != 0 || lines.empty()) {
        std::fclose(file);
        std::string why = !result.started ? result.error : result.text;
        if (why.empty()) why = "getinfo printed no header for " + input;
        fail(desktop, why, process_error);
        return false;
    }
    const std::string header = projection_header(lines, exposure);
    const bool written = std::fwrite(header.data(), 1, header.size(), file) == header.size();
    if (std::fclose(file) != 0 || !written) {
        fail(desktop, "Could not write " + header_file, file_error);
        return false;
    }
    desktop.close_progress();
    return true;
}

// Appends the pixel data of `input` to the header file; false after the
// failure has been shown.
bool append_picture_data(ProcessRunner& runner, Desktop& desktop, const std::string& input,
                         const std::string& header_file) {
    std::error_code ec;
    const auto header_size = fs::file_size(header_file, ec);
    const std::string command = header_put_back_command(input, header_file);
    const ProcessOutput result = runner.run(command, true);
    std::string failure = editing_step_failure(command, result, header_file);
    if (failure.empty()) {
        std::error_code after_ec;
        const auto after = fs::file_size(header_file, after_ec);
        if (ec || after_ec || after <= header_size)
            failure = "getinfo added no picture data to " + header_file + "; the picture was not changed";
    }
    if (!failure.empty()) {
        fail(desktop, failure, process_error);
        return false;
    }
    desktop.close_progress();
    return true;
}

}  // namespace

ProjectedSize projected_size(uint64_t width, uint64_t height) {
    const uint64_t side = std::min(width, height);
    return {side, side};
}

std::string projection_size_problem(uint64_t width, uint64_t height) {
    const ProjectedSize size = projected_size(width, height);
    if (width > max_projection_pixels || height > max_projection_pixels ||
        !projection_size_fits(size.width, size.height))
        return strprintf("The projection needs a width and a height of at least 1 and at most %llu pixels in all "
                         "(%llu x %llu asks for a picture of %llu x %llu).",
                         static_cast<unsigned long long>(max_projection_pixels),
                         static_cast<unsigned long long>(width), static_cast<unsigned long long>(height),
                         static_cast<unsigned long long>(size.width), static_cast<unsigned long long>(size.height));
    return {};
}

std::string projection_command(const std::string& input, uint32_t width, uint32_t height, const std::string& output) {
    const std::string size = strprintf(" -x %u -y %u", width, height);
    return "/C pinterp  -vf " + input + " -vth " + size + " -ff " + input + " 1 > " + output;
}

int project_to_hemisphere(ProcessRunner& runner, Desktop& desktop, const std::string& cache_directory,
                          float exposure, uint32_t width, uint32_t height) {
    const std::string input = cache_directory + working_file::working_copy;
    const std::string header_file = cache_directory + working_file::header;
    const std::string output = cache_directory + working_file::step_output;
    int result = -1;
    if (write_fisheye_header(runner, desktop, input, header_file, exposure) &&
        append_picture_data(runner, desktop, input, header_file))
        result = run_editing_step_into(runner, desktop, projection_command(header_file, width, height, output),
                                       output, input);
    std::error_code ec;
    fs::remove(header_file, ec);
    return result;
}
