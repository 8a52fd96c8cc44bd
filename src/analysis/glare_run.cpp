#include "analysis/glare_run.h"

#include <filesystem>

#include "analysis/glare_command.h"
#include "analysis/lens_figures.h"
#include "picture/rgbe_reader.h"
#include "common/text_format.h"
#include "desktop/desktop.h"
#include "tools/editing_step.h"
#include "tools/process_runner.h"
#include "tools/working_files.h"

namespace fs = std::filesystem;

namespace {

int fail(Desktop& desktop, const std::string& text, const char* caption) {
    desktop.message_box(text, caption, MessageIcon::warning, Owner::none);
    desktop.close_progress();
    return -1;
}

}  // namespace

std::string glare_failure(const ProcessOutput& output, const std::string& check_picture) {
    if (!output.started) return output.error;
    // Anything but a result line is evalglare's complaint.
    if (!has_glare_result(output.text)) return output.text.empty() ? "evalglare printed no result" : output.text;
    if (output.exit_status != 0) return output.text;
    std::error_code ec;
    const auto size = fs::file_size(check_picture, ec);
    if (ec || size == 0) return "evalglare wrote no check picture " + check_picture;
    return {};
}

GlareRun run_glare_analysis(GlareHost& host, const GlareSettings& settings) {
    Desktop& desktop = host.desktop();
    const std::string cache = host.glare_cache_directory();
    const std::string working_copy = cache + working_file::working_copy;
    const std::string check_picture = cache + working_file::step_output;
    const std::string scaled = cache + glare_scaled_picture;
    std::error_code ec;
    GlareRun run;

    const LuminanceMap& map = host.picture_map();
    GlareScale scale = glare_scale(map.width, map.height);
    scale.rows_from_top = rows_numbered_from_top(working_copy);
    if (scale.scaled()) {
        fs::remove(scaled, ec);
        const std::string line = glare_downscale_command(scale.factor, working_copy, scaled);
        const std::string failure = editing_step_failure(line, host.runner().run(line, true), scaled);
        if (!failure.empty()) {
            fs::remove(scaled, ec);
            run.status = fail(desktop, failure, "Radiance Process Error!");
            return run;
        }
    }

    {
        // The clipped pixels of the picture analysed (the map the window
        // holds of it), before the check picture takes its place.
        const auto header = read_picture_header(working_copy);
        if (!map.empty() && map.data.size() == static_cast<size_t>(map.width) * static_cast<size_t>(map.height) &&
            header.ok()) {
            const PictureLens lens = picture_lens(map, header.value());
            run.ceiling_pixels = lens.ceiling_pixels;
            run.ceiling_share_percent = lens.ceiling_share_percent;
        }
    }
    const std::string options = glare_option_text(settings, scale);
    const std::string input = scale.scaled() ? scaled : working_copy;
    run.command_line = glare_command(check_picture, options, input);
    fs::remove(check_picture, ec);
    const ProcessOutput output = host.runner().run(run.command_line, true);
    run.result_text = output.started ? output.text : output.error;
    const std::string failure = glare_failure(output, check_picture);
    if (failure.empty()) {
        auto pump = [](void* context) { static_cast<Desktop*>(context)->pump(); };
        const ProcessOutput detailed = run_shell_command(glare_detail_command(options, input),
                                                         host.runner().program_folder(), pump, &desktop);
        if (detailed.started && detailed.exit_status == 0) run.details = glare_details_of(detailed.text);
    }
    fs::remove(scaled, ec);
    if (!failure.empty()) {
        fs::remove(check_picture, ec);
        run.status = fail(desktop, failure, "Evalglare Process Error!");
        return run;
    }
    replace_working_file(check_picture, working_copy, ec);
    if (ec) {
        const std::string why = ec.message();
        fs::remove(check_picture, ec);
        run.status = fail(desktop, "Could not replace " + working_copy + ": " + why, "File IO Error!");
        return run;
    }
    run.status = 0;
    return run;
}
