#pragma once
// <base>_geometry.csv: the figures through the lens beside the three reports.
// Lines end with CR LF; numbers in the C form, %f or %d; a figure the
// picture cannot give (no view) is an empty field.
//
//   PICTURE,<name as opened>
//   VIEW,<the view's options, or "none">
//   WEIGHTING,<"solid angle" or "none">
//   PERCENTILE,<upper>,<lower>        or PERCENTILE,off
//   CRITERION,<greater|lesser|equal>,<threshold> or CRITERION,off
//   PIXELS IN VIEW,<the picture's>
//   VERTICAL ILLUMINANCE (lx),<the picture's>
//   HEMISPHERICAL ILLUMINANCE (lx),<for a view of the whole hemisphere>
//   CLIPPED PIXELS,<count>,<share of the pixels in view, %>
//   REGION,PIXELS SAMPLED,PIXELS IN VIEW,SOLID ANGLE (sr),WEIGHTED MEAN (cd/m2),ILLUMINANCE (lx),ILLUMINANCE SHARE,CLIPPED PIXELS
//   one line per region: "Region", or "Region A" and "Region B"

#include <string>

#include "analysis/statistics_reports.h"

std::string geometry_report_text(const ReportInput& input);
// False when the file cannot be written completely.
bool write_geometry_report(const std::string& path, const ReportInput& input);
