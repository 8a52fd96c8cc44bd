// Capture > Setup...: connects to the camera and opens the capture dialog.

#include "app/application.h"
#include "capture/capture_session.h"

void CaptureSessionDeleter::operator()(CaptureSession* session) const { delete session; }

void Application::run_capture_setup() {
    if (!capture_) capture_.reset(new CaptureSession);
    if (capture_->camera.connect_camera() != 0) {
        desktop_.message_box("Could not communicate with a connected camera", "Connection Error!",
                             MessageIcon::warning, Owner::none);
        return;
    }
    auto form = std::make_unique<CaptureForm>(desktop_, capture_->camera, settings_file_, CapturePacing::real_time(),
                                              [] { return std::chrono::system_clock::now(); });
    form->on_open();
    // The desktop replaces the previous dialog, which still refers to the
    // previous form; that form may go only after it.
    desktop_.show_capture_dialog(*form);
    capture_->form = std::move(form);
}
