#pragma once
// ra_tiff -r: a TIFF (a mask, typically) to an RGBE picture. 8-bit and
// 16-bit channels go through the inverse display gamma like ra_bmp -r;
// 32-bit float channels are taken as linear values. RGB (3 or more samples,
// contiguous or separate planes) and grey images with one sample are
// accepted; palette, bilevel, CMYK and white-is-zero images are not. The
// top of the image, as the orientation tag shows it, becomes the first
// scanline.
//
// The header records the TIFF's pixel aspect (when not square), DateTime as
// CAPDATE and Artist as OWNER.

#include <string>

#include "lib/program_status.h"

struct TiffOptions {
    std::string command;  // program name and options, recorded in the header
    std::string input;
    std::string output;
};

ProgramStatus tiff_to_picture(const TiffOptions& options);
