// A day of 48 fisheye captures measured with glare on one thread and on
// two: the wall-clock time of each and their ratio (the aim on a machine of
// two cores: at most 0.6). Each picture's evalglare is its own process, so
// two jobs should take about half the time.

#include <chrono>
#include <cstdio>
#include <filesystem>

#include "series/series_plot.h"
#include "series/series_run.h"
#include "support/day_series.h"

namespace {

double seconds_for(int jobs, const std::filesystem::path& folder) {
    SeriesOptions options;
    options.pictures = series_pictures_of_folder((folder / "day").string()).value();
    options.csv = (folder / "day.csv").string();
    options.existing = ExistingCsv::overwrite;
    options.glare_options = day_glare_options;
    options.program_folder = CANDELUX_PROGRAMS_DIR;
    options.scratch_folder = folder.string();
    options.jobs = jobs;
    const auto start = std::chrono::steady_clock::now();
    const auto report = run_series(options);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (!report || !report.value().complete()) std::printf("the run failed\n");
    return seconds;
}

}  // namespace

int main() {
    const auto folder = std::filesystem::temp_directory_path() / "candelux-series-bench";
    std::filesystem::remove_all(folder);
    if (write_day_series(folder / "day", 48, 400).size() != 48) {
        std::printf("cannot write the pictures into %s\n", folder.c_str());
        return 1;
    }
    const double one = seconds_for(1, folder);
    const double two = seconds_for(2, folder);
    std::printf("series of 48 pictures 400 x 400 with glare: --jobs 1 %.2f s, --jobs 2 %.2f s, ratio %.2f (aim <= 0.6)\n",
                one, two, two / one);
    // The plot of the run, to look at.
    const auto table = read_series_csv((folder / "day.csv").string());
    if (table) {
        const auto layout = series_plot_layout(table.value().rows, {}, {"dgp", "ev", "ceiling"});
        if (layout) {
            (void)write_plot(layout.value(), (folder / "day.svg").string());
            (void)write_plot(layout.value(), (folder / "day.png").string());
            std::printf("plot: %s/day.svg and day.png\n", folder.c_str());
        }
    }
    return 0;
}
