#include "lib/jpeg_export.h"

const PictureMessages& export_input_messages() {
    static const PictureMessages messages = {
        "Unknown input: cannot open {file}",
        "Unknown input format: {file} is not a Radiance picture",
        "Unknown input format: {file} is not a Radiance picture",
        "Unknown input format: {file} has no picture size",
        "Unknown input: error reading {file}",
    };
    return messages;
}

ProgramStatus unknown_option(const std::string& option) { return program_failure("Unknown option: " + option); }

ProgramStatus missing_files() { return program_failure("Unknown usage: -i and -o are required"); }

ProgramStatus save_display_image(const std::string& path, const DisplayImage& image) {
    if (!write_jpeg(path, image)) return program_failure("Unknown output: cannot write " + path);
    return success();
}
