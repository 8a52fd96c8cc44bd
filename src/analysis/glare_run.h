#pragma once
// One glare analysis of the working copy: a picture larger than the limit is
// scaled down into a scratch file, evalglare evaluates it and writes its
// check picture, and only when all of that succeeded does the check picture
// replace the working copy. A failed run leaves the working copy, and so the
// view and the luminance map, as they were.

#include <cstdint>
#include <string>

#include "analysis/glare_settings.h"
#include "analysis/glare_summary.h"
#include "picture/luminance_map.h"

class Desktop;
class ProcessRunner;
struct ProcessOutput;

// What a glare analysis needs from the program around it.
class GlareHost {
public:
    virtual ~GlareHost() = default;
    virtual Desktop& desktop() = 0;
    virtual ProcessRunner& runner() = 0;
    virtual std::string glare_cache_directory() const = 0;
    // The luminance map of the working copy, as the window holds it.
    virtual const LuminanceMap& picture_map() const = 0;
    // The working copy has become the check picture: show it at zoom 1.0.
    virtual void show_check_picture() = 0;
    // The overflow sentence's link: the illuminance calibration once the
    // wizard has closed.
    virtual void request_illuminance_calibration() {}
};

// The down-scaled picture evalglare reads, in the cache folder; its name
// holds "dtemp" so that closing the window removes a stray copy.
inline constexpr const char* glare_scaled_picture = "/dtempg.hdr";

struct GlareRun {
    int status = -1;           // 0 when the check picture replaced the working copy
    std::string command_line;  // evalglare's; empty when it never ran
    std::string result_text;   // what evalglare printed
    // From a second, detailed run of evalglare on the same picture (not
    // recorded in a sequence): its vertical illuminance and glare sources.
    GlareDetails details;
    // The analysed picture's clipped pixels (before the check picture
    // replaced it).
    int64_t ceiling_pixels = 0;
    double ceiling_share_percent = 0;
};

// Runs the analysis; every failure has been shown when it returns (pfilt's
// under "Radiance Process Error!", evalglare's under "Evalglare Process
// Error!", a working copy that cannot be replaced under "File IO Error!"),
// and the "Processing..." window is closed on failure.
GlareRun run_glare_analysis(GlareHost& host, const GlareSettings& settings);

// Why evalglare's run gives no result, or "" when it does: it must have
// printed its result line, exited 0 and written a check picture.
std::string glare_failure(const ProcessOutput& output, const std::string& check_picture);
