#pragma once
// The main window's menu as data: the order, texts, identifiers and initial
// states of every item. The Qt window builds its menu bar from this table.

#include <span>
#include <string>
#include <vector>

struct MenuItem {
    std::string menu;     // top-level menu, e.g. "&File"
    std::string submenu;  // "" when the item sits directly in the menu
    std::string text;     // "" for a separator
    int id = 0;           // 0 for a separator
    bool enabled = false;
    bool checked = false;

    bool separator() const { return id == 0; }
};

const std::vector<MenuItem>& main_menu();

// The items that are enabled and disabled together as a picture is loaded or
// the falsecolor view takes over.
std::span<const int> picture_dependent_items();
