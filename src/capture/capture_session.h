#pragma once
// The camera connection and the form of the capture dialog, kept by the
// Application for the whole run. The form goes first: it refers to the
// camera.

#include <memory>

#include "capture/camera_sdk.h"
#include "capture/capture_form.h"

struct CaptureSession {
    CameraSdk camera;
    std::unique_ptr<CaptureForm> form;
};
