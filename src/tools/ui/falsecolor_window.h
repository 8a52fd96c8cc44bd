#pragma once
// The modeless "Falsecolor" window: the colour legend with six luminance
// labels, the range fields, "Maximum Range" and Apply, over a
// FalsecolorForm. Closing it (or Escape) ends the falsecolor view.
// "Options >>" shows the scale (axis, steps, palette, units, display, scale
// files) and what Save As adds to the picture; hidden, the window is as it
// always was.

#include <QDialog>
#include <array>

class FalsecolorForm;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

class FalsecolorWindow : public QDialog {
    Q_OBJECT
public:
    FalsecolorWindow(QWidget* parent, FalsecolorForm& form);

    // The window goes without telling the form (the view has already ended).
    void dismiss();

public Q_SLOTS:
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* build_legend();
    QGroupBox* build_options();
    void read_choice();
    void show_form();

    FalsecolorForm& form_;
    QLineEdit* top_ = nullptr;
    QLineEdit* bottom_ = nullptr;
    QCheckBox* maximum_range_ = nullptr;
    std::array<QLabel*, 6> labels_{};
    QLabel* legend_ = nullptr;
    QLabel* top_caption_ = nullptr;
    QLabel* bottom_caption_ = nullptr;
    QPushButton* options_button_ = nullptr;
    QGroupBox* options_ = nullptr;
    QComboBox* axis_ = nullptr;
    QSpinBox* steps_ = nullptr;
    QComboBox* palette_ = nullptr;
    QComboBox* units_ = nullptr;
    QComboBox* display_ = nullptr;
    QCheckBox* legend_in_picture_ = nullptr;
    QCheckBox* extrema_in_picture_ = nullptr;
    bool ended_ = false;
};
