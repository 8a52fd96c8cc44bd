#pragma once
// What Tools > Series... needs of the windows, beside the main Desktop seam:
// the folder and regions file choosers, the export file dialogs, the window's
// messages, and the window itself. QtSeriesDesktop implements it; tests answer
// it from a script.

#include <string>

#include "desktop/desktop.h"

class SeriesForm;

// The kinds of plot file "Save Plot..." offers, in the order of its filters.
enum class PlotFileKind { png = 1, svg = 2 };

class SeriesDesktop {
public:
    virtual ~SeriesDesktop() = default;

    // The folder of pictures; "" when cancelled.
    virtual std::string choose_series_folder() = 0;
    // A regions file (*.regions.json); "" when cancelled.
    virtual std::string choose_regions_file() = 0;
    // Where "Save CSV..." writes, asked with `suggested` filled in (the
    // dialog asks before an existing file is replaced); "" when cancelled.
    virtual std::string choose_series_csv(const std::string& suggested) = 0;
    // Where "Save Plot..." writes and in which kind (the chosen filter:
    // 1 PNG, 2 SVG); filter_index 0 when cancelled.
    virtual FileDialogAnswer choose_series_plot(const std::string& suggested) = 0;
    // A message box owned by the series window, caption "Series".
    virtual void series_message(const std::string& text, MessageIcon icon) = 0;
    // Shows the modeless window over `form`, replacing an earlier one.
    virtual void show_series_window(SeriesForm& form) = 0;
};
