#pragma once
// Tools > Tonemapping > Ward...: shows and edits a WardForm.

#include <QDialog>
#include <array>

class QCheckBox;
class QLineEdit;
class WardForm;

class WardDialog : public QDialog {
    Q_OBJECT
public:
    WardDialog(QWidget* parent, WardForm& form);

private:
    void show_form();

    WardForm& form_;
    QLineEdit* output_ = nullptr;
    std::array<QCheckBox*, 7> switches_{};
    QLineEdit* exposure_ = nullptr;
};
