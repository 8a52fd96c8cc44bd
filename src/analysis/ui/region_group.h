#pragma once
// The group of controls every page that takes a region shows (the analysis
// wizard's 109, 114 and 115, the calibration wizard's 124): "From Image" with
// the selection tool list, "Click to Select >>" and the status label, and
// "From Mask File" with "Browse..." and the chosen file's name. Each wizard
// names the controls with its own ids and words the group in its own way.

#include <QGroupBox>
#include <functional>
#include <string>

class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;

struct RegionGroupIds {
    int from_image;
    int tool_list;
    int click_to_select;
    int status_label;
    int from_mask;
    int browse;
    int file_label;
    int whole_picture = 0;  // 0: the group has no "Whole Picture" button
};

// What the group shows, as the page's core reads it.
struct RegionGroupState {
    bool from_mask = false;
    int tool = 0;  // position in the tool list
    bool tool_list_enabled = true;
    bool selection_controls_enabled = true;
    bool mask_controls_enabled = false;
    std::string status_text;
    std::string file_label;
};

// What the page is told when the user works the controls.
struct RegionGroupEvents {
    std::function<void(bool from_mask)> on_source;
    std::function<void(int tool)> on_tool_chosen;
    std::function<void()> on_click_to_select;
    std::function<void()> on_browse;
    std::function<void()> on_whole_picture = {};
};

class RegionGroup : public QGroupBox {
public:
    RegionGroup(QWidget* page, const QString& title, const QString& mask_text, const RegionGroupIds& ids,
                const RegionGroupEvents& events);

    void show_state(const RegionGroupState& state);

private:
    QRadioButton* from_image_;
    QRadioButton* from_mask_;
    QComboBox* tools_;
    QPushButton* select_;
    QPushButton* whole_ = nullptr;
    QLabel* status_;
    QPushButton* browse_;
    QLabel* file_;
};
