#pragma once
// Edit > Projections...: an angular fisheye picture becomes a hemispherical
// one. The picture gets a header that declares it a 180° angular fisheye,
// and pinterp re-projects it.
//
// The re-headed picture is built in the header file, a working file of its
// own, and pinterp reads it from there; the working copy is replaced by
// pinterp's output only, so a failure at any step leaves it as it was.

#include <cstdint>
#include <string>

class Desktop;
class ProcessRunner;

#include "picture/projection_size.h"

// The picture pinterp writes when asked for width x height: the angular
// picture and its hemispherical view are both 180° each way, so their pixels
// are square only in a square, and the longer side is shortened to the
// shorter.
struct ProjectedSize {
    uint64_t width = 0;
    uint64_t height = 0;
};
ProjectedSize projected_size(uint64_t width, uint64_t height);

// "" when asking for width x height gives a projection within the limit,
// else why not.
std::string projection_size_problem(uint64_t width, uint64_t height);

// "/C pinterp  -vf V -vth  -x X -y Y -ff V 1 > O": the picture is its own
// view file.
std::string projection_command(const std::string& input, uint32_t width, uint32_t height, const std::string& output);

// The whole projection of the working copy, whose exposure is `exposure`,
// into a picture of at most width x height. 0, or -1 after the failure has
// been shown; the working copy is replaced only on success.
int project_to_hemisphere(ProcessRunner& runner, Desktop& desktop, const std::string& cache_directory,
                          float exposure, uint32_t width, uint32_t height);
