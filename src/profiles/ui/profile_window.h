#pragma once
// Tools > Camera Profiles...: the modeless "Camera Profiles" window over a
// ProfileForm: the profiles on the left, the chosen one's fields on the
// right with the vignetting fit drawn against its data, and New..., Open...,
// Delete..., Fit Vignetting..., Save and Close.

#include <QDialog>
#include <array>

#include "profiles/profile_form.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class VignettingPlot;

namespace profile_ids {
inline constexpr int window = 6100;
inline constexpr int list = 6101;
inline constexpr int new_profile = 6102;
inline constexpr int open = 6103;
inline constexpr int remove = 6104;
inline constexpr int save = 6105;
inline constexpr int close = 6106;
inline constexpr int status = 6107;
inline constexpr int details = 6108;
inline constexpr int fit_vignetting = 6109;
inline constexpr int choose_picture = 6130;
inline constexpr int plot = 6131;
// The fields, in the order of profile_field: 6110 + the field.
inline constexpr int first_field = 6110;
}  // namespace profile_ids

class ProfileWindow : public QDialog {
    Q_OBJECT
public:
    ProfileWindow(QWidget* parent, ProfileForm& form);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void show_form();
    void on_row_changed(int row);

    ProfileForm& form_;
    QListWidget* list_ = nullptr;
    std::array<QWidget*, profile_field::count> fields_{};
    QComboBox* view_ = nullptr;
    QPushButton* new_ = nullptr;
    QPushButton* open_ = nullptr;
    QPushButton* remove_ = nullptr;
    QPushButton* save_ = nullptr;
    QPushButton* close_ = nullptr;
    QPushButton* fit_ = nullptr;
    QPushButton* choose_picture_ = nullptr;
    VignettingPlot* plot_ = nullptr;
    QLabel* status_ = nullptr;
    QLabel* details_ = nullptr;
    bool showing_ = false;
};
