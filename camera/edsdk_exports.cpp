// The SDK's exported functions.
//
// Each is an indirect function: the dynamic linker asks its resolver for the
// address at every lookup, and the resolver answers "none" for a function
// named in EDSDK_SIM_MISSING. So a test can ask for a library that lacks a
// function without building a second library.

#include "capture/eds_abi.h"
#include "sim_settings.h"
#include "simulated_camera.h"

namespace {

EdsError initialize_sdk() { return sim::camera().initialize(); }
EdsError terminate_sdk() { return sim::camera().terminate(); }
EdsError get_camera_list(EdsCameraListRef* list) { return sim::camera().camera_list(list); }
EdsError get_child_count(EdsBaseRef ref, EdsUInt32* count) { return sim::camera().child_count(ref, count); }
EdsError get_child_at_index(EdsBaseRef ref, EdsInt32 index, EdsBaseRef* child) {
    return sim::camera().child_at(ref, index, child);
}
EdsUInt32 release(EdsBaseRef ref) { return sim::camera().release(ref); }
EdsError set_object_event_handler(EdsCameraRef camera, EdsObjectEvent event, EdsObjectEventHandler handler,
                                  void* context) {
    return sim::camera().set_object_handler(camera, event, handler, context);
}
EdsError set_property_event_handler(EdsCameraRef camera, EdsPropertyEvent event, EdsPropertyEventHandler handler,
                                    void* context) {
    return sim::camera().set_property_handler(camera, event, handler, context);
}
EdsError set_camera_state_event_handler(EdsCameraRef camera, EdsStateEvent event, EdsStateEventHandler handler,
                                        void* context) {
    return sim::camera().set_state_handler(camera, event, handler, context);
}
EdsError open_session(EdsCameraRef camera) { return sim::camera().open_session(camera); }
EdsError close_session(EdsCameraRef camera) { return sim::camera().close_session(camera); }
EdsError get_property_desc(EdsBaseRef ref, EdsPropertyID property, EdsPropertyDesc* description) {
    return sim::camera().property_desc(ref, property, description);
}
EdsError get_property_size(EdsBaseRef ref, EdsPropertyID property, EdsInt32 parameter, EdsDataType* type,
                           EdsUInt32* size) {
    return sim::camera().property_size(ref, property, parameter, type, size);
}
EdsError get_property_data(EdsBaseRef ref, EdsPropertyID property, EdsInt32 parameter, EdsUInt32 size, void* data) {
    return sim::camera().property_data(ref, property, parameter, size, data);
}
EdsError set_property_data(EdsBaseRef ref, EdsPropertyID property, EdsInt32 parameter, EdsUInt32 size,
                           const void* data) {
    return sim::camera().set_property_data(ref, property, parameter, size, data);
}
EdsError send_command(EdsCameraRef camera, EdsCameraCommand command, EdsInt32 parameter) {
    return sim::camera().send_command(camera, command, parameter);
}
EdsError get_directory_item_info(EdsDirectoryItemRef item, EdsDirectoryItemInfo* info) {
    return sim::camera().item_info(item, info);
}
EdsError create_file_stream(const char* path, EdsUInt32 disposition, EdsUInt32 access, EdsStreamRef* stream) {
    return sim::camera().create_file_stream(path, disposition, access, stream);
}
EdsError download(EdsDirectoryItemRef item, EdsUInt32 size, EdsStreamRef stream) {
    return sim::camera().download(item, size, stream);
}
EdsError download_complete(EdsDirectoryItemRef item) { return sim::camera().download_complete(item); }

}  // namespace

// The resolver's return type is the function's own pointer type, so an
// implementation with another signature does not compile.
#define SIM_EXPORT(name, implementation)                                                     \
    extern "C" {                                                                             \
    static decltype(&name) resolve_##name() {                                                \
        return sim::function_missing(#name) ? nullptr : &implementation;                     \
    }                                                                                        \
    __attribute__((visibility("default"), ifunc("resolve_" #name))) decltype(name) name;    \
    }

SIM_EXPORT(EdsInitializeSDK, initialize_sdk)
SIM_EXPORT(EdsTerminateSDK, terminate_sdk)
SIM_EXPORT(EdsGetCameraList, get_camera_list)
SIM_EXPORT(EdsGetChildCount, get_child_count)
SIM_EXPORT(EdsGetChildAtIndex, get_child_at_index)
SIM_EXPORT(EdsRelease, release)
SIM_EXPORT(EdsSetObjectEventHandler, set_object_event_handler)
SIM_EXPORT(EdsSetPropertyEventHandler, set_property_event_handler)
SIM_EXPORT(EdsSetCameraStateEventHandler, set_camera_state_event_handler)
SIM_EXPORT(EdsOpenSession, open_session)
SIM_EXPORT(EdsCloseSession, close_session)
SIM_EXPORT(EdsGetPropertyDesc, get_property_desc)
SIM_EXPORT(EdsGetPropertySize, get_property_size)
SIM_EXPORT(EdsGetPropertyData, get_property_data)
SIM_EXPORT(EdsSetPropertyData, set_property_data)
SIM_EXPORT(EdsSendCommand, send_command)
SIM_EXPORT(EdsGetDirectoryItemInfo, get_directory_item_info)
SIM_EXPORT(EdsCreateFileStream, create_file_stream)
SIM_EXPORT(EdsDownload, download)
SIM_EXPORT(EdsDownloadComplete, download_complete)
