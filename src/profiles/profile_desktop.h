#pragma once
// What Tools > Camera Profiles... needs of the windows: a name for a new
// profile, a file dialog for a profile kept anywhere, its messages and
// questions, and the window itself. QtDesktop implements it; tests answer it
// from a script.

#include <string>

#include "desktop/desktop.h"

class ProfileForm;

class ProfileDesktop {
public:
    virtual ~ProfileDesktop() = default;

    // The new profile's name; "" when cancelled.
    virtual std::string ask_profile_name() = 0;
    // A profile file chosen in an open dialog; "" when cancelled.
    virtual std::string choose_profile_file() = 0;
    // An assembled picture (.hdr) chosen in an open dialog, for the
    // vignetting fit or as the vignetting picture; "" when cancelled.
    virtual std::string choose_profile_picture(const std::string& title) = 0;
    // A message box owned by the profile window, caption "Camera Profiles".
    virtual void profile_message(const std::string& text, MessageIcon icon) = 0;
    // A question with Yes and No; true for Yes.
    virtual bool profile_question(const std::string& text) = 0;
    // Shows the modeless window over `form`, replacing an earlier one.
    virtual void show_profile_window(ProfileForm& form) = 0;
};
