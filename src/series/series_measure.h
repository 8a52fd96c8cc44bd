#pragma once
// The figures of one picture of a series: one read of its pixels for the
// illuminance at the lens, the clipped pixels and the regions, and one
// evalglare run when glare is asked for.

#include <optional>
#include <string>
#include <vector>

#include "common/result.h"
#include "regions/region_file.h"
#include "series/series_row.h"
#include "series/series_run.h"

struct SeriesSetup {
    std::optional<std::vector<std::string>> glare_words;  // nothing: no glare run
    std::optional<RegionFile> regions;                    // nothing: no region columns
    std::string regions_file;                             // where it was read (mask files are beside it)
    std::string program_folder;
    // Scaled copies for evalglare and, per worker, the folder the regions
    // are measured in (a link to the picture and the masked copies).
    std::string scratch_folder;
};

// The illuminance as the row writes it: lx with one decimal, as the
// illuminance command and the pages print it.
std::string series_lux_text(double lux);

// The row of `picture`; `slot` (the worker's number) keeps the scratch
// files of pictures measured side by side apart. A failure names the
// picture and says why it has no row.
Result<SeriesRow> measure_series_picture(const SeriesInput& picture, const SeriesSetup& setup, int slot);

// evalglare's six indices from its printed text, in glare_index_names'
// order, as printed; nothing when the text has no result line.
std::optional<std::array<std::string, 6>> glare_indices_of(const std::string& text);
