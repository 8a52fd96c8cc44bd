#pragma once
// The glare pages' "View Types" page (133): no view of its own (the
// picture's), a view type with its two sizes, or a view file chosen with
// Browse. Next is held back while a view type lacks a size, and a view file
// that is missing or that the shell would misread is refused.

#include <string>

#include "analysis/glare_settings.h"
#include "analysis/wizard_sheet.h"

class Desktop;

inline constexpr const char* no_view_file_text = "No File Selected";
inline constexpr const char* open_view_file_title = "Open View File";

class GlareViewPage {
public:
    GlareViewPage(GlareSettings& record, Desktop& desktop, WizardSheet& sheet);

    // --- what the page shows ---
    GlareViewMode mode() const { return mode_; }
    int type_choice() const { return type_choice_; }
    const std::string& file_label() const { return file_label_; }
    bool type_controls_enabled() const { return mode_ == GlareViewMode::by_type; }
    bool file_controls_enabled() const { return mode_ == GlareViewMode::by_file; }

    // --- events ---
    void on_first_display();
    void on_activate();
    void on_mode(GlareViewMode mode);
    void on_type_chosen(int index) { type_choice_ = index; }
    void on_vertical(float degrees);
    void on_horizontal(float degrees);
    void on_browse();
    // False when the page refuses to be left.
    bool on_next();

private:
    void offer_next_when_sized();

    GlareSettings& record_;
    Desktop& desktop_;
    WizardSheet& sheet_;
    GlareViewMode mode_ = GlareViewMode::none;
    int type_choice_ = default_glare_view_type;
    std::string file_label_ = no_view_file_text;
};
