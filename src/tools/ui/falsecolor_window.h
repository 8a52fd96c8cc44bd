#pragma once
// The modeless "Falsecolor" window: the colour legend with six luminance
// labels, the range fields, "Maximum Range" and Apply, over a
// FalsecolorForm. Closing it (or Escape) ends the falsecolor view.

#include <QDialog>
#include <array>

class FalsecolorForm;
class QCheckBox;
class QLabel;
class QLineEdit;

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
    void show_form();

    FalsecolorForm& form_;
    QLineEdit* top_ = nullptr;
    QLineEdit* bottom_ = nullptr;
    QCheckBox* maximum_range_ = nullptr;
    std::array<QLabel*, 6> labels_{};
    bool ended_ = false;
};
