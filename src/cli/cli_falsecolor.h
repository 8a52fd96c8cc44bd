#pragma once
// What the two forms of "falsecolor" share: running a picture program on a
// copy of a picture inside the run's folder, as the application runs it on
// its working copy.

#include <string>

#include "cli/cli_places.h"
#include "common/result.h"
#include "tools/extremes.h"

class CliDesktop;

// pextrem on `picture` copied into `folder` as the working copy.
Result<Extremes> measure_extremes(const std::string& picture, float exposure, const std::string& folder,
                                  const CliPlaces& places, CliDesktop& desktop);

// ra_bmp of the working copy in `folder` (left there by measure_extremes or
// copied here) into `output`: the picture as the window shows it.
bool tone_map_working_copy(const std::string& picture, const std::string& folder, const std::string& output,
                           const CliPlaces& places, CliDesktop& desktop);
