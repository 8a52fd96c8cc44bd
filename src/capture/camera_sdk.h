#pragma once
// The binding of the camera maker's SDK (libEDSDK.so), one camera at a time.
//
// The library is loaded by name at the first connection and never linked:
// every SDK function is looked up by name at the moment it is called, and a
// function the library lacks fails that call with code 8 and releases the
// library. Pictures the camera reports are downloaded into the save folder
// by the object event handler, under the camera's own file names.

#include <dlfcn.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "capture/capture_camera.h"
#include "capture/eds_abi.h"

// Codes of our own, beside the SDK's.
namespace binding_code {
inline constexpr uint32_t function_missing = 8;   // the library lacks a function
inline constexpr uint32_t no_library = 16;        // the library cannot be loaded
inline constexpr uint32_t unexpected_size = 32;   // a property is not 32 bits wide
inline constexpr uint32_t no_volume = 64;         // the camera has no storage volume
inline constexpr uint32_t no_camera = 128;        // the SDK lists no camera
}  // namespace binding_code

// The save folder and a file name must fit a path of this many bytes,
// terminator included.
inline constexpr size_t max_download_path = 256;

// Where a downloaded picture goes: `folder` followed by the item's file name.
// Nothing when there is no folder, when the name is not a plain file name
// (empty, ".", "..", or holding '/'), or when the path would not fit.
std::optional<std::string> download_target_path(const std::string& folder, const EdsDirectoryItemInfo& info);

class CameraSdk final : public CaptureCamera {
public:
    static constexpr const char* library_name = "libEDSDK.so";

    CameraSdk() = default;
    ~CameraSdk() override;
    CameraSdk(const CameraSdk&) = delete;
    CameraSdk& operator=(const CameraSdk&) = delete;

    // Loads the library, finds the first camera, registers the handlers,
    // opens a session, checks the storage and reads the shutter-speed and
    // aperture descriptions. 0, or the code of the step that failed (the
    // session is then closed again).
    uint32_t connect_camera();
    // The SDK function whose failure ended the last connect_camera.
    const std::string& failed_call() const { return failed_call_; }
    bool session_open() const { return session_open_; }

    void disconnect_camera() override;
    uint32_t read_current_aperture(uint32_t& code) override;
    uint32_t set_camera_property(uint32_t property, uint32_t code) override;
    void take_picture() override;

    std::vector<uint32_t> shutter_speed_values() const override { return values_of(shutter_description_); }
    std::vector<uint32_t> aperture_values() const override { return values_of(aperture_description_); }

    void set_save_folder(const std::string& folder) override { save_folder_ = folder; }
    const std::string& save_folder() const override { return save_folder_; }

    // The SDK's object event: a picture waiting to be fetched is downloaded;
    // the reference is released in any case.
    EdsError on_object_event(EdsObjectEvent event, EdsBaseRef object);
    // Downloads one item into the save folder; failures stay silent and leave
    // the picture on the camera.
    void download_item(EdsDirectoryItemRef item);

private:
    struct LibraryCloser {
        void operator()(void* handle) const { dlclose(handle); }
    };

    template <class Function, class... Args>
    EdsError call(const char* name, Args... args);
    void release(EdsBaseRef ref);

    EdsError connect_steps();
    EdsError find_first_camera();
    EdsError register_handlers();
    EdsError check_storage();
    static std::vector<uint32_t> values_of(const EdsPropertyDesc& description);

    std::unique_ptr<void, LibraryCloser> library_;
    EdsCameraRef camera_ = nullptr;
    bool session_open_ = false;
    EdsPropertyDesc shutter_description_{};
    EdsPropertyDesc aperture_description_{};
    std::string save_folder_;
    std::string last_failed_call_;
    std::string failed_call_;
};
