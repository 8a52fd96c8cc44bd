#include "capture/camera_sdk.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <strings.h>

// Looks the function up by its own name and calls it.
#define SDK_CALL(function, ...) call<decltype(function)>(#function __VA_OPT__(, ) __VA_ARGS__)

namespace {

EdsError object_event_entry(EdsObjectEvent event, EdsBaseRef object, void* context) {
    if (!context) return eds::ok;
    return static_cast<CameraSdk*>(context)->on_object_event(event, object);
}

EdsError property_event_entry(EdsPropertyEvent, EdsPropertyID, EdsUInt32, void*) { return eds::ok; }

EdsError state_event_entry(EdsStateEvent, EdsUInt32, void*) { return eds::ok; }

}  // namespace

std::optional<std::string> download_target_path(const std::string& folder, const EdsDirectoryItemInfo& info) {
    if (folder.empty()) return std::nullopt;
    // The SDK promises a terminator within the field; a name without one is
    // cut at the field's end rather than read beyond it.
    const std::string name(info.file_name, strnlen(info.file_name, sizeof info.file_name));
    if (name.empty() || name == "." || name == ".." || name.find('/') != std::string::npos) return std::nullopt;
    if (folder.size() + name.size() >= max_download_path) return std::nullopt;
    return folder + name;
}

CameraSdk::~CameraSdk() {
    if (session_open_) disconnect_camera();
}

template <class Function, class... Args>
EdsError CameraSdk::call(const char* name, Args... args) {
    void* address = library_ ? dlsym(library_.get(), name) : nullptr;
    if (!address) {
        library_.reset();
        last_failed_call_ = name;
        return binding_code::function_missing;
    }
    const EdsError result = reinterpret_cast<Function*>(address)(args...);
    if (result != eds::ok) last_failed_call_ = name;
    return result;
}

void CameraSdk::release(EdsBaseRef ref) {
    if (!library_ || !ref) return;
    if (void* address = dlsym(library_.get(), "EdsRelease"))
        reinterpret_cast<decltype(EdsRelease)*>(address)(ref);
    else
        library_.reset();
}

uint32_t CameraSdk::connect_camera() {
    // A session left open (the dialog was closed with its close button) would
    // keep the camera busy for the new one.
    if (session_open_) disconnect_camera();
    camera_ = nullptr;
    last_failed_call_.clear();
    const EdsError result = connect_steps();
    failed_call_ = result == eds::ok ? std::string() : last_failed_call_;
    if (result != eds::ok) disconnect_camera();
    return result;
}

EdsError CameraSdk::connect_steps() {
    if (!library_) library_.reset(dlopen(library_name, RTLD_NOW | RTLD_LOCAL));
    if (!library_) {
        last_failed_call_ = "dlopen";
        return binding_code::no_library;
    }
    if (EdsError e = SDK_CALL(EdsInitializeSDK)) return e;
    if (EdsError e = find_first_camera()) return e;
    if (EdsError e = register_handlers()) return e;
    if (EdsError e = SDK_CALL(EdsOpenSession, camera_)) return e;
    session_open_ = true;
    if (EdsError e = check_storage()) return e;
    shutter_description_ = {};
    aperture_description_ = {};
    SDK_CALL(EdsGetPropertyDesc, camera_, eds::property_shutter_speed, &shutter_description_);
    SDK_CALL(EdsGetPropertyDesc, camera_, eds::property_aperture, &aperture_description_);
    return eds::ok;
}

EdsError CameraSdk::find_first_camera() {
    EdsCameraListRef list = nullptr;
    if (EdsError e = SDK_CALL(EdsGetCameraList, &list)) return e;
    EdsUInt32 count = 0;
    EdsError result = SDK_CALL(EdsGetChildCount, list, &count);
    if (result == eds::ok && count == 0) {
        last_failed_call_ = "EdsGetChildCount";
        result = binding_code::no_camera;
    }
    if (result == eds::ok) result = SDK_CALL(EdsGetChildAtIndex, list, 0, &camera_);
    release(list);
    return result;
}

EdsError CameraSdk::register_handlers() {
    // The handlers find this binding through their context.
    if (EdsError e = SDK_CALL(EdsSetObjectEventHandler, camera_, eds::object_event_all, &object_event_entry,
                              static_cast<void*>(this)))
        return e;
    if (EdsError e = SDK_CALL(EdsSetPropertyEventHandler, camera_, eds::property_event_all, &property_event_entry,
                              static_cast<void*>(this)))
        return e;
    return SDK_CALL(EdsSetCameraStateEventHandler, camera_, eds::state_event_all, &state_event_entry,
                    static_cast<void*>(this));
}

// Walks to the newest picture of the card: the volume's last entry and, when
// that is the DCIM folder, its last folder and that folder's last entry.
// Nothing is kept; a camera that cannot answer these calls is not usable.
EdsError CameraSdk::check_storage() {
    EdsUInt32 volumes = 0;
    if (EdsError e = SDK_CALL(EdsGetChildCount, camera_, &volumes)) return e;
    if (volumes == 0) {
        last_failed_call_ = "EdsGetChildCount";
        return binding_code::no_volume;
    }
    EdsVolumeRef volume = nullptr;
    if (EdsError e = SDK_CALL(EdsGetChildAtIndex, camera_, 0, &volume)) return e;

    EdsError result = eds::ok;
    std::vector<EdsBaseRef> taken{volume};
    EdsBaseRef parent = volume;
    // Depth 0 is the volume's last entry, 1 the DCIM folder's, 2 the picture
    // folder's. An empty folder ends the walk: it has no last entry to read.
    for (int depth = 0; depth < 3 && result == eds::ok; ++depth) {
        EdsUInt32 count = 0;
        result = SDK_CALL(EdsGetChildCount, parent, &count);
        if (result != eds::ok || count == 0) break;
        EdsBaseRef entry = nullptr;
        result = SDK_CALL(EdsGetChildAtIndex, parent, static_cast<EdsInt32>(count - 1), &entry);
        if (result != eds::ok) break;
        taken.push_back(entry);
        EdsDirectoryItemInfo info{};
        result = SDK_CALL(EdsGetDirectoryItemInfo, entry, &info);
        if (result != eds::ok) break;
        const bool is_dcim = info.is_folder == 1 && strncasecmp(info.file_name, "DCIM", sizeof info.file_name) == 0;
        if (depth == 0 && !is_dcim) break;
        parent = entry;
    }
    for (EdsBaseRef ref : taken) release(ref);
    return result;
}

void CameraSdk::disconnect_camera() {
    SDK_CALL(EdsCloseSession, camera_);
    if (camera_) release(camera_);
    SDK_CALL(EdsTerminateSDK);
    session_open_ = false;
}

uint32_t CameraSdk::read_current_aperture(uint32_t& code) {
    EdsDataType type = 0;
    EdsUInt32 size = 0;
    if (EdsError e = SDK_CALL(EdsGetPropertySize, camera_, eds::property_aperture, 0, &type, &size)) return e;
    // The value goes into 32 bits; a wider answer is not an aperture code.
    if (size != sizeof code) return binding_code::unexpected_size;
    return SDK_CALL(EdsGetPropertyData, camera_, eds::property_aperture, 0, size, static_cast<void*>(&code));
}

uint32_t CameraSdk::set_camera_property(uint32_t property, uint32_t code) {
    return SDK_CALL(EdsSetPropertyData, camera_, property, 0, static_cast<EdsUInt32>(sizeof code),
                    static_cast<const void*>(&code));
}

void CameraSdk::take_picture() { SDK_CALL(EdsSendCommand, camera_, eds::command_take_picture, 0); }

EdsError CameraSdk::on_object_event(EdsObjectEvent event, EdsBaseRef object) {
    if (event == eds::object_event_transfer_request) download_item(object);
    if (object) release(object);
    return eds::ok;
}

void CameraSdk::download_item(EdsDirectoryItemRef item) {
    EdsDirectoryItemInfo info{};
    if (SDK_CALL(EdsGetDirectoryItemInfo, item, &info) != eds::ok) return;
    const std::optional<std::string> path = download_target_path(save_folder_, info);
    if (!path) return;
    EdsStreamRef stream = nullptr;
    if (SDK_CALL(EdsCreateFileStream, path->c_str(), eds::file_create_always, eds::access_read_write, &stream) !=
        eds::ok)
        return;
    const bool downloaded = SDK_CALL(EdsDownload, item, info.size, stream) == eds::ok;
    if (downloaded) SDK_CALL(EdsDownloadComplete, item);
    release(stream);
    // A half-written file would pass for a picture; the camera still has it.
    if (!downloaded) std::remove(path->c_str());
}

std::vector<uint32_t> CameraSdk::values_of(const EdsPropertyDesc& description) {
    const auto count = std::clamp<EdsInt32>(description.count, 0, std::size(description.values));
    std::vector<uint32_t> values;
    for (EdsInt32 i = 0; i < count; ++i) values.push_back(static_cast<uint32_t>(description.values[i]));
    return values;
}
