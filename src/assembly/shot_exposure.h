#pragma once
// What a photograph's EXIF data say about how it was exposed: the exposure
// time (s), the f-number and the ISO speed, with the capture date and the
// camera's and lens's names. JPEG files are read with libexif, TIFF files
// with libtiff's own EXIF directory reader.
//
// Any field may be missing; a value of 0 means "not in the file".

#include <string>
#include <vector>

#include "common/result.h"

struct ShotExposure {
    double seconds = 0;
    double f_number = 0;
    double iso = 0;
    std::string date_time;  // "YYYY:MM:DD HH:MM:SS" as EXIF writes it
    std::string camera;     // make and model, e.g. "Canon Canon EOS 5D" as written
    std::string lens;

    // The light the sensor gathers per cd/m², up to the meter constant:
    // t·S/N². 0 when any of the three is unknown.
    double exposure_value() const {
        return seconds > 0 && f_number > 0 && iso > 0 ? seconds * iso / (f_number * f_number) : 0;
    }
};

// The EXIF tags a picture lacks among "ExposureTime", "FNumber" and
// "ISOSpeedRatings", in that order.
std::vector<std::string> missing_exposure_tags(const ShotExposure& shot);

// Reads the EXIF data of a JPEG or TIFF file. A file that cannot be opened
// or is neither is a failure; a picture without EXIF gives an empty shot.
Result<ShotExposure> read_shot_exposure(const std::string& path);
