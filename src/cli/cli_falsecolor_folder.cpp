// falsecolor PICTURE... --out-dir DIR [--scale FILE | --range LO,HI |
// --auto-scale] [--legend] [--extrema] [--contours] [--png]: every picture
// on one scale, so that the pictures of a study can be compared. Without a
// scale choice the range runs over all pictures' common extremes.

#include <filesystem>
#include <set>

#include "cli/cli_commands.h"
#include "desktop/windowless_desktop.h"
#include "cli/cli_falsecolor.h"
#include "picture/bmp_writer.h"
#include "picture/png_writer.h"
#include "common/text_format.h"
#include "tools/falsecolor_figure.h"
#include "tools/falsecolor_form.h"

namespace fs = std::filesystem;

namespace {

std::string scale_words(const FalsecolorScale& scale) {
    static const char* displays[] = {"smooth", "contours", "bands", "posterised"};
    static const char* palettes[] = {"classic", "viridis", "spectral"};
    return std::string(scale.logarithmic ? "log" : "linear") + ", " + std::to_string(scale.steps) + " steps, " +
           palettes[static_cast<int>(scale.palette)] + ", " + displays[static_cast<int>(scale.display)];
}

}  // namespace

int run_falsecolor_folder(const FalsecolorOptions& options, const CliPlaces& places, const CliOutput& output) {
    std::error_code ec;
    if (!fs::is_directory(options.out_dir, ec))
        return output.fail(exit_bad_input, "the folder " + options.out_dir + " does not exist");

    // Every output name first: nothing is written when one is refused.
    const std::string extension = options.png ? ".png" : ".bmp";
    std::vector<std::string> outputs;
    std::set<std::string> names;
    for (const std::string& picture : options.pictures) {
        const std::string name = fs::path(picture).stem().string();
        if (!names.insert(name).second)
            return output.fail(exit_bad_input, "two pictures are named " + name + "; each needs its own output");
        const std::string out = (fs::path(options.out_dir) / (name + extension)).string();
        if (const std::string problem = existing_output_problem(out, options.overwrite); !problem.empty())
            return output.fail(exit_bad_input, problem);
        outputs.push_back(out);
    }

    FalsecolorScale scale;
    if (!options.scale_file.empty()) {
        auto read = read_scale_file(options.scale_file);
        if (!read) return output.fail(exit_bad_input, read.failure().message);
        scale = read.value();
    } else if (!options.bottom_text.empty()) {
        // As the window reads its fields: absolute values, the smaller at the bottom.
        FalsecolorForm form;
        form.on_open(0, 0, 0, 0);
        form.bottom_text = options.bottom_text;
        form.top_text = options.top_text;
        form.on_field_edited();
        const auto request = form.on_apply();
        scale.bottom = request->bottom;
        scale.top = request->top;
    }
    if (options.contours) scale.display = FalsecolorDisplay::contours;

    if (!places.cache_warning.empty()) output.warn(places.cache_warning);
    const RunFolder folder(places.cache_folder);
    if (!folder.created()) return output.fail(exit_failed, folder.error());
    WindowlessDesktop desktop;

    bool measured = false;
    for (const std::string& picture : options.pictures) {
        auto map = read_picture(picture);
        if (!map) return output.fail(exit_bad_input, map.failure().message);
        if (options.scale_file.empty() && options.bottom_text.empty()) {
            // One range for all: from the darkest to the brightest of them.
            const auto extremes = measure_extremes(picture, map.value().exposure, folder.path(), places, desktop);
            if (!extremes) return output.fail(extremes.failure().code, extremes.failure().message);
            scale.bottom = measured ? std::min(scale.bottom, extremes.value().minimum) : extremes.value().minimum;
            scale.top = measured ? std::max(scale.top, extremes.value().maximum) : extremes.value().maximum;
            measured = true;
        }
    }

    const bool over_picture =
        scale.display == FalsecolorDisplay::contours || scale.display == FalsecolorDisplay::bands;
    for (size_t i = 0; i < options.pictures.size(); ++i) {
        auto read = read_picture(options.pictures[i]);
        if (!read) return output.fail(exit_bad_input, read.failure().message);
        const LuminanceMap& map = read.value();
        const BgrRaster picture = render_on_scale(map, scale, over_picture ? tone_mapped_grey(map) : BgrRaster{},
                                                  contour_line_width(map.width, map.height));
        FigureOptions figure_options{options.legend, options.extrema, {}};
        if (options.extrema) figure_options.marks = find_extrema(map);
        const BgrRaster figure = falsecolor_figure(picture, scale, figure_options);
        const bool written = options.png ? write_png24(outputs[i], figure.width, figure.height, figure.bgr)
                                         : write_bmp24(outputs[i], figure.width, figure.height, figure.bgr);
        if (!written) return output.fail(exit_failed, "File IO Error!: Could not write " + outputs[i]);
        output.out << "Picture: " << outputs[i] << '\n';
    }
    output.out << "Range: " << format_default(scale.bottom) << " to " << format_default(scale.top) << ' '
               << units_text(scale.units) << '\n';
    output.out << "Scale: " << scale_words(scale) << '\n';
    return 0;
}
