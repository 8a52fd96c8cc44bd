#pragma once
// The regions of a region file measured on every picture of a batch, as
// candelux-cli batch --regions and Tools > Batch Process... measure them:
// once every step of a picture has run, its last result is measured and
// the table is written as <name>_regions.csv beside the picture.

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "common/result.h"
#include "macro/batch_replay.h"
#include "regions/picture_regions.h"

// The region tables the batch would write that exist already.
std::vector<std::string> existing_region_tables(const BatchPlan& plan);

// Whether every one of the sequence's `steps` ran on the picture: only such
// a picture is measured.
bool picture_processed(const PictureOutcome& outcome, int steps);

// Measures the regions on one result picture (a file of the batch folder).
using ResultMeasure = std::function<Result<PictureRegions>(const std::string& result)>;
// Something to tell about one picture ("regions not measured: ...", the
// scaling, a table that cannot be written).
using PictureNote = std::function<void(const PicturePlan& picture, const std::string& note)>;

// Every processed picture in turn, measured and its table written; how
// many tables were written.
size_t measure_batch_regions(const std::vector<PicturePlan>& processed, int steps, const ResultMeasure& measure,
                           const PictureNote& note);
