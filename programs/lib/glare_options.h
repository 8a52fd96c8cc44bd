#pragma once
// What an evalglare run is asked to do, as read from its command line.

#include <optional>
#include <string>
#include <vector>

#include "lib/guth_field.h"
#include "picture/view_options.h"

struct TaskArea {
    int x = 0;           // pixel column from the left
    int y = 0;           // pixel row from the bottom
    double angle = 0;    // full opening angle, radians
};

// Rows (from the bottom) beyond which the picture is unknown and is filled
// from the last known row: the obstructed top and bottom of some cameras'
// pictures.
struct RowFill {
    long top = 0;     // rows at or above this copy the row below them
    long bottom = 0;  // rows from this down to 1 copy the row above them
};

struct GlareOptions {
    std::vector<std::string> words;  // the command line as given, for the check picture
    std::string input;               // standard input when empty
    std::string check_picture;       // none when empty
    std::optional<View> view;        // replaces the picture's own view
    std::optional<TaskArea> task;
    GuthField guth_field = GuthField::none;
    bool smoothing = false;
    std::optional<double> measured_illuminance;  // lux, for DGP only
    std::optional<RowFill> row_fill;
    double search_radius = 0.2;
    bool peak_extraction = true;
    double peak_limit = 50000;
    std::optional<double> threshold;  // above 100 cd/m²: absolute; else a factor of the task or mean luminance
    bool detailed = false;
    bool illuminance_only = false;
    bool fisheye_check = true;  // refuse perspective views of pictures with black corners
};

inline constexpr double default_threshold = 2000;    // cd/m², without a task area
inline constexpr double default_task_factor = 5;     // × task luminance, with one
inline constexpr double absolute_threshold_above = 100;
