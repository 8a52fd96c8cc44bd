#pragma once
// One tethered camera behind the SDK functions: a camera list with one
// camera, one storage volume holding MISC and DCIM/100SIMUL, shutter speeds
// from 30 s to 1/8000 and the apertures of an f/2.8-22 lens in third stops.
// Taking a picture exposes the scene at the current settings, files it as the
// next IMG_nnnn.JPG and reports it to the object event handler at once.
//
// References are numbers handed out per request; releasing one forgets it.
// The card keeps its pictures for the life of the process (unless told it is
// empty); the faults are read again at every initialisation.

#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "capture/eds_abi.h"
#include "sim_settings.h"

namespace sim {

// The names its pictures' EXIF data give.
inline constexpr const char* camera_make = "Candelux";
inline constexpr const char* camera_model = "Simulated Camera";
inline constexpr const char* lens_model = "Simulated Lens 24mm F2.8";

struct StorageEntry {
    std::string name;
    bool is_folder = false;
    std::string data;  // a picture's bytes
    std::vector<std::unique_ptr<StorageEntry>> children;

    StorageEntry* add(std::string entry_name, bool folder);
};

class SimulatedCamera {
public:
    SimulatedCamera();

    EdsError initialize();
    EdsError terminate();
    EdsError camera_list(EdsCameraListRef* list);
    EdsError child_count(EdsBaseRef ref, EdsUInt32* count);
    EdsError child_at(EdsBaseRef ref, EdsInt32 index, EdsBaseRef* child);
    EdsUInt32 release(EdsBaseRef ref);
    EdsError set_object_handler(EdsCameraRef camera, EdsObjectEvent event, EdsObjectEventHandler handler,
                                void* context);
    EdsError set_property_handler(EdsCameraRef camera, EdsPropertyEvent event, EdsPropertyEventHandler handler,
                                  void* context);
    EdsError set_state_handler(EdsCameraRef camera, EdsStateEvent event, EdsStateEventHandler handler,
                               void* context);
    EdsError open_session(EdsCameraRef camera);
    EdsError close_session(EdsCameraRef camera);
    EdsError property_desc(EdsBaseRef ref, EdsPropertyID property, EdsPropertyDesc* description);
    EdsError property_size(EdsBaseRef ref, EdsPropertyID property, EdsInt32 parameter, EdsDataType* type,
                           EdsUInt32* size);
    EdsError property_data(EdsBaseRef ref, EdsPropertyID property, EdsInt32 parameter, EdsUInt32 size, void* data);
    EdsError set_property_data(EdsBaseRef ref, EdsPropertyID property, EdsInt32 parameter, EdsUInt32 size,
                               const void* data);
    EdsError send_command(EdsCameraRef camera, EdsCameraCommand command, EdsInt32 parameter);
    EdsError item_info(EdsDirectoryItemRef item, EdsDirectoryItemInfo* info);
    EdsError create_file_stream(const char* path, EdsUInt32 disposition, EdsUInt32 access, EdsStreamRef* stream);
    EdsError download(EdsDirectoryItemRef item, EdsUInt32 size, EdsStreamRef stream);
    EdsError download_complete(EdsDirectoryItemRef item);

private:
    struct FileCloser {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };
    struct Object {
        enum class Kind { camera_list, camera, entry, stream } kind;
        StorageEntry* entry = nullptr;
        std::unique_ptr<std::FILE, FileCloser> file;  // a stream's, closed when it is released
    };

    EdsBaseRef hand_out(Object object);
    Object* find(EdsBaseRef ref, Object::Kind kind);
    bool is_camera(EdsBaseRef ref) { return find(ref, Object::Kind::camera) != nullptr; }
    const std::vector<int32_t>* values_of(EdsPropertyID property) const;
    uint32_t* setting_of(EdsPropertyID property);
    void take_picture();
    void forget_clients();
    std::string describe(EdsBaseRef ref);

    bool initialized_ = false;
    bool session_open_ = false;
    Faults faults_;
    int refusals_left_ = 0;

    std::map<uintptr_t, Object> objects_;
    uintptr_t next_ref_ = 0x100;

    EdsObjectEventHandler object_handler_ = nullptr;
    void* object_context_ = nullptr;

    StorageEntry volume_;
    StorageEntry* picture_folder_ = nullptr;
    unsigned picture_number_ = 0;

    std::vector<int32_t> shutter_speeds_;
    std::vector<int32_t> apertures_;
    uint32_t shutter_speed_ = 0x68;  // 1/60
    uint32_t aperture_ = 0x30;       // f/5.6
};

SimulatedCamera& camera();

}  // namespace sim
