#pragma once
// The one object that owns the program's state; its methods are the
// operations. It reaches windows, dialogs and the status bar only through the
// Desktop it is given, so that all of it runs under tests without a display.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "analysis/analysis_settings.h"
#include "desktop/desktop.h"
#include "macro/macro_recorder.h"
#include "picture/bgr_raster.h"
#include "picture/luminance_map.h"
#include "regions/picture_regions.h"
#include "settings/platform_folders.h"
#include "settings/settings_apply.h"
#include "settings/settings_file.h"
#include "tools/falsecolor_form.h"
#include "tools/process_runner.h"
#include "tools/image_operation_form.h"
#include "tools/projection_form.h"
#include "tools/resize_form.h"
#include "view/region.h"
#include "view/region_hand_back.h"
#include "view/selection_tools.h"
#include "view/view_geometry.h"

class AssemblyDesktop;
class AssemblyForm;
class ProfileDesktop;
class ProfileForm;
class SeriesDesktop;
class SeriesForm;
// Deletes the profile form where its type is complete (profile_command.cpp).
struct ProfileFormDeleter {
    void operator()(ProfileForm* form) const;
};
// Deletes the assembly form where its type is complete (assembly_command.cpp).
struct AssemblyFormDeleter {
    void operator()(AssemblyForm* form) const;
};
// Deletes the series form where its type is complete (series_command.cpp).
struct SeriesFormDeleter {
    void operator()(SeriesForm* form) const;
};

class RegionListForm;
struct PictureEdit;
class RegionsDesktop;
struct RegionPanelState;
// Deletes the region panel's state where its type is complete (regions_commands.cpp).
struct RegionPanelStateDeleter {
    void operator()(RegionPanelState* state) const;
};

struct CaptureSession;
// Deletes the capture session where its type is complete (capture_command.cpp).
struct CaptureSessionDeleter {
    void operator()(CaptureSession* session) const;
};

// What one paint of the view shows.
struct ViewFrame {
    bool has_picture = false;
    float zoom = 1.0f;
    PointF pan;                        // window position of the picture's top-left corner
    SizeF bitmap;                      // the display picture's size
    std::optional<PointF> guidelines;  // the cursor's picture position, when drawn
    Overlay overlay;                   // selection outlines, picture coordinates
};

// Keys the main window handles.
inline constexpr int key_enter = 13;
inline constexpr int key_escape = 27;

class Application {
public:
    // `program_folder` holds our picture programs; it goes first on the PATH
    // of every child process.
    Application(Desktop& desktop, PlatformFolders folders, std::string program_folder);

    // Start-up, as the main window is created: the settings file, the initial
    // state, the three settings. False when the program cannot go on (the
    // desktop has then been asked to terminate).
    bool on_create();

    // A menu command (or one sent by the legend window or a wizard page).
    void on_command(int id);

    // The main window is being closed: the working files are removed.
    void on_close();

    // --- opening ------------------------------------------------------------
    // File > Open; with a path, that picture is opened without asking.
    void on_open_command(const std::optional<std::string>& path = std::nullopt);
    // Rebuilds the display picture and the luminance map from the working
    // copy, keeping the zoom; every edit ends with it.
    void reload_working_copy();

    // --- the view and the mouse (window coordinates) ---------------------------
    void on_mouse_move(int x, int y, bool shift);
    void on_left_down(int x, int y, bool shift);
    void on_left_up(int x, int y, bool shift);
    void on_left_double_click(int x, int y);
    void on_right_down(int x, int y);
    void on_right_up();
    void on_mouse_leave();
    void on_wheel(int delta);
    void on_resize(int width, int height);
    void on_key_down(int key);
    // Places the picture and settles the selection for one paint.
    ViewFrame paint_frame();

    void clear_selection();
    // ENTER while a wizard waits for a region.
    void hand_back_region();
    void set_analysis_receiver(AnalysisRegionReceiver* receiver) { analysis_receiver_ = receiver; }
    // The windows of File > Assemble HDR...; without them the command does nothing.
    void set_assembly_desktop(AssemblyDesktop* desktop) { assembly_desktop_ = desktop; }
    // The windows of Tools > Camera Profiles...; without them the command does nothing.
    void set_profile_desktop(ProfileDesktop* desktop) { profile_desktop_ = desktop; }
    // The windows of Tools > Series...; without them the command does nothing.
    void set_series_desktop(SeriesDesktop* desktop) { series_desktop_ = desktop; }
    void set_calibration_receiver(CalibrationRegionReceiver* receiver) { calibration_receiver_ = receiver; }

    // --- state, by role -------------------------------------------------------
    Desktop& desktop() { return desktop_; }
    const SettingsFile& settings_file() const { return settings_file_; }
    AppliedSettings& settings() { return settings_; }
    const std::string& cache_directory() const { return settings_.cache_directory; }
    const std::string& startup_directory() const { return startup_directory_; }
    ProcessRunner& runner() { return runner_; }
    MacroRecorder& recorder() { return recorder_; }

    bool image_loaded() const { return image_loaded_; }
    const LuminanceMap& luminance_map() const { return map_; }
    SizeF display_size() const { return bitmap_; }
    float zoom() const { return zoom_; }
    PointF pan() const { return pan_; }
    bool guidelines() const { return guidelines_; }
    const SelectionTools& tools() const { return tools_; }
    SelectionTools& tools() { return tools_; }
    const Region& region_a() const { return region_a_; }
    const Region& region_b() const { return region_b_; }
    bool analysis_wizard_active() const { return analysis_wizard_active_; }
    bool calibration_wizard_active() const { return calibration_wizard_active_; }
    void set_analysis_wizard_active(bool active) { analysis_wizard_active_ = active; }
    void set_calibration_wizard_active(bool active) { calibration_wizard_active_ = active; }

    // Path of a working file (one of working_file::...) in the cache directory.
    std::string working_path(const char* name) const { return settings_.cache_directory + name; }
    const std::string& picture_name() const { return picture_name_; }

    // Enables or disables every picture-dependent menu item.
    void set_image_menu_items(bool enabled);

    // Runs one editing step on the working copy (0 or -1).
    int run_editing_step(const std::string& command_line);

    // Releases the luminance map.
    void release_luminance_map();

    // --- export ---
    // From Tools > Falsecolor until its window is closed; the statistics
    // compute means only meanwhile.
    bool falsecolor_active() const { return falsecolor_active_; }
    // While the falsecolor picture is the view.
    bool falsecolor_open() const { return falsecolor_open_; }
    // The range the falsecolor picture shows, in cd/m².
    float falsecolor_bottom() const { return falsecolor_range_.bottom; }
    float falsecolor_top() const { return falsecolor_range_.top; }
    // The whole scale the falsecolor picture shows: the range and the
    // window's choices.
    FalsecolorScale falsecolor_scale() const;
    // Tools > Falsecolor and the falsecolor window's requests: mode 0 renders
    // the measured range, 1 the range in `bottom` … `top`, -1 ends the view.
    void on_falsecolor_command(int mode, float bottom = 0, float top = 0);

private:
    enum class OpenResult { loaded, cancelled, kept_earlier, failed };
    OpenResult open_image(bool interactive, const std::optional<std::string>& preset_path);
    std::optional<LuminanceMap> prepare_display_copy(const std::string& path);
    std::string display_copy_path() const;
    bool check_open_paths(const std::string& chosen);
    void show_picture_status();

    void use_safe_cache_directory();
    void select_tool(int id);
    void toggle_guidelines();
    void fit_to_display();
    void run_settings_dialog();
    void run_capture_setup();  // capture_command.cpp
    void run_assemble_hdr();   // assembly_command.cpp
    void run_camera_profiles();  // profile_command.cpp
    void run_series();           // series_command.cpp

    PointF picture_position(PointF window) const { return window_to_picture(zoom_, window, pan_); }
    // Runs the selection bookkeeping a paint runs, and returns its outlines.
    Overlay settle_selection();
    void show_position_or_rectangle(bool check_map);

    Desktop& desktop_;
    SettingsFile settings_file_;
    AppliedSettings settings_;
    MacroRecorder recorder_{entered_exposure_};
    ProcessRunner runner_;
    std::string startup_directory_;
    std::string title_;
    std::string picture_name_;  // the path the picture was opened from

    bool image_loaded_ = false;
    LuminanceMap map_;
    SizeF bitmap_;

    // View.
    float zoom_ = 1.0f;
    PointF pan_;
    SizeF view_size_;
    bool panning_ = false;
    bool placement_recompute_ = false;
    bool zoom_changed_ = false;
    bool guidelines_ = false;
    bool shift_down_ = false;
    PointF cursor_;  // window, integer position + 0.5
    PointF anchor_;  // window: the last press (or the panning anchor)
    PointF drag_;    // cursor minus anchor while panning; kept afterwards

    // Selection.
    SelectionTools tools_;
    Region region_a_;
    Region region_b_;

    bool analysis_wizard_active_ = false;
    bool calibration_wizard_active_ = false;
    AnalysisRegionReceiver* analysis_receiver_ = nullptr;
    CalibrationRegionReceiver* calibration_receiver_ = nullptr;
    bool falsecolor_open_ = false;
    bool falsecolor_active_ = false;

    std::unique_ptr<CaptureSession, CaptureSessionDeleter> capture_;  // from the first Capture > Setup...
    AssemblyDesktop* assembly_desktop_ = nullptr;
    std::unique_ptr<AssemblyForm, AssemblyFormDeleter> assembly_form_;
    ProfileDesktop* profile_desktop_ = nullptr;
    std::unique_ptr<ProfileForm, ProfileFormDeleter> profile_form_;
    SeriesDesktop* series_desktop_ = nullptr;
    std::unique_ptr<SeriesForm, SeriesFormDeleter> series_form_;

    // --- editing ---
public:
    // The exposure last accepted in the exposure dialog.
    float entered_exposure() const { return entered_exposure_; }
    // The operation last accepted in the Image Operations dialog.
    const ImageOperation& image_operation() const { return image_operation_; }

private:
    // The editing commands (editing_commands.cpp).
    void run_editing_command(int id);
    void refresh_on_success(int result);
    // Runs a geometric edit's command as an editing step; on success the
    // picture is reloaded and the named regions follow the edit.
    void run_geometry_step(const std::string& command_line, PictureEdit edit);
    void crop_to_selection();
    void resize_picture();
    void change_exposure();
    void edit_header();
    void apply_maskfile();
    void correct_vignetting();
    void run_image_operation();
    void project_picture();
    // A double click inside the selection rectangle opens the crop dialog.
    void edit_selection_rectangle();

    ResizeLock resize_lock_;
    float entered_exposure_ = 1.0f;
    ImageOperandPaths operand_paths_;
    ImageOperation image_operation_;
    ProjectionChoice projection_;
    // --- analysis ---
public:
    // Tools > Analyze...: the analysis wizard over the current picture.
    void run_analyze_command();
    // Forgets the copies of Region A and Region B.
    void clear_saved_regions();
    // Statistics give only the mean while the calibration wizard or the
    // falsecolor view is open.
    bool statistics_mean_only() const { return calibration_wizard_active_ || falsecolor_active_; }
    // Open and the commands that change the picture; off while the user draws
    // a region for a wizard.
    void set_picture_commands_enabled(bool enabled);

private:
    int run_analysis_wizard();  // analysis_commands.cpp

    // --- export ---
    void run_save_as();          // export_command.cpp
    void run_reinhard_dialog();  // export_command.cpp
    void run_ward_dialog();      // export_command.cpp
    bool render_falsecolor(int mode);  // falsecolor_command.cpp
    const BgrRaster& falsecolor_base();
    void save_falsecolor_view(const std::string& name, bool png);
    void open_falsecolor_window();
    void leave_falsecolor_view();
    struct FalsecolorRange {
        float bottom = 0, top = 0;
    };
    std::vector<float> falsecolor_log_;  // log10 luminance of every pixel, while the view is open
    FalsecolorRange falsecolor_range_;     // what the picture shows
    FalsecolorRange falsecolor_measured_;  // the picture's extremes, for "Maximum Range"
    uint16_t saved_display_mode_ = display_gif;
    bool falsecolor_display_changed_ = false;  // by the Settings dialog, while the view was open
    FalsecolorScale falsecolor_choice_;  // the window's axis, steps, palette, units, display
    std::optional<BgrRaster> falsecolor_base_;  // the tone-mapped picture under contour lines, once made
    std::unique_ptr<FalsecolorForm> falsecolor_form_;  // kept until replaced: its window may outlive the view

    // --- macro ---
public:
    // Tools > Record Macro and Tools > Stop Recording.
    void start_macro_recording();
    void stop_macro_recording();
    // Tools > Batch Process...: the batch dialog, then the replay.
    void run_batch_process();
    // Replays the chosen sequence file on every picture of `folder`, with the
    // batch progress window, and shows what happened. With a regions file,
    // its regions are measured on every picture processed and written as
    // <name>_regions.csv beside it.
    void replay_sequence(const std::string& folder, const std::string& regions_file = {});

    // Sets the exposure the exposure dialog would have accepted.
    void set_entered_exposure(float value) { entered_exposure_ = value; }
    // The batch dialog's choices, kept for the whole run.
    const std::string& sequence_path() const { return sequence_path_; }
    const std::string& collection_folder() const { return collection_folder_; }

private:
    // One processed picture of a batch with a regions file: its regions measured.
    Result<PictureRegions> measure_batch_result(const std::string& result, const RegionFile& regions,
                                                const std::string& regions_file);
    void on_macro_command(int id);
    // Moves a recording that was not saved where the next one cannot
    // overwrite it; "" when there was nothing in it.
    std::string keep_unsaved_recording(const std::string& temporary_path);
    // A recording still running as the program ends is kept as if its save
    // had been cancelled (and the clean-up's commands are not added to it).
    void keep_recording_at_exit();

    std::string sequence_path_;
    std::string collection_folder_;
    // --- calibration ---
public:
    // Tools > Calibration...: the calibration wizard over the current picture;
    // illuminance_first chooses "Illuminance Calibration" on its first page.
    void run_calibration_command(bool illuminance_first = false);
    // The overflow sentence's link in the analysis wizard: the illuminance
    // calibration opens once that wizard has closed.
    void request_illuminance_calibration() { illuminance_calibration_requested_ = true; }

private:
    int run_calibration_wizard(bool illuminance_first);  // calibration_commands.cpp
    bool illuminance_calibration_requested_ = false;

    // --- glare ---
public:
    // Shows the working copy anew at the zoom given (the glare analysis's
    // check picture at 1.0).
    void reload_working_copy_at(float zoom);

    // --- named regions ---
public:
    // The region panel's windows; without them the panel and Analyze All
    // Regions do nothing.
    void set_regions_desktop(RegionsDesktop* desktop);
    // The list of named regions; null without the panel's windows.
    RegionListForm* region_list() const;
    // The named regions follow a geometric edit of the picture.
    void regions_follow(const PictureEdit& edit);
    bool region_panel_shown() const { return region_panel_shown_; }
    // "All regions in the list" in the analysis wizard: the region table is
    // made with the wizard's statistics once the wizard has closed.
    void request_listed_regions(const AnalysisSettings& settings) { listed_regions_request_ = settings; }

private:
    void on_regions_command(int id);  // regions_commands.cpp
    void regions_picture_opened();
    void analyse_listed_regions();

    std::optional<AnalysisSettings> listed_regions_request_;

    std::unique_ptr<RegionPanelState, RegionPanelStateDeleter> regions_;
    bool region_panel_shown_ = false;
};
