#pragma once
// ReinhardTM: an RGBE picture to a JPEG through the photographic tone
// reproduction operator (lib/reinhard_operator.h).
//
// World values are the stored ones divided by the picture's exposure (every
// EXPOSURE= value of the header); luminance uses Radiance's weights. Each
// colour keeps its ratios: channel times display over world luminance,
// clipped to [0, 1], then byte = min(255, trunc(256 v^(1/gamma))).
// Scanlines are rows.

#include <cstdint>
#include <string>

#include "lib/program_status.h"
#include "lib/reinhard_operator.h"

struct ReinhardOptions {
    std::string input;
    std::string output;
    ReinhardParameters parameters;
    double gamma = 1.6;
};

ProgramStatus convert_reinhard(const ReinhardOptions& options);

// The display byte of a value already in [0, 1] (anything else is clipped).
uint8_t gamma_display_byte(double value, double gamma);
