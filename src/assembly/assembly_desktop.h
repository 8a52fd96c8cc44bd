#pragma once
// What File > Assemble HDR... needs of the windows, beside the main Desktop
// seam: a file dialog that picks several pictures, the output's name, its
// messages, the progress of a run with its Cancel button, and the dialog
// itself. QtDesktop implements it; tests answer it from a script.

#include <string>
#include <vector>

#include "desktop/desktop.h"

class AssemblyForm;

class AssemblyDesktop {
public:
    virtual ~AssemblyDesktop() = default;

    // The pictures chosen in one open dialog; none when cancelled.
    virtual std::vector<std::string> choose_series_pictures() = 0;
    // The assembled picture's name, asked with `suggested` filled in (the
    // dialog asks before an existing file is replaced); "" when cancelled.
    virtual std::string choose_assembly_output(const std::string& suggested) = 0;
    // A message box owned by the assembly dialog, caption "Assemble HDR".
    virtual void assembly_message(const std::string& text, MessageIcon icon) = 0;
    // A question with Yes and No in the same box; true for Yes.
    virtual bool assembly_question(const std::string& text) = 0;
    // Shows the share done (0 to 1) and lets the windows repaint; false once
    // the user has asked to cancel.
    virtual bool assembly_progress(double done) = 0;
    // Shows the modeless dialog over `form`, replacing an earlier one.
    virtual void show_assembly_dialog(AssemblyForm& form) = 0;
};
