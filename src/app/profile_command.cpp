// Tools > Camera Profiles...: the modeless profile window over the profiles
// folder of this program's configuration folder.

#include "app/application.h"
#include "profiles/profile_form.h"

void ProfileFormDeleter::operator()(ProfileForm* form) const { delete form; }

void Application::run_camera_profiles() {
    if (!profile_desktop_) return;
    auto form = std::make_unique<ProfileForm>(*profile_desktop_, profile_folder(settings_file_.folders().appdata));
    // The desktop replaces the previous window, which still refers to the
    // previous form; that form may go only after it.
    profile_desktop_->show_profile_window(*form);
    profile_form_.reset(form.release());
}
