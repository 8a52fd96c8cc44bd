#pragma once
// The C interface of the camera maker's SDK as this program uses it: the
// types, the functions it looks up by name, and the numbers it passes or
// reads. The binding (camera_sdk.h) never links against these functions; it
// only takes their types. The simulated SDK in camera/ implements them.
//
// Every function returns a 32-bit code, 0 for success. References are opaque
// handles owned by the SDK; 0 is "no object". Records are laid out for C.

#include <cstddef>
#include <cstdint>

extern "C" {

typedef uint32_t EdsError;
typedef uint32_t EdsUInt32;
typedef int32_t EdsInt32;
typedef uint32_t EdsPropertyID;
typedef uint32_t EdsDataType;
typedef uint32_t EdsCameraCommand;
typedef uint32_t EdsObjectEvent;
typedef uint32_t EdsPropertyEvent;
typedef uint32_t EdsStateEvent;

typedef struct EdsObject* EdsBaseRef;
typedef EdsBaseRef EdsCameraListRef;
typedef EdsBaseRef EdsCameraRef;
typedef EdsBaseRef EdsVolumeRef;
typedef EdsBaseRef EdsDirectoryItemRef;
typedef EdsBaseRef EdsStreamRef;

// What a camera offers for one property: form, access, then `count` valid
// entries of `values`.
typedef struct {
    EdsInt32 form;
    EdsInt32 access;
    EdsInt32 count;
    EdsInt32 values[128];
} EdsPropertyDesc;

// One entry of a storage volume: its size in bytes, 1 for a folder, and its
// zero-terminated file name at byte 16.
typedef struct {
    EdsUInt32 size;
    EdsUInt32 is_folder;
    EdsUInt32 group;
    EdsUInt32 option;
    char file_name[256];
    EdsUInt32 format;
    EdsUInt32 date_time;
} EdsDirectoryItemInfo;

typedef EdsError (*EdsObjectEventHandler)(EdsObjectEvent event, EdsBaseRef object, void* context);
typedef EdsError (*EdsPropertyEventHandler)(EdsPropertyEvent event, EdsPropertyID property, EdsUInt32 parameter,
                                            void* context);
typedef EdsError (*EdsStateEventHandler)(EdsStateEvent event, EdsUInt32 parameter, void* context);

EdsError EdsInitializeSDK(void);
EdsError EdsTerminateSDK(void);
EdsError EdsGetCameraList(EdsCameraListRef* list);
EdsError EdsGetChildCount(EdsBaseRef ref, EdsUInt32* count);
EdsError EdsGetChildAtIndex(EdsBaseRef ref, EdsInt32 index, EdsBaseRef* child);
EdsUInt32 EdsRelease(EdsBaseRef ref);
EdsError EdsSetObjectEventHandler(EdsCameraRef camera, EdsObjectEvent event, EdsObjectEventHandler handler,
                                  void* context);
EdsError EdsSetPropertyEventHandler(EdsCameraRef camera, EdsPropertyEvent event, EdsPropertyEventHandler handler,
                                    void* context);
EdsError EdsSetCameraStateEventHandler(EdsCameraRef camera, EdsStateEvent event, EdsStateEventHandler handler,
                                       void* context);
EdsError EdsOpenSession(EdsCameraRef camera);
EdsError EdsCloseSession(EdsCameraRef camera);
EdsError EdsGetPropertyDesc(EdsBaseRef ref, EdsPropertyID property, EdsPropertyDesc* description);
EdsError EdsGetPropertySize(EdsBaseRef ref, EdsPropertyID property, EdsInt32 parameter, EdsDataType* type,
                            EdsUInt32* size);
EdsError EdsGetPropertyData(EdsBaseRef ref, EdsPropertyID property, EdsInt32 parameter, EdsUInt32 size,
                            void* data);
EdsError EdsSetPropertyData(EdsBaseRef ref, EdsPropertyID property, EdsInt32 parameter, EdsUInt32 size,
                            const void* data);
EdsError EdsSendCommand(EdsCameraRef camera, EdsCameraCommand command, EdsInt32 parameter);
EdsError EdsGetDirectoryItemInfo(EdsDirectoryItemRef item, EdsDirectoryItemInfo* info);
EdsError EdsCreateFileStream(const char* path, EdsUInt32 disposition, EdsUInt32 access, EdsStreamRef* stream);
EdsError EdsDownload(EdsDirectoryItemRef item, EdsUInt32 size, EdsStreamRef stream);
EdsError EdsDownloadComplete(EdsDirectoryItemRef item);

}  // extern "C"

static_assert(offsetof(EdsDirectoryItemInfo, file_name) == 16);
static_assert(sizeof(EdsPropertyDesc) == 131 * 4);

namespace eds {

inline constexpr EdsError ok = 0;

// SDK failures the simulated camera reports; the binding only tells 0 from
// anything else.
inline constexpr EdsError err_internal = 0x0002;
inline constexpr EdsError err_not_supported = 0x0007;
inline constexpr EdsError err_invalid_handle = 0x0061;
inline constexpr EdsError err_invalid_index = 0x0062;
inline constexpr EdsError err_invalid_parameter = 0x0060;
inline constexpr EdsError err_file_io = 0x0020;
inline constexpr EdsError err_session_not_open = 0x2003;
inline constexpr EdsError err_device_busy = 0x0081;

inline constexpr EdsPropertyID property_aperture = 0x405;
inline constexpr EdsPropertyID property_shutter_speed = 0x406;

inline constexpr EdsCameraCommand command_take_picture = 0;

inline constexpr EdsObjectEvent object_event_all = 0x200;
// A new picture on the camera waits to be fetched.
inline constexpr EdsObjectEvent object_event_transfer_request = 0x204;
inline constexpr EdsPropertyEvent property_event_all = 0x100;
inline constexpr EdsStateEvent state_event_all = 0x300;

inline constexpr EdsDataType data_type_uint32 = 9;

inline constexpr EdsUInt32 file_create_always = 1;
inline constexpr EdsUInt32 access_read_write = 2;

}  // namespace eds
