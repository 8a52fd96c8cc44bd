#pragma once
// What the simulated camera's sensor makes of a scene: the scene in cd/m²
// per colour channel, exposed for a shutter speed and an f-number at ISO 100,
// encoded with one of the camera's tone curves as a JPEG that carries its
// exposure in EXIF.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "exif_block.h"
#include "sensor_response.h"

namespace sim {

struct Scene {
    int width = 0;
    int height = 0;
    std::vector<float> rgb;  // cd/m² per channel, row-major, three per pixel
};

// A Radiance picture as a scene; nothing when it cannot be read.
std::optional<Scene> load_scene(const std::string& path);

// A test chart: a grey ramp from 1 to 10 000 cd/m² above a row of coloured
// patches at 100 cd/m².
Scene test_chart();

// The scene as the lens throws it on the sensor: dimmed by the vignetting
// around the picture's centre and dark outside a fisheye's image circle.
void apply_lens(Scene& scene, const std::vector<double>& vignetting, double fisheye_fraction);

// Exposure time in seconds and f-number of the camera's codes, from the
// codes' own scale: eight steps a stop, 0x38 is one second and 0x08 f/1;
// +3 and +5 are thirds, +4 a half.
double exposure_seconds(uint32_t shutter_code);
double f_number(uint32_t aperture_code);

// The JPEG file the camera writes. The sensor's signal is the scene's value
// times shot.exposure_seconds * iso / (12.5 f²) * 0.18, clipped at full well
// (1): a subject the reflected-light meter reads as L cd/m² lands on 18 %.
std::string expose_jpeg(const Scene& scene, const ShotData& shot, SensorResponse response);

}  // namespace sim
