#pragma once
// Tools > Series...: what the series window lets the user choose (the folder,
// a regions file, the glare options, the figures to plot, following the
// folder), the rows measured so far, and what it hands on (exports, opening a
// picture in the main window). The window shows these fields and runs the
// series on a thread of its own; the form checks the choices, builds the
// run's options and owns every file dialog and message through the
// SeriesDesktop seam.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "common/result.h"
#include "series/series_desktop.h"
#include "series/series_plot.h"
#include "series/series_run.h"

class SeriesForm {
public:
    using OpenPicture = std::function<void(const std::string& path)>;
    // `working_folder` holds the CSV a run writes as it goes and evalglare's
    // scratch files (the cache folder); `program_folder` our picture programs.
    SeriesForm(SeriesDesktop& desktop, OpenPicture open_picture, std::string working_folder,
               std::string program_folder = "");

    std::string folder;
    std::string regions;        // "" for none
    bool glare = false;         // the glare figures, with glare_options
    std::string glare_options = "-vta -vv 180 -vh 180";
    bool follow = false;        // keep adding the folder's new pictures
    int jobs = 1;               // pictures measured side by side

    // The rows so far (in the order they came while a run goes, in time order
    // once it has ended) and the figures the plot shows.
    SeriesTable table;
    std::vector<std::string> figures{"ev"};

    SeriesDesktop& desktop() { return desktop_; }

    // The choosers; false when cancelled (the field then stays).
    bool on_choose_folder();
    bool on_choose_regions();

    // The options of a run over `pictures`: a new run starts the working CSV
    // afresh, a followed picture is added to it. A failure says why the run
    // cannot start (also shown as a message).
    Result<SeriesOptions> run_options(std::vector<SeriesInput> pictures, bool add);
    // The folder's pictures for a new run (a message says why there are none).
    std::optional<std::vector<SeriesInput>> folder_pictures();

    // The CSV the run writes as it goes, kept until the next run.
    std::string working_csv() const;
    // Reads the working CSV back into `table` (time order); false when it
    // cannot be read.
    bool reload_table();

    // The figures a series with these regions can plot: "ev", the glare
    // indices, "ceiling", then each region's two means.
    std::vector<std::string> available_figures() const;
    // The plot of the chosen figures over the rows, `width` × `height` plot
    // pixels (height 0: as the layout likes).
    Result<PlotLayout> plot(int width, int height) const;
    // The file of a row's picture.
    std::string picture_path(size_t row) const;

    // Copies the run's CSV where the user says. False when cancelled or not
    // written (a message then says why).
    bool on_save_csv();
    // Asks for the plot's file and kind; SVG is written here, PNG by
    // `write_png`, which returns false when the file could not be written.
    using PngWriter = std::function<bool(const PlotLayout& layout, const std::string& path)>;
    bool on_save_plot(const PngWriter& write_png);

    // Double click on a point or row: the picture opens in the main window.
    void open_picture(size_t row) const;

private:
    SeriesDesktop& desktop_;
    OpenPicture open_picture_;
    std::string working_folder_;
    std::string program_folder_;
};
