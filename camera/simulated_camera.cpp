#include "simulated_camera.h"

#include <algorithm>
#include <cstring>
#include <ctime>

#include "common/clock_text.h"
#include "common/text_format.h"
#include "exposure_picture.h"

namespace sim {

namespace {

// Thirds of a stop on the camera's scale: whole stops are multiples of 8.
std::vector<int32_t> third_stops(int32_t first, int32_t last) {
    std::vector<int32_t> codes;
    for (int32_t stop = first; stop <= last; stop += 8)
        for (int32_t third : {0, 3, 5})
            if (stop + third <= last) codes.push_back(stop + third);
    return codes;
}

uintptr_t number_of(EdsBaseRef ref) { return reinterpret_cast<uintptr_t>(ref); }

std::string local_date_time() { return now_as_text("%Y:%m:%d %H:%M:%S", Clock::local); }

SensorResponse current_response() {
    const std::string name = response_name();
    if (auto response = response_named(name)) return *response;
    log_call("unknown EDSDK_SIM_RESPONSE %s: sRGB used", name.c_str());
    return SensorResponse::srgb;
}

}  // namespace

StorageEntry* StorageEntry::add(std::string entry_name, bool folder) {
    auto entry = std::make_unique<StorageEntry>();
    entry->name = std::move(entry_name);
    entry->is_folder = folder;
    children.push_back(std::move(entry));
    return children.back().get();
}

SimulatedCamera::SimulatedCamera()
    : shutter_speeds_(third_stops(0x10, 0xA0)),  // 30 s to 1/8000
      apertures_(third_stops(0x20, 0x50)) {      // f/2.8 to f/22
    volume_.name = "SD";
    volume_.is_folder = true;
    volume_.add("MISC", true);
    picture_folder_ = volume_.add("DCIM", true)->add("100SIMUL", true);
}

SimulatedCamera& camera() {
    static SimulatedCamera the_camera;
    return the_camera;
}

EdsBaseRef SimulatedCamera::hand_out(Object object) {
    const uintptr_t number = next_ref_++;
    objects_.emplace(number, std::move(object));
    return reinterpret_cast<EdsBaseRef>(number);
}

SimulatedCamera::Object* SimulatedCamera::find(EdsBaseRef ref, Object::Kind kind) {
    auto it = objects_.find(number_of(ref));
    return it != objects_.end() && it->second.kind == kind ? &it->second : nullptr;
}

std::string SimulatedCamera::describe(EdsBaseRef ref) {
    auto it = objects_.find(number_of(ref));
    if (it == objects_.end()) return "unknown";
    switch (it->second.kind) {
    case Object::Kind::camera_list: return "list";
    case Object::Kind::camera: return "camera";
    case Object::Kind::stream: return "stream";
    case Object::Kind::entry: return "entry " + it->second.entry->name;
    }
    return "unknown";
}

// Whatever an earlier user left behind (a session, references, handlers)
// is gone: the SDK starts afresh, only the card keeps its pictures.
EdsError SimulatedCamera::initialize() {
    log_call("EdsInitializeSDK");
    forget_clients();
    initialized_ = true;
    faults_ = read_faults();
    refusals_left_ = faults_.refused_writes;
    if (faults_.empty_card) picture_folder_->children.clear();
    return eds::ok;
}

EdsError SimulatedCamera::terminate() {
    log_call("EdsTerminateSDK");
    forget_clients();
    initialized_ = false;
    return eds::ok;
}

void SimulatedCamera::forget_clients() {
    objects_.clear();
    object_handler_ = nullptr;
    object_context_ = nullptr;
    session_open_ = false;
}

EdsError SimulatedCamera::camera_list(EdsCameraListRef* list) {
    log_call("EdsGetCameraList");
    if (!initialized_ || !list) return eds::err_internal;
    *list = hand_out({Object::Kind::camera_list, nullptr, nullptr});
    return eds::ok;
}

EdsError SimulatedCamera::child_count(EdsBaseRef ref, EdsUInt32* count) {
    log_call("EdsGetChildCount %s", describe(ref).c_str());
    if (!count) return eds::err_invalid_parameter;
    if (find(ref, Object::Kind::camera_list)) {
        *count = faults_.no_camera ? 0 : 1;
    } else if (is_camera(ref)) {
        if (!session_open_) return eds::err_session_not_open;
        *count = faults_.no_volume ? 0 : 1;
    } else if (Object* object = find(ref, Object::Kind::entry)) {
        *count = static_cast<EdsUInt32>(object->entry->children.size());
    } else {
        return eds::err_invalid_handle;
    }
    return eds::ok;
}

EdsError SimulatedCamera::child_at(EdsBaseRef ref, EdsInt32 index, EdsBaseRef* child) {
    log_call("EdsGetChildAtIndex %s %d", describe(ref).c_str(), index);
    if (!child) return eds::err_invalid_parameter;
    if (find(ref, Object::Kind::camera_list)) {
        if (faults_.no_camera || index != 0) return eds::err_invalid_index;
        *child = hand_out({Object::Kind::camera, nullptr, nullptr});
    } else if (is_camera(ref)) {
        if (!session_open_) return eds::err_session_not_open;
        if (faults_.no_volume || index != 0) return eds::err_invalid_index;
        *child = hand_out({Object::Kind::entry, &volume_, nullptr});
    } else if (Object* object = find(ref, Object::Kind::entry)) {
        auto& children = object->entry->children;
        if (index < 0 || static_cast<size_t>(index) >= children.size()) return eds::err_invalid_index;
        *child = hand_out({Object::Kind::entry, children[static_cast<size_t>(index)].get(), nullptr});
    } else {
        return eds::err_invalid_handle;
    }
    return eds::ok;
}

EdsUInt32 SimulatedCamera::release(EdsBaseRef ref) {
    log_call("EdsRelease %s", describe(ref).c_str());
    objects_.erase(number_of(ref));
    return 0;
}

EdsError SimulatedCamera::set_object_handler(EdsCameraRef camera, EdsObjectEvent event, EdsObjectEventHandler handler,
                                             void* context) {
    log_call("EdsSetObjectEventHandler 0x%X", event);
    if (!is_camera(camera)) return eds::err_invalid_handle;
    object_handler_ = handler;
    object_context_ = context;
    return eds::ok;
}

// This camera never changes a property or its state by itself, so these
// handlers are accepted and never called.
EdsError SimulatedCamera::set_property_handler(EdsCameraRef camera, EdsPropertyEvent event, EdsPropertyEventHandler,
                                               void*) {
    log_call("EdsSetPropertyEventHandler 0x%X", event);
    return is_camera(camera) ? eds::ok : eds::err_invalid_handle;
}

EdsError SimulatedCamera::set_state_handler(EdsCameraRef camera, EdsStateEvent event, EdsStateEventHandler, void*) {
    log_call("EdsSetCameraStateEventHandler 0x%X", event);
    return is_camera(camera) ? eds::ok : eds::err_invalid_handle;
}

EdsError SimulatedCamera::open_session(EdsCameraRef camera) {
    log_call("EdsOpenSession");
    if (!is_camera(camera)) return eds::err_invalid_handle;
    if (session_open_) return eds::err_device_busy;
    session_open_ = true;
    return eds::ok;
}

EdsError SimulatedCamera::close_session(EdsCameraRef camera) {
    log_call("EdsCloseSession %s", describe(camera).c_str());
    if (!is_camera(camera)) return eds::err_invalid_handle;
    session_open_ = false;
    return eds::ok;
}

const std::vector<int32_t>* SimulatedCamera::values_of(EdsPropertyID property) const {
    if (property == eds::property_shutter_speed) return &shutter_speeds_;
    if (property == eds::property_aperture) return &apertures_;
    return nullptr;
}

uint32_t* SimulatedCamera::setting_of(EdsPropertyID property) {
    if (property == eds::property_shutter_speed) return &shutter_speed_;
    if (property == eds::property_aperture) return &aperture_;
    return nullptr;
}

EdsError SimulatedCamera::property_desc(EdsBaseRef ref, EdsPropertyID property, EdsPropertyDesc* description) {
    log_call("EdsGetPropertyDesc 0x%X", property);
    if (!is_camera(ref) || !description) return eds::err_invalid_handle;
    if (!session_open_) return eds::err_session_not_open;
    const std::vector<int32_t>* values = values_of(property);
    if (!values) return eds::err_not_supported;
    *description = {};
    description->form = 1;
    description->access = 1;
    description->count = static_cast<EdsInt32>(values->size());
    std::copy(values->begin(), values->end(), description->values);
    return eds::ok;
}

EdsError SimulatedCamera::property_size(EdsBaseRef ref, EdsPropertyID property, EdsInt32, EdsDataType* type,
                                        EdsUInt32* size) {
    log_call("EdsGetPropertySize 0x%X", property);
    if (!is_camera(ref) || !type || !size) return eds::err_invalid_handle;
    if (!session_open_) return eds::err_session_not_open;
    if (!setting_of(property)) return eds::err_not_supported;
    *type = eds::data_type_uint32;
    *size = sizeof(uint32_t);
    return eds::ok;
}

EdsError SimulatedCamera::property_data(EdsBaseRef ref, EdsPropertyID property, EdsInt32, EdsUInt32 size,
                                        void* data) {
    log_call("EdsGetPropertyData 0x%X", property);
    if (!is_camera(ref) || !data) return eds::err_invalid_handle;
    if (!session_open_) return eds::err_session_not_open;
    const uint32_t* setting = setting_of(property);
    if (!setting) return eds::err_not_supported;
    if (size != sizeof *setting) return eds::err_invalid_parameter;
    std::memcpy(data, setting, sizeof *setting);
    return eds::ok;
}

EdsError SimulatedCamera::set_property_data(EdsBaseRef ref, EdsPropertyID property, EdsInt32, EdsUInt32 size,
                                            const void* data) {
    uint32_t code = 0;
    if (data && size == sizeof code) std::memcpy(&code, data, sizeof code);
    EdsError result = eds::ok;
    const std::vector<int32_t>* values = values_of(property);
    if (!is_camera(ref) || !data) {
        result = eds::err_invalid_handle;
    } else if (!session_open_) {
        result = eds::err_session_not_open;
    } else if (!values || size != sizeof code) {
        result = eds::err_invalid_parameter;
    } else if (refusals_left_ != 0) {
        if (refusals_left_ > 0) --refusals_left_;
        result = eds::err_device_busy;
    } else if (std::find(values->begin(), values->end(), static_cast<int32_t>(code)) == values->end()) {
        result = eds::err_invalid_parameter;  // not a setting this lens or shutter has
    } else {
        *setting_of(property) = code;
    }
    log_call("EdsSetPropertyData 0x%X 0x%X -> 0x%X", property, code, result);
    return result;
}

EdsError SimulatedCamera::send_command(EdsCameraRef camera, EdsCameraCommand command, EdsInt32) {
    log_call("EdsSendCommand %u", command);
    if (!is_camera(camera)) return eds::err_invalid_handle;
    if (!session_open_) return eds::err_session_not_open;
    if (command != eds::command_take_picture) return eds::err_not_supported;
    take_picture();
    return eds::ok;
}

void SimulatedCamera::take_picture() {
    std::optional<Scene> scene;
    if (const std::string path = scene_path(); !path.empty()) scene = load_scene(path);
    // JPEG cannot hold every size a Radiance picture can have.
    constexpr int largest_jpeg_side = 65500;
    if (!scene || scene->width <= 0 || scene->height <= 0 || scene->width > largest_jpeg_side ||
        scene->height > largest_jpeg_side)
        scene = test_chart();
    const LensOptics optics = lens_optics();
    apply_lens(*scene, optics.vignetting, optics.fisheye_fraction);

    StorageEntry* picture = picture_folder_->add(strprintf("IMG_%04u.JPG", ++picture_number_ % 10000), false);
    // The EXIF data give the exposure the sensor really had (1/256 s for the
    // setting a person reads as 1/250), so that the pictures' luminance can
    // be worked out exactly from them.
    const ShotData shot{exposure_seconds(shutter_speed_), f_number(aperture_), 100, local_date_time(),
                        camera_make, camera_model, lens_model};
    picture->data = expose_jpeg(*scene, shot, current_response());
    log_call("picture %s 0x%X 0x%X", picture->name.c_str(), aperture_, shutter_speed_);
    // The handler owns the reference it is given and releases it.
    if (object_handler_)
        object_handler_(eds::object_event_transfer_request, hand_out({Object::Kind::entry, picture, nullptr}),
                        object_context_);
}

EdsError SimulatedCamera::item_info(EdsDirectoryItemRef item, EdsDirectoryItemInfo* info) {
    log_call("EdsGetDirectoryItemInfo %s", describe(item).c_str());
    Object* object = find(item, Object::Kind::entry);
    if (!object || !info) return eds::err_invalid_handle;
    *info = {};
    const StorageEntry& entry = *object->entry;
    info->size = static_cast<EdsUInt32>(entry.data.size());
    info->is_folder = entry.is_folder ? 1 : 0;
    std::strncpy(info->file_name, entry.name.c_str(), sizeof info->file_name - 1);
    return eds::ok;
}

EdsError SimulatedCamera::create_file_stream(const char* path, EdsUInt32 disposition, EdsUInt32 access,
                                             EdsStreamRef* stream) {
    log_call("EdsCreateFileStream %s %u %u", path ? path : "(null)", disposition, access);
    if (!path || !stream) return eds::err_invalid_parameter;
    if (disposition != eds::file_create_always || access != eds::access_read_write) return eds::err_not_supported;
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path, "w+b"));
    if (!file) return eds::err_file_io;
    *stream = hand_out({Object::Kind::stream, nullptr, std::move(file)});
    return eds::ok;
}

EdsError SimulatedCamera::download(EdsDirectoryItemRef item, EdsUInt32 size, EdsStreamRef stream) {
    log_call("EdsDownload %s %u", describe(item).c_str(), size);
    Object* source = find(item, Object::Kind::entry);
    Object* target = find(stream, Object::Kind::stream);
    if (!source || !target) return eds::err_invalid_handle;
    const std::string& data = source->entry->data;
    if (size > data.size()) return eds::err_invalid_parameter;
    if (faults_.fail_download) return eds::err_file_io;
    if (std::fwrite(data.data(), 1, size, target->file.get()) != size) return eds::err_file_io;
    return std::fflush(target->file.get()) == 0 ? eds::ok : eds::err_file_io;
}

EdsError SimulatedCamera::download_complete(EdsDirectoryItemRef item) {
    log_call("EdsDownloadComplete %s", describe(item).c_str());
    return find(item, Object::Kind::entry) ? eds::ok : eds::err_invalid_handle;
}

}  // namespace sim
