#include "app/menu_table.h"

#include <array>

#include "app/commands.h"

const std::vector<MenuItem>& main_menu() {
    using namespace command;
    static const std::vector<MenuItem> items = {
        {"&File", "", "&Open...", open, true, false},
        {"&File", "", "&Assemble HDR...", assemble_hdr, true, false},
        {"&File", "", "&Save As...", save_as, false, false},
        {"&File", "", "", 0, false, false},
        {"&File", "", "Edit &header...", edit_header, false, false},
        {"&File", "", "", 0, false, false},
        {"&File", "", "E&xit", command::exit, true, false},
        {"&Edit", "", "&Exposure...", exposure, false, false},
        {"&Edit", "", "", 0, false, false},
        {"&Edit", "", "&Fit Image to Display", fit_to_display, false, false},
        {"&Edit", "", "Re&size...", resize, false, false},
        {"&Edit", "", "&Crop", crop, false, false},
        {"&Edit", "&Rotate/Flip", "Rotate &90º [Clockwise]", rotate_90, false, false},
        {"&Edit", "&Rotate/Flip", "Rotate &180º", rotate_180, false, false},
        {"&Edit", "&Rotate/Flip", "", 0, false, false},
        {"&Edit", "&Rotate/Flip", "Flip &Horizontal", flip_horizontal, false, false},
        {"&Edit", "&Rotate/Flip", "Flip &Vertical", flip_vertical, false, false},
        {"&Edit", "", "", 0, false, false},
        {"&Edit", "&Vignetting Correction", "Use Mask&file...", vignetting_maskfile, false, false},
        {"&Edit", "&Vignetting Correction", "Use Equation...", vignetting_equation, false, false},
        {"&Edit", "Image &Mask", "&Create Mask from Region", mask_from_region, false, false},
        {"&Edit", "Image &Mask", "Apply Mask&file...", apply_maskfile, false, false},
        {"&Edit", "", "", 0, false, false},
        {"&Edit", "", "&Operation...", operation, false, false},
        {"&Edit", "", "&Projections...", projections, false, false},
        {"&View", "", "&Regions", regions_panel, true, false},
        {"&Tools", "S&election Tool", "&Guidelines", guidelines, false, false},
        {"&Tools", "S&election Tool", "", 0, false, false},
        {"&Tools", "S&election Tool", "&Rectangle", rectangle_tool, false, true},
        {"&Tools", "S&election Tool", "&Polygon", polygon_tool, false, false},
        {"&Tools", "S&election Tool", "&Circle", circle_tool, false, false},
        {"&Tools", "", "", 0, false, false},
        {"&Tools", "", "Anal&yze...", analyze, true, false},
        {"&Tools", "", "Analyze &All Regions", analyze_all_regions, false, false},
        {"&Tools", "", "&Calibration...", calibration, false, false},
        {"&Tools", "", "Camera &Profiles...", camera_profiles, true, false},
        {"&Tools", "", "Se&ries...", series, true, false},
        {"&Tools", "", "", 0, false, false},
        {"&Tools", "&Tonemapping", "Ward...", ward, false, false},
        {"&Tools", "&Tonemapping", "Reinhard...", reinhard, false, false},
        {"&Tools", "", "&Falsecolor", falsecolor, false, false},
        {"&Tools", "", "", 0, false, false},
        {"&Tools", "", "Record &Macro", record_macro, false, false},
        {"&Tools", "", "St&op Recording", stop_recording, false, false},
        {"&Tools", "", "&Batch Process...", batch_process, true, false},
        {"&Tools", "", "", 0, false, false},
        {"&Tools", "", "&Settings...", settings, true, false},
        {"&Capture", "", "&Setup...", capture_setup, true, false},
        {"&Help", "", "&About...", about, true, false},
    };
    return items;
}

std::span<const int> picture_dependent_items() {
    using namespace command;
    static constexpr std::array<int, 25> items = {
        edit_header, save_as,   crop,           resize,       exposure,      fit_to_display,
        rotate_90,   rotate_180, flip_horizontal, flip_vertical, vignetting_maskfile, apply_maskfile,
        operation,   projections, reinhard,      ward,         guidelines,    rectangle_tool,
        polygon_tool, circle_tool, analyze,      falsecolor,   calibration,   record_macro,
        analyze_all_regions,
    };
    return items;
}
