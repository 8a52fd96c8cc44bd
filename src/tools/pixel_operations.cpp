#include "tools/pixel_operations.h"

#include <filesystem>

#include "common/text_format.h"
#include "desktop/desktop.h"
#include "tools/editing_step.h"
#include "tools/process_runner.h"
#include "tools/working_files.h"

FileDialogRequest mask_file_request() {
    FileDialogRequest request;
    request.kind = FileDialogRequest::Kind::open;
    request.title = "Open Mask File";
    request.filters = {{"HDR Images", "*.hdr;"},
                       {"PIC Images", "*.pic;"},
                       {"BMP Images", "*.bmp;"},
                       {"TIFF Images", "*.tif;"}};
    return request;
}

std::string mask_conversion_command(const std::string& file, int type, const std::string& converted) {
    if (type == mask_bmp) return "/C ra_bmp -r " + file + " " + converted;
    if (type == mask_tiff) return "/C ra_tiff -r " + file + " " + converted;
    return {};
}

namespace {

// "ro=...;go=...;bo=..." from one channel's formula, written for red: every
// "ri(" becomes "gi(" and "bi(" for the other two.
std::string per_channel(const std::string& red) {
    std::string text;
    for (const char c : {'r', 'g', 'b'}) {
        std::string formula = red;
        for (size_t at = 0; (at = formula.find("ri(", at)) != std::string::npos; at += 3) formula[at] = c;
        text += (text.empty() ? "" : ";") + std::string(1, c) + "o=" + formula;
    }
    return text;
}

// A op B for values as read, in the output's units (see the header).
std::string image_operation_formula(const std::string& op) {
    if (op == "+" || op == "-") return "ri(1)*le(2)" + op + "ri(2)*le(1)";
    if (op == "/") return "ri(1)*le(2)*le(2)/ri(2)";
    return "ri(1)" + op + "ri(2)";
}

}  // namespace

std::string mask_application_command(const std::string& mask, const std::string& input, const std::string& output) {
    return "/C pcomb -e \"" + per_channel("if(ri(1)-0.5,ri(2)*le(1),0)") + "\" " + mask + " " + input + " > " +
           output;
}

std::string vignetting_command(const std::string& input, const std::string& correction, const std::string& output) {
    return "/C pcomb  -e  \"" + per_channel("ri(1)*le(2)*le(2)/ri(2)") + "\" " + input + " " + correction + " > " +
           output;
}

std::string image_operation_command(const std::string& a, const std::string& op, const std::string& b,
                                    const std::string& output) {
    return "/C pcomb  -e  \"" + per_channel(image_operation_formula(op)) + "\" " + a + " " + b + " > " + output;
}

std::string constant_division_command(const std::string& input, float k, const std::string& output) {
    return "/C pcomb  -e  \"" + per_channel("ri(1)/" + format_default(k)) + "\" " + input + " > " + output;
}

int apply_mask_file(ProcessRunner& runner, Desktop& desktop, const std::string& cache_directory,
                    const std::string& mask_file, int type, const std::string& input, const std::string& target) {
    std::string mask = mask_file;
    const std::string converted = cache_directory + working_file::mask;
    const std::string conversion = mask_conversion_command(mask_file, type, converted);
    if (!conversion.empty()) {
        std::error_code ec;
        std::filesystem::remove(converted, ec);
        const ProcessOutput result = runner.run(conversion, true);
        const std::string failure = editing_step_failure(conversion, result, converted);
        if (!failure.empty()) {
            desktop.message_box(failure, "Radiance Process Error!", MessageIcon::warning, Owner::none);
            desktop.close_progress();
            return -1;
        }
        desktop.close_progress();
        mask = converted;
    }
    const std::string output = cache_directory + working_file::step_output;
    return run_editing_step_into(runner, desktop, mask_application_command(mask, input, output), output, target);
}
