#pragma once
// The figures of one picture of a series: one read of its pixels for the
// illuminance at the lens, the clipped pixels and the regions, and one
// evalglare run when glare is asked for.

#include <optional>
#include <string>
#include <vector>

#include "common/result.h"
#include "series/series_row.h"
#include "series/series_run.h"

struct SeriesSetup {
    std::optional<std::vector<std::string>> glare_words;  // nothing: no glare run
    std::string program_folder;
    std::string scratch_folder;
};

// The illuminance as the row writes it: lx with one decimal, as the
// illuminance command and the pages print it.
std::string series_lux_text(double lux);

// The row of `picture`; `slot` (the worker's number) keeps the scratch
// files of pictures measured side by side apart. A failure names the
// picture and says why it has no row.
Result<SeriesRow> measure_series_picture(const SeriesPicture& picture, const SeriesSetup& setup, int slot);

// evalglare's six indices from its printed text, in glare_index_names'
// order, as printed; nothing when the text has no result line.
std::optional<std::array<std::string, 6>> glare_indices_of(const std::string& text);
