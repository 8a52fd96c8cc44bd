#pragma once
// The dockable "Regions" panel: the list of named regions (a check box to
// show or hide each, its colour, its name, edited in place) and the buttons
// that add, colour, move, delete, load, save and analyse them. Shows a
// RegionListForm and reports every control to it.

#include <QWidget>
#include <vector>

class QListWidget;
class QListWidgetItem;
class QPushButton;
class RegionListForm;

namespace region_panel_ids {
inline constexpr int dock = 6300;
inline constexpr int panel = 6301;
inline constexpr int list = 6302;
inline constexpr int add = 6303;
inline constexpr int color = 6304;
inline constexpr int up = 6305;
inline constexpr int down = 6306;
inline constexpr int remove = 6307;
inline constexpr int load = 6308;
inline constexpr int save = 6309;
inline constexpr int analyze = 6310;
}  // namespace region_panel_ids

class RegionPanel : public QWidget {
    Q_OBJECT
public:
    RegionPanel(QWidget* parent, RegionListForm& form);

    // Shows the form's list and selection anew.
    void show_state();
    QListWidget* list() const { return list_; }

private:
    QPushButton* button(const char* text, int id, void (RegionPanel::*clicked)());
    void on_item_changed(QListWidgetItem* item);
    void on_row_chosen(int row);
    void on_color();
    void on_up();
    void on_down();
    void on_delete();
    void add_region();
    void load();
    void save();
    void analyze();
    int row() const;

    RegionListForm& form_;
    QListWidget* list_;
    std::vector<QPushButton*> row_buttons_;      // act on the chosen region
    std::vector<QPushButton*> picture_buttons_;  // need a picture
    bool showing_ = false;
};
