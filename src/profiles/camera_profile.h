#pragma once
// A camera profile: the corrections of one camera and lens, measured once
// and applied to every series taken with them.
//
// The file (NAME.cdxprofile) is JSON rather than INI: the response curves
// and the vignetting coefficients are nested arrays, which JSON holds
// directly and a reader sees as rows, and a JSON object read into memory
// whole lets a rewrite keep every key a later version added. Keys:
//
//   "format": "candelux camera profile 1"
//   "name", "camera", "lens": texts; camera and lens as the pictures' EXIF
//       reports them (Make and Model; LensModel), "" for any
//   "response": {"red": [...], "green": [...], "blue": [...]}: 256 natural
//       logarithms of the relative signal per channel (as a response file);
//       absent to recover the curve from each series
//   "vignetting": [a1, a2, ...]: the relative signal at normalised radius r
//       (distance from the image-circle centre over its radius) is
//       1 + a1 r^2 + a2 r^4 + ...; the correction divides by it
//   "vignetting_data": [[r, measured], ...]: the rings the coefficients were
//       fitted to (median over the centre's level), kept to show the fit
//   "vignetting_picture": a Radiance picture of a uniform scene taken with
//       this lens, the size of the assembled pictures (a path, relative to
//       the profile's folder unless absolute); when named it takes the
//       place of the radial polynomial: assembly divides by it, scaled to
//       1 at the image-circle centre, so any fall-off, round or not, goes
//   "projection": {"view": "-vta", "horizontal_angle": 180,
//       "vertical_angle": 180, "centre_x": .., "centre_y": .., "radius": ..}
//       in picture pixels, the centre of the top-left pixel being 0.5, 0.5;
//       radius 0 when no image circle is known
//   "nd_factor": the neutral-density filter's attenuation (1 for none)
//   "calibration_factor": the photometric correction from a meter reading
//   "date": "YYYY-MM-DD" of the last change, "note": free text

#include <optional>
#include <string>
#include <vector>

#include "assembly/response_curve.h"
#include "common/json_value.h"
#include "common/result.h"

struct ImageCircle {
    double centre_x = 0;
    double centre_y = 0;
    double radius = 0;  // 0: none known
};

struct LensProjection {
    std::string view = "-vta";  // a Radiance view type option
    double horizontal_angle = 180;
    double vertical_angle = 180;
    ImageCircle circle;
};

struct CameraProfile {
    std::string name;
    std::string camera;
    std::string lens;
    std::optional<ResponseCurve> response;
    std::vector<double> vignetting;  // a1, a2, ... of the even powers r^2, r^4, ...
    std::vector<std::pair<double, double>> vignetting_data;  // (r, measured) per ring
    std::string vignetting_picture;  // as written; "" for none
    std::optional<LensProjection> projection;
    double nd_factor = 1;
    double calibration_factor = 1;
    std::string date;
    std::string note;
    // The file as read, so keys this version does not know survive a rewrite.
    JsonValue document;
    // The folder the file was read from (not written): relative paths in it
    // are relative to this.
    std::string folder;
};

// The vignetting picture's path as a file name: relative paths against the
// profile's folder. "" when the profile names none.
std::string vignetting_picture_path(const CameraProfile& profile);

// The relative signal the vignetting leaves at normalised radius r (1 at the
// centre).
double vignetting_falloff(const std::vector<double>& coefficients, double r);

Result<CameraProfile> parse_camera_profile(const std::string& text);
std::string camera_profile_text(const CameraProfile& profile);

Result<CameraProfile> read_camera_profile(const std::string& path);
// Writes through a temporary file beside `path`, so a failed write leaves
// the old profile whole.
Result<bool> write_camera_profile(const std::string& path, const CameraProfile& profile);

inline constexpr const char* profile_extension = ".cdxprofile";

// "candelux/profiles" in the configuration folder; "" when there is none.
std::string profile_folder();
std::string profile_folder(const std::optional<std::string>& configuration_folder);

// A profile named on a command line: a path when it names an existing file
// or holds a slash or the extension, else NAME.cdxprofile in the folder.
std::string profile_path(const std::string& name_or_path);

// Today's date as YYYY-MM-DD (UTC).
std::string profile_date_today();
