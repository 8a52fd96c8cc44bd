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

std::string mask_application_command(const std::string& mask, const std::string& input, const std::string& output) {
    return "/C pcomb -e \"ro=if(ri(1)-0.5,ri(2),0);go=if(gi(1)-0.5,gi(2),0);bo=if(bi(1)-0.5,bi(2),0)\" " + mask +
           " " + input + " > " + output;
}

std::string vignetting_command(const std::string& input, const std::string& correction, const std::string& output) {
    return "/C pcomb  -e  \"ro=ri(1) / ri(2);go=gi(1) / gi(2);bo=bi(1) / bi(2)\" " + input + " " + correction +
           " > " + output;
}

std::string image_operation_command(const std::string& a, const std::string& op, const std::string& b,
                                    const std::string& output) {
    return "/C pcomb  -e  \"ro=ri(1)" + op + "ri(2);go=gi(1) " + op + "gi(2);bo=bi(1)" + op + "bi(2)\" " + a + " " +
           b + " > " + output;
}

std::string constant_division_command(const std::string& input, float k, const std::string& output) {
    const std::string factor = format_default(k);
    return "/C pcomb  -e  \"ro=ri(1)/" + factor + ";go=gi(1)/" + factor + ";bo=bi(1)/" + factor + "\" " + input +
           " > " + output;
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
