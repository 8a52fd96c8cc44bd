#include "lib/glare_program.h"

#include <cstdio>

#include "lib/glare_analysis.h"
#include "lib/glare_check_picture.h"
#include "lib/glare_report.h"
#include "lib/luminance_picture.h"
#include "picture/view_projection.h"

namespace {

// The picture's own view: its VIEW= (and renderer, and evalglare's own
// command) lines, later ones overriding earlier ones.
std::optional<View> header_view(const PictureHeader& header) {
    View view;
    int found = 0;
    for (const auto& line : header.lines)
        if (is_view_line(line, "evalglare")) found += apply_view_options(view, line) > 0 ? 1 : 0;
    if (found == 0) return std::nullopt;
    return view;
}

std::string check_picture_command(const std::vector<std::string>& words) {
    std::string text;
    for (const auto& word : words) text += word + " ";
    return text;
}

}  // namespace

ProgramStatus evaluate_glare(const GlareOptions& options) {
    LuminancePicture picture;
    if (auto status = read_luminance_picture(options.input, picture); !status.ok()) return status;

    const auto own_view = header_view(picture.header);
    const std::optional<View> view = options.view ? options.view : own_view;
    if (!view) return program_failure("no valid view specified");
    if (view->type == 'l') return program_failure("wrong view type: a parallel view has no glare geometry");
    if (const auto problem = view_problem(*view)) return program_failure(*problem);
    const auto projection = ViewProjection::make(*view, picture.width, picture.height);
    if (!projection) return program_failure("no valid view specified");
    if (options.view && own_view)
        std::fprintf(stderr, "warning: the view of the command line replaces the picture's own\n");

    for (const auto& notice : picture.notices) std::fprintf(stderr, "%s\n", notice.c_str());
    GlareAnalysis analysis;
    if (auto status = analyse_glare(std::move(picture.luminance), *view, *projection, row_layout(picture.resolution),
                                    options, analysis);
        !status.ok())
        return status;
    for (const auto& notice : analysis.notices) std::fprintf(stderr, "%s\n", notice.c_str());
    if (options.illuminance_only) {
        std::printf("%f\n", analysis.illuminance);
        return success();
    }
    if (!options.check_picture.empty())
        if (auto status = write_check_picture(options.check_picture, check_picture_command(options.words), *view,
                                              picture.resolution, analysis);
            !status.ok())
            return status;
    if (options.detailed) std::fputs(glare_details(analysis).c_str(), stdout);
    std::fputs(glare_result_line(analysis.indices).c_str(), stdout);
    return success();
}
