#pragma once
// What the capture dialog and the capture runs need of a connected camera.
// CameraSdk implements it over the SDK; tests use a recording camera.

#include <cstdint>
#include <string>
#include <vector>

class CaptureCamera {
public:
    virtual ~CaptureCamera() = default;

    // The values the camera offers, in its own order, as read at connection.
    virtual std::vector<uint32_t> shutter_speed_values() const = 0;
    virtual std::vector<uint32_t> aperture_values() const = 0;

    // The SDK result; the code only when that is 0.
    virtual uint32_t read_current_aperture(uint32_t& code) = 0;
    // 0 when the camera accepted the value.
    virtual uint32_t set_camera_property(uint32_t property, uint32_t code) = 0;
    // Returns at once; the picture arrives later through the download.
    virtual void take_picture() = 0;
    virtual void disconnect_camera() = 0;

    // Where downloaded pictures go: a folder followed by '/', or "" for none.
    virtual void set_save_folder(const std::string& folder) = 0;
    virtual const std::string& save_folder() const = 0;
};
