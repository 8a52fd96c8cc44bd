#pragma once
// Edit > Operation...: the "Image Operations" dialog over an
// ImageOperationForm.

#include <QDialog>

class ImageOperationForm;
class QComboBox;
class QLineEdit;

class ImageOperationDialog : public QDialog {
    Q_OBJECT
public:
    ImageOperationDialog(QWidget* parent, ImageOperationForm& form);

private:
    void show_paths();

    ImageOperationForm& form_;
    QLineEdit* image_a_;
    QLineEdit* image_b_;
    QComboBox* operator_;
};
