#pragma once
// What the region panel and the region table need of the windows: the
// panel itself, file dialogs for the region file and the table's CSV, a
// colour chooser, messages and questions, and the table window. QtDesktop's
// companion QtRegionsDesktop implements it; tests answer it from a script.

#include <string>

#include "desktop/desktop.h"

class RegionTableForm;

class RegionsDesktop {
public:
    virtual ~RegionsDesktop() = default;

    // Shows or hides the dockable region panel.
    virtual void show_region_panel(bool shown) = 0;
    // The list changed (loaded, cleared by a new picture, ...): the panel
    // shows it anew.
    virtual void regions_changed() = 0;

    // A region file to read (save = false) or write, starting at `suggested`;
    // "" when cancelled.
    virtual std::string choose_region_file(bool save, const std::string& suggested) = 0;
    // The name for the region table's CSV, starting at `suggested`; "" when
    // cancelled.
    virtual std::string choose_table_file(const std::string& suggested) = 0;
    // A colour "#rrggbb" starting from `current`; "" when cancelled.
    virtual std::string choose_region_color(const std::string& current) = 0;

    // A message box with the caption "Regions".
    virtual void region_message(const std::string& text, MessageIcon icon) = 0;
    // A question with Yes and No; true for Yes.
    virtual bool region_question(const std::string& text) = 0;

    // Shows the modeless table window over `form`, replacing an earlier one.
    virtual void show_region_table(RegionTableForm& form) = 0;
};
