#pragma once
// Tools > Tonemapping > Ward...: the "Ward Tonemapping" dialog's rules. The
// dialog ends with OK only for a usable output path; the caller then runs
// pcond with options() and tm_linear into output_name().

#include <array>
#include <string>

#include "desktop/desktop.h"
#include "tools/export_commands.h"

namespace ward_ids {
inline constexpr int dialog = 129;
inline constexpr int output = 1111;  // read-only
inline constexpr int browse = 1112;
inline constexpr int first_switch = 1113;  // 1113 … 1119 in the order of ward_switch_names
inline constexpr int linear = 1119;
inline constexpr int exposure = 1120;
inline constexpr int link = 1088;
}  // namespace ward_ids

inline constexpr const char* ward_title = "Ward Tonemapping";
// The histogram adjustment paper behind pcond (Ward Larson, Rushmeier and
// Piatko, IEEE TVCG 1997).
inline constexpr const char* ward_link_url = "https://doi.org/10.1109/2945.646233";

inline constexpr std::array<const char*, 7> ward_switch_texts{
    "Mimic Human Visual Response (-h)",
    "Defocus Darker Regions (-a)",
    "Add Veiling Glare (-v)",
    "Use Human Contrast Sensitivity Function to determine exposure (-s)",
    "Enable Color loss in output and a shift to blue-dominant function (-c)",
    "Use Center Weighted Average for Exposure (-w)",
    "Use Linear Response Function (-l)",
};

class WardForm {
public:
    explicit WardForm(Desktop& desktop) : desktop_(desktop) {}

    // The dialog's fields.
    std::string output_text;
    std::array<bool, 7> switch_checked{};
    std::string exposure_text;
    bool exposure_enabled = false;  // only with the linear response

    // Empty path, every switch off, exposure 1 in a disabled field.
    void on_open();
    // A check box, by its index in ward_switch_names.
    void on_switch(size_t index, bool checked);
    // The exposure field after the numeric filter.
    void on_exposure_changed(const std::string& text);
    void on_browse();
    // True when the dialog may close with OK; otherwise the path was
    // refused with a message owned by the dialog, which stays.
    bool on_ok();

    const WardOptions& options() const { return options_; }
    // The JPEG written: the Browse path with ".jpg" by the output name rule.
    std::string output_name() const;

private:
    Desktop& desktop_;
    WardOptions options_;
    std::string browse_path_;
};
