#pragma once
// The EXIF block (the body of a JPEG APP1 marker) the simulated camera puts in
// every picture: what a photograph's exposure can be worked out from.

#include <cstdint>
#include <string>

namespace sim {

struct ShotData {
    double exposure_seconds = 0;  // what the sensor was exposed for
    double f_number = 0;
    int iso = 100;
    std::string date_time;  // "YYYY:MM:DD HH:MM:SS", local time
    std::string make;
    std::string model;
    std::string lens;
};

// "Exif\0\0" and a little-endian TIFF structure: IFD0 with Make and Model,
// its EXIF IFD with ExposureTime, FNumber, ISOSpeedRatings, ExifVersion,
// DateTimeOriginal and LensModel.
std::string exif_block(const ShotData& shot);

// A rational near value: n/1 or 1/n when value or its inverse is whole,
// otherwise a fraction over a power of ten that keeps both parts in 32 bits.
void exif_rational(double value, uint32_t& numerator, uint32_t& denominator);

}  // namespace sim
