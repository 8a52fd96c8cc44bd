#pragma once
// A series run: every picture measured once (its time, the illuminance at
// the lens, the clipped pixels, each named region's means and, when asked,
// evalglare's indices), one row each, into a CSV file.
//
// Rows are appended to the file as pictures finish, each line written and
// flushed whole, so a stopped run keeps what it did and a resumed one skips
// the pictures the file already holds. When the run ends (done or stopped)
// the file is rewritten in time order (through a new file renamed over it),
// so a run, a resumed run and collected parts give the same bytes.
//
// Each picture costs one read of its pixels (shared by the illuminance,
// the clipped pixels and the regions) and, with glare, one evalglare run;
// pictures larger than evalglare's limit are first scaled down by pfilt, as
// the window's glare analysis does. Several pictures are measured side by
// side on `jobs` threads, each running its own evalglare.

#include <atomic>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/result.h"
#include "series/series_row.h"

// A picture of the series: its file and the name its row gives it.
struct SeriesInput {
    std::string path;
    std::string name;
};

// Whether a file of a folder is measured: .hdr or .pic, whatever their case
// (the folder follower of the series window takes the same).
bool is_series_picture_name(std::string_view name);

// The pictures (*.hdr and *.pic, any case) of a folder in name order, each
// named by its file name; files that are not regular files are left out.
Result<std::vector<SeriesInput>> series_pictures_of_folder(const std::string& folder);
// Pictures given one by one, each named by its path as given.
std::vector<SeriesInput> series_pictures_of_list(const std::vector<std::string>& paths);

enum class ExistingCsv { refuse, overwrite, resume };

struct SeriesOptions {
    std::vector<SeriesInput> pictures;
    std::string csv;                           // the file written
    ExistingCsv existing = ExistingCsv::refuse;
    std::optional<std::string> glare_options;  // evalglare's options ("-vta -vv 180 -vh 180"); nothing: no glare
    std::string regions_file;                  // "" for none
    std::string program_folder;                // first on the PATH of pfilt and evalglare
    // A folder of the run's own, needed with glare or regions: the scaled
    // copies evalglare reads and the folders the regions are measured in.
    std::string scratch_folder;
    int jobs = 1;
};

// The glare options as words, or why they cannot be used: each word must
// be one the shell passes on as it is, and -c (the check picture) is the
// run's own business.
Result<std::vector<std::string>> glare_option_words(const std::string& options);

struct SeriesProgress {
    size_t done = 0;   // pictures finished in this run, including failed ones
    size_t total = 0;  // pictures this run measures (not those resumed)
    std::string picture;  // the one just finished
    bool failed = false;
    std::string problem;  // why it failed
    const SeriesRow* row = nullptr;  // the row just written (valid during the call); null when it failed
};
// Called on the worker thread that finished the picture, one call at a time.
using SeriesProgressFn = std::function<void(const SeriesProgress&)>;

struct SeriesReport {
    size_t measured = 0;  // rows written by this run
    size_t resumed = 0;   // rows the file held already
    std::vector<std::string> problems;  // one per failed or left-out picture
    bool stopped = false;
    bool complete() const { return problems.empty() && !stopped; }
};

// Checks everything (the pictures' names, the glare options, the regions
// file, the CSV file against `existing`) before writing anything; a Failure
// means nothing was written. `stop`, when set during the run, lets the
// pictures under way finish and starts no more (so does a signal that
// stopped the running programs: a picture whose evalglare was stopped gets
// no row and no problem). The report's problems are the pictures that gave
// no row, each named with why.
Result<SeriesReport> run_series(const SeriesOptions& options, const SeriesProgressFn& progress = {},
                                const std::atomic<bool>* stop = nullptr);

// The rows of a series file and its region names, as written.
struct SeriesTable {
    std::vector<std::string> region_names;
    std::vector<SeriesRow> rows;
};
Result<SeriesTable> read_series_csv(const std::string& path);
// The table written in time order to `path` through a new file renamed
// over it.
Result<bool> write_series_csv(const std::string& path, SeriesTable table);

// Merges the parts written by separate runs over one series into `output`
// in time order: the same bytes one run over all their pictures writes.
// The parts must have the same columns; a picture in two parts is refused.
Result<SeriesTable> collect_series_parts(const std::vector<std::string>& parts, const std::string& output);
