#include "tools/export_commands.h"

#include <cstdlib>

#include "common/text_format.h"

std::string apply_output_name_rule(const std::string& path, const std::string& extension) {
    const size_t slash = path.find_last_of('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const size_t dot = name.find_last_of('.');
    const std::string found = dot == std::string::npos ? name.substr(0, 3) : name.substr(dot + 1, 3);
    if (found == extension) return path;
    return path + "." + extension;
}

FileDialogRequest save_image_request(bool falsecolor_view, bool offer_png) {
    FileDialogRequest request;
    request.kind = FileDialogRequest::Kind::save;
    request.title = "Save Image as";
    // The question comes from the application, about the name with its
    // extension (export_paths.h); the dialog only sees the name as typed.
    request.overwrite_prompt = false;
    request.owner = Owner::main_window;
    if (falsecolor_view) {
        request.filters = {{"Bitmap Image (*.bmp)", "*.bmp;"}};
        if (offer_png) request.filters.push_back({"PNG Image (*.png)", "*.png;"});
    } else {
        request.filters = {{"Radiance RGBE Image (*.hdr)", "*.hdr;"},
                           {"Bitmap Image (*.bmp)", "*.bmp;"},
                           {"Compressed JPEG Image (*.jpg)", "*.jpg;"},
                           {"GIF Image (*.gif)", "*.gif;"}};
    }
    return request;
}

FileDialogRequest jpeg_save_request() {
    FileDialogRequest request;
    request.kind = FileDialogRequest::Kind::save;
    request.overwrite_prompt = false;  // asked about the final name, as above
    request.owner = Owner::dialog;
    request.filters = {{"JPG Image", "*.jpg;"}};
    return request;
}

std::string save_type_extension(int type) {
    switch (type) {
    case save_bmp: return "bmp";
    case save_jpeg: return "jpg";
    case save_gif: return "gif";
    default: return "hdr";
    }
}

std::string save_bmp_command(const std::string& working_copy, const std::string& output) {
    return "/C ra_bmp " + working_copy + "  " + output;
}

std::string save_gif_command(const std::string& working_copy, const std::string& output) {
    return "/C ra_gif " + working_copy + "  " + output;
}

std::string reinhard_save_command(const std::string& working_copy, const std::string& output) {
    return "/C ReinhardTM -i " + working_copy + " -o " + output;
}

std::string pcond_command(const std::string& options, const std::string& working_copy, const std::string& scratch) {
    return "/C pcond " + options + working_copy + " > " + scratch;
}

std::string tm_linear_command(const std::string& scratch, const std::string& output) {
    return "/C tm_linear -i " + scratch + " -o " + output;
}

std::string format_default_wide_exponent(float value) {
    std::string text = format_default(value);
    const size_t e = text.find('e');
    if (e == std::string::npos || e + 2 > text.size()) return text;
    // "1e+20" → "1e+020": sign kept, digits padded to three.
    const size_t digits = e + 2;
    const size_t count = text.size() - digits;
    if (count < 3) text.insert(digits, 3 - count, '0');
    return text;
}

std::string reinhard_command(const std::string& working_copy, const std::string& output,
                             const ReinhardOptions& options) {
    std::string line = reinhard_save_command(working_copy, output);
    if (options.dodging) line += " -scale ";
    line += " -key " + format_default_wide_exponent(options.key);
    line += " -white " + format_default_wide_exponent(options.white);
    line += " -gamma " + format_default_wide_exponent(options.gamma);
    line += " -threshold " + format_default_wide_exponent(options.threshold);
    return line;
}

std::string ward_option_text(const WardOptions& options) {
    constexpr size_t human = 0, linear = 6;
    std::string text;
    for (size_t i = 0; i < options.switches.size(); ++i) {
        if (!options.switches[i]) continue;
        const bool bundled = i >= 1 && i <= 4 && options.switches[human];
        if (bundled) continue;
        text += std::string(" ") + ward_switch_names[i] + " ";
    }
    // An exposure of 0 means none: pcond then finds its own linear factor.
    if (options.switches[linear] && options.exposure != 0.0f)
        text += " -e " + format_default_wide_exponent(options.exposure);
    text += " ";
    return text;
}
