#pragma once
// Tools > Tonemapping > Reinhard...: the "Reinhard Tonemapping Settings"
// dialog's rules. The dialog ends with OK only for a usable output path; the
// caller then runs ReinhardTM with options() into output_name().

#include <string>

#include "desktop/desktop.h"
#include "tools/export_commands.h"

namespace reinhard_ids {
inline constexpr int dialog = 119;
inline constexpr int output = 1081;  // read-only
inline constexpr int browse = 1082;
inline constexpr int key = 1083;
inline constexpr int white = 1084;
inline constexpr int gamma = 1085;
inline constexpr int dodging = 1086;
inline constexpr int threshold = 1087;
inline constexpr int link = 1088;
}  // namespace reinhard_ids

inline constexpr const char* reinhard_title = "Reinhard Tonemapping Settings";
// The photographic tone reproduction paper (Reinhard, Stark, Shirley and
// Ferwerda, SIGGRAPH 2002).
inline constexpr const char* reinhard_link_url = "https://doi.org/10.1145/566654.566575";

class ReinhardForm {
public:
    explicit ReinhardForm(Desktop& desktop) : desktop_(desktop) {}

    // The dialog's fields.
    std::string output_text;
    bool dodging_checked = false;
    std::string key_text;
    std::string white_text;
    std::string gamma_text;
    std::string threshold_text;

    // Empty path, dodging off, the defaults 0.18, 1e+020, 1.6 and 0.05.
    void on_open();
    // A number field (one of reinhard_ids) after the numeric filter.
    void on_number_changed(int id, const std::string& text);
    void on_browse();
    // True when the dialog may close with OK; otherwise the path was
    // refused with a message and the dialog stays.
    bool on_ok();

    const ReinhardOptions& options() const { return options_; }
    // The JPEG written: the Browse path with ".jpg" by the output name rule.
    std::string output_name() const;

private:
    Desktop& desktop_;
    ReinhardOptions options_;
    std::string browse_path_;
};
