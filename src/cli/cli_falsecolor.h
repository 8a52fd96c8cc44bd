#pragma once
// What the two forms of "falsecolor" share: pextrem on a copy of a picture
// inside the run's folder, as the application runs it on its working copy.

#include <string>

#include "cli/cli_places.h"
#include "common/result.h"
#include "tools/extremes.h"

class WindowlessDesktop;

// pextrem on `picture` copied into `folder` as the working copy.
Result<Extremes> measure_extremes(const std::string& picture, float exposure, const std::string& folder,
                                  const CliPlaces& places, WindowlessDesktop& desktop);
