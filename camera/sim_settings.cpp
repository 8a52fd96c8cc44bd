#include "sim_settings.h"

#include <cstdarg>
#include <cstdio>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace sim {

namespace {

bool flag(const char* name) {
    const char* value = std::getenv(name);
    return value && *value && std::strcmp(value, "0") != 0;
}

}  // namespace

Faults read_faults() {
    Faults faults;
    faults.no_camera = flag("EDSDK_SIM_NO_CAMERA");
    faults.no_volume = flag("EDSDK_SIM_NO_VOLUME");
    faults.fail_download = flag("EDSDK_SIM_FAIL_DOWNLOAD");
    faults.empty_card = flag("EDSDK_SIM_EMPTY_CARD");
    if (const char* refused = std::getenv("EDSDK_SIM_REFUSE_WRITES"); refused && *refused)
        faults.refused_writes = std::strcmp(refused, "all") == 0 ? -1 : std::atoi(refused);
    return faults;
}

bool function_missing(const char* function) {
    const char* list = std::getenv("EDSDK_SIM_MISSING");
    if (!list) return false;
    const size_t length = std::strlen(function);
    for (const char* entry = list; *entry;) {
        const char* end = std::strchr(entry, ',');
        const size_t entry_length = end ? static_cast<size_t>(end - entry) : std::strlen(entry);
        if (entry_length == length && std::strncmp(entry, function, length) == 0) return true;
        if (!end) break;
        entry = end + 1;
    }
    return false;
}

std::string scene_path() {
    const char* path = std::getenv("EDSDK_SIM_SCENE");
    return path ? path : "";
}

std::string response_name() {
    const char* name = std::getenv("EDSDK_SIM_RESPONSE");
    return name ? name : "";
}

LensOptics lens_optics() {
    LensOptics optics;
    if (const char* list = std::getenv("EDSDK_SIM_VIGNETTING"); list && *list) {
        std::vector<double> coefficients;
        for (const char* at = list; *at;) {
            char* end = nullptr;
            const double value = std::strtod(at, &end);
            if (end == at || !std::isfinite(value)) {
                coefficients.clear();
                break;
            }
            coefficients.push_back(value);
            at = *end == ',' ? end + 1 : end;
            if (*end && *end != ',') {
                coefficients.clear();
                break;
            }
        }
        optics.vignetting = coefficients;
    }
    if (const char* fraction = std::getenv("EDSDK_SIM_FISHEYE"); fraction && *fraction) {
        char* end = nullptr;
        const double value = std::strtod(fraction, &end);
        if (*end == 0 && value > 0 && value < 10) optics.fisheye_fraction = value;
    }
    return optics;
}

void log_call(const char* format, ...) {
    const char* path = std::getenv("EDSDK_SIM_LOG");
    if (!path || !*path) return;
    std::FILE* file = std::fopen(path, "a");
    if (!file) return;
    va_list arguments;
    va_start(arguments, format);
    std::vfprintf(file, format, arguments);
    va_end(arguments);
    std::fputc('\n', file);
    std::fclose(file);
}

}  // namespace sim
