#pragma once
// What the simulated camera is told through the environment.
//
//   EDSDK_SIM_NO_CAMERA=1        the camera list is empty
//   EDSDK_SIM_NO_VOLUME=1        the camera has no storage volume
//   EDSDK_SIM_REFUSE_WRITES=N    the next N property writes are refused
//                                ("all": every one)
//   EDSDK_SIM_FAIL_DOWNLOAD=1    every download fails
//   EDSDK_SIM_EMPTY_CARD=1       the card is formatted: no pictures on it
//   EDSDK_SIM_MISSING=A,B        the library appears to lack these functions
//   EDSDK_SIM_SCENE=path.hdr     the scene pictures are exposed from
//                                (otherwise a generated test chart)
//   EDSDK_SIM_RESPONSE=curve     the tone curve of its JPEGs: srgb (the
//                                default), gamma22 or filmic (see
//                                sensor_response.h); another name is logged
//                                and sRGB is used
//   EDSDK_SIM_VIGNETTING=a1,a2   the lens's fall-off: the light at distance
//                                r from the picture's centre (over the image
//                                circle's radius, or half the diagonal
//                                without one) is 1 + a1 r^2 + a2 r^4 + ...
//                                of the centre's; off by default
//   EDSDK_SIM_FISHEYE=f          a fisheye's image circle, centred, its
//                                radius f times half the shorter side; no
//                                light outside it; off by default
//   EDSDK_SIM_LOG=path           every call is appended to this file
//
// The faults are read when the SDK is initialised, the missing functions at
// every lookup, the scene and the tone curve at every picture.

#include <string>
#include <vector>

namespace sim {

struct Faults {
    bool no_camera = false;
    bool no_volume = false;
    bool fail_download = false;
    bool empty_card = false;
    int refused_writes = 0;  // -1: every write
};

Faults read_faults();

// True when `function` is named in EDSDK_SIM_MISSING. Runs inside the
// dynamic linker's lookup, so it allocates nothing.
bool function_missing(const char* function);

std::string scene_path();
std::string response_name();

// The lens of EDSDK_SIM_VIGNETTING and EDSDK_SIM_FISHEYE; a text that is not
// a list of numbers (or not a fraction above 0) leaves the option off.
struct LensOptics {
    std::vector<double> vignetting;  // a1, a2, ... of r^2, r^4, ...
    double fisheye_fraction = 0;     // 0: no image circle
};
LensOptics lens_optics();

// Appends one line to the call log, when there is one.
void log_call(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace sim
