// File > Assemble HDR...: the modeless assembly dialog; its result opens as
// if chosen in File > Open.

#include "app/application.h"
#include "assembly/assembly_form.h"
#include "profiles/camera_profile.h"
#include "profiles/profile_settings.h"

void AssemblyFormDeleter::operator()(AssemblyForm* form) const { delete form; }

void Application::run_assemble_hdr() {
    if (!assembly_desktop_) return;
    auto form = std::make_unique<AssemblyForm>(*assembly_desktop_,
                                               [this](const std::string& path) { on_open_command(path); },
                                               profile_folder(settings_file_.folders().appdata),
                                               profile_settings_file(settings_file_.folders().appdata));
    // The desktop replaces the previous dialog, which still refers to the
    // previous form; that form may go only after it.
    assembly_desktop_->show_assembly_dialog(*form);
    assembly_form_.reset(form.release());
}
