// series FOLDER --csv OUT.csv: one row of figures per picture over a day of
// captures; the jobs for a cluster (--emit-jobs) and the merge of their
// parts (--collect).

#include <filesystem>
#include <set>

#include "cli/cli_commands.h"
#include "common/regular_file.h"
#include "common/text_format.h"
#include "macro/replay_command.h"
#include "regions/region_file.h"
#include "series/series_plot.h"
#include "series/series_run.h"

namespace fs = std::filesystem;

namespace {

// The command that measures one chunk of the folder's pictures into its
// own part, as this run would measure them. Every word is quoted for the
// user's shell, the paths are absolute, and each part is replaced when the
// job runs again.
std::string series_job(const SeriesCliOptions& options, const CliPlaces& places, const std::string& folder,
                       const std::vector<SeriesInput>& chunk, size_t part) {
    std::string job = quoted_word(absolute_path(places.executable)) + " series " + quoted_word(absolute_path(folder)) +
                      " --csv " + quoted_word(absolute_path(options.csv) + strprintf(".part-%zu", part));
    if (options.glare) job += " --glare " + quoted_word(*options.glare);
    if (!options.regions_file.empty()) job += " --regions " + quoted_word(absolute_path(options.regions_file));
    job += " --jobs 1 --overwrite";
    for (const SeriesInput& picture : chunk) job += " --picture " + quoted_word(picture.name);
    return job;
}

int write_plot_of(const SeriesCliOptions& options, const CliOutput& output) {
    if (options.plot.empty()) return 0;
    auto table = read_series_csv(options.csv);
    if (!table) return output.fail(exit_failed, table.failure().message);
    auto layout = series_plot_layout(table.value().rows, table.value().region_names,
                                     plot_figure_list(options.figures));
    if (!layout) return output.fail(exit_bad_input, layout.failure().message);
    auto written = write_plot(layout.value(), options.plot);
    if (!written) return output.fail(exit_failed, written.failure().message);
    return 0;
}

// The figures must be known before anything is measured.
int check_plot(const SeriesCliOptions& options, const std::vector<std::string>& region_names, const CliOutput& output) {
    if (options.plot.empty()) return 0;
    std::string extension = fs::path(options.plot).extension().string();
    for (char& c : extension) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    if (extension != ".svg" && extension != ".png")
        return output.fail(exit_bad_input, options.plot + ": a plot is written as .svg or .png");
    for (const std::string& figure : plot_figure_list(options.figures))
        if (!is_series_figure(figure, region_names))
            return output.fail(exit_bad_input, "--figure: \"" + figure + "\" is not a figure of this series");
    if (plot_figure_list(options.figures).empty()) return output.fail(exit_bad_input, "--figure names no figure");
    return 0;
}

int collect(const SeriesCliOptions& options, const CliOutput& output) {
    if (const std::string problem = existing_output_problem(options.csv, options.overwrite); !problem.empty())
        return output.fail(exit_bad_input, problem);
    // The region figures a plot may name are the parts' columns.
    auto first = read_series_csv(options.inputs.front());
    if (!first) return output.fail(exit_bad_input, first.failure().message);
    if (const int refused = check_plot(options, first.value().region_names, output); refused != 0) return refused;
    auto table = collect_series_parts(options.inputs, options.csv);
    if (!table) return output.fail(table.failure().code == -2 ? exit_bad_input : exit_failed, table.failure().message);
    output.err << strprintf("series: %zu rows from %zu parts into %s\n", table.value().rows.size(),
                            options.inputs.size(), options.csv.c_str());
    return write_plot_of(options, output);
}

}  // namespace

int run_series_command(const SeriesCliOptions& options, const CliPlaces& places, const CliOutput& output) {
    if (options.collect) return collect(options, output);
    std::error_code ec;
    const bool folder = options.inputs.size() == 1 && fs::is_directory(options.inputs.front(), ec);
    std::vector<SeriesInput> pictures;
    if (folder) {
        auto listed = series_pictures_of_folder(options.inputs.front());
        if (!listed) return output.fail(exit_bad_input, listed.failure().message);
        pictures = std::move(listed.value());
        if (!options.only.empty()) {
            const std::set<std::string> wanted(options.only.begin(), options.only.end());
            for (const std::string& name : wanted)
                if (std::none_of(pictures.begin(), pictures.end(),
                                 [&](const SeriesInput& p) { return p.name == name; }))
                    return output.fail(exit_bad_input, name + " is not a picture (*.hdr, *.pic) of " + options.inputs.front());
            std::erase_if(pictures, [&](const SeriesInput& p) { return !wanted.contains(p.name); });
        }
        if (pictures.empty()) return output.fail(exit_bad_input, "no picture (*.hdr, *.pic) in " + options.inputs.front());
    } else {
        if (!options.only.empty()) return output.fail(exit_bad_input, "--picture goes with a folder");
        if (options.emit_jobs) return output.fail(exit_bad_input, "--emit-jobs goes with a folder");
        for (const std::string& path : options.inputs)
            if (const std::string problem = regular_file_problem(path); !problem.empty())
                return output.fail(exit_bad_input, path + ": " + problem);
        pictures = series_pictures_of_list(options.inputs);
    }
    if (options.glare)
        if (auto words = glare_option_words(*options.glare); !words)
            return output.fail(exit_bad_input, "--glare: " + words.failure().message);
    std::vector<std::string> region_names;
    if (!options.regions_file.empty()) {
        auto file = read_region_file(options.regions_file);
        if (!file) return output.fail(exit_bad_input, file.failure().message);
        for (const NamedRegion& region : file.value().regions) region_names.push_back(region.name);
    }
    if (const int refused = check_plot(options, region_names, output); refused != 0) return refused;

    if (options.emit_jobs) {
        const size_t chunk = static_cast<size_t>(options.chunk);
        for (size_t start = 0, part = 1; start < pictures.size(); start += chunk, ++part) {
            const std::vector<SeriesInput> some(pictures.begin() + static_cast<ptrdiff_t>(start),
                                                  pictures.begin() +
                                                      static_cast<ptrdiff_t>(std::min(pictures.size(), start + chunk)));
            output.out << series_job(options, places, options.inputs.front(), some, part) << '\n';
        }
        return 0;
    }

    SeriesOptions run;
    run.pictures = std::move(pictures);
    run.csv = options.csv;
    run.existing = options.resume ? ExistingCsv::resume : options.overwrite ? ExistingCsv::overwrite : ExistingCsv::refuse;
    run.glare_options = options.glare;
    run.regions_file = options.regions_file;
    run.program_folder = places.program_folder;
    run.jobs = options.jobs;
    // Pictures too large for evalglare are scaled down, and regions
    // measured, in a folder of the run's own.
    std::optional<RunFolder> scratch;
    if (options.glare || !options.regions_file.empty()) {
        if (!places.cache_problem.empty()) return output.fail(exit_bad_input, places.cache_problem);
        scratch.emplace(places.cache_folder);
        if (!scratch->created()) return output.fail(exit_failed, scratch->error());
        run.scratch_folder = scratch->path();
    }
    auto progress = [&](const SeriesProgress& step) {
        const std::string line = strprintf("series: %zu of %zu pictures (%s %s)", step.done, step.total,
                                           escaped_for_display(step.picture).c_str(), step.failed ? "failed" : "done");
        if (output.err_is_terminal) output.err << "\r\033[K" << line << std::flush;
        else output.err << line << '\n';
    };
    auto report = run_series(run, progress);
    if (output.err_is_terminal) output.err << '\n';
    if (!report) return output.fail(report.failure().code == -2 ? exit_bad_input : exit_failed, report.failure().message);
    for (const std::string& problem : report.value().problems) output.warn(problem);
    output.out << strprintf("%zu pictures measured, %zu resumed, %zu failed: %s\n", report.value().measured,
                            report.value().resumed, report.value().problems.size(), options.csv.c_str());
    if (report.value().stopped) return output.fail(exit_failed, "stopped; --resume continues");
    if (const int status = write_plot_of(options, output); status != 0) return status;
    if (!report.value().complete()) return output.fail(exit_failed, "work incomplete");
    return 0;
}
