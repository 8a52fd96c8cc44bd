#pragma once
// Exposure series from the simulated camera, taken through the SDK binding:
// an HDR scene written as a Radiance picture, photographed at f/8 with
// shutter speeds two stops apart.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "picture/luminance_map.h"

// A 360 x 240 scene from 0.15 to 200 000 cd/m²: a log ramp of coloured
// patches, flat areas, a bright window and a lamp no exposure holds.
// Returns its luminance as the application reads it.
LuminanceMap write_hdr_scene(const std::filesystem::path& path);

// The simulated camera's shutter codes, 1/1024 s to 4 s two stops apart.
std::vector<uint32_t> two_stop_shutter_codes();

// Photographs the scene (at f/8 unless another aperture code is given) with the given tone curve ("srgb", "gamma22",
// "filmic") into folder; the picture paths in the order taken. Empty when
// the camera could not be driven.
std::vector<std::string> photograph_series(const std::filesystem::path& scene, const std::string& response,
                                           const std::filesystem::path& folder,
                                           const std::vector<uint32_t>& shutter_codes, uint32_t aperture_code = 0x38);

// The simulated camera's signal at f/8, ISO 100 for a luminance and a time:
// 0.18·L·S·t/(K·N²).
double simulated_signal(double luminance, double seconds);
