#pragma once
// File > Assemble HDR...: the pictures of a series, their exposures (read
// from EXIF, corrected by hand where wrong or missing), and the run that
// assembles them into a luminance picture, which then opens in the window.
//
// The table's texts are the form's state; the dialog shows them and hands
// every edit back. An empty f-number or ISO leaves the scale relative.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "assembly/assembly_desktop.h"
#include "assembly/response_curve.h"
#include "profiles/profile_form.h"

struct AssemblyRow {
    std::string path;
    std::string time;      // "1/250", "0.5", "2"
    std::string f_number;  // "8", "" when unknown
    std::string iso;       // "100", "" when unknown
};

namespace assembly_column {
inline constexpr int picture = 0;
inline constexpr int time = 1;
inline constexpr int f_number = 2;
inline constexpr int iso = 3;
}  // namespace assembly_column

class AssemblyForm {
public:
    using OpenResult = std::function<void(const std::string& path)>;
    // `profile_folder` holds the camera profiles offered for the run;
    // `settings_file` (profile_settings) remembers the Ev check's tolerance.
    AssemblyForm(AssemblyDesktop& desktop, OpenResult open_result, const std::string& profile_folder = "",
                 std::string settings_file = "");

    std::vector<AssemblyRow> rows;
    std::string status;    // the line under the table
    bool running = false;  // while a run goes, only Cancel works
    std::string last_output;
    bool align = false;  // shift hand-held pictures onto the middle exposure
    // The camera profiles to choose from; `profile` 0 is "No profile", i the
    // profile profiles[i - 1], applied as `candelux-cli assemble --profile`.
    std::vector<ProfileEntry> profiles;
    int profile = 0;
    // "Measured illuminance (lx)": a meter's reading at the lens, "" for
    // none; the assembled picture's vertical illuminance is checked against
    // it (the Ev check) and flagged beyond `ev_tolerance` percent.
    std::string measured_illuminance;
    double ev_tolerance = 10;  // percent; remembered when changed
    std::string ev_result;  // the Ev check's sentence after a run, "" without
    // The response curve the last run recovered; none when it came from
    // the profile.
    std::optional<ResponseCurve> recovered_response;

    void on_add_pictures();
    void on_remove(int row);
    void on_edit(int row, int column, const std::string& text);
    // Checks the table, asks for the output's name, runs with progress,
    // reports the result and opens it. True when a picture was written.
    bool on_assemble();
    // Stores the response curve the last run recovered into the chosen
    // profile. True when it was stored.
    bool on_save_response();
    void on_ev_tolerance(double percent);

private:
    void run_ev_check(const std::string& output);

    AssemblyDesktop& desktop_;
    OpenResult open_result_;
    std::string settings_file_;
};
