#pragma once
// The "Crop" dialog, opened by a double click inside the selection
// rectangle: shows and edits a CropForm.

#include <QDialog>

class CropForm;
class QLineEdit;

class CropDialog : public QDialog {
    Q_OBJECT
public:
    CropDialog(QWidget* parent, CropForm& form);

private:
    CropForm& form_;
    QLineEdit* left_;
    QLineEdit* top_;
    QLineEdit* width_;
    QLineEdit* height_;
};
