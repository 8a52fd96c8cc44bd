#pragma once
// Edit > Exposure...: the "Set Exposure Value" dialog over an ExposureForm.

#include <QDialog>

class ExposureForm;
class QLineEdit;

class ExposureDialog : public QDialog {
    Q_OBJECT
public:
    ExposureDialog(QWidget* parent, ExposureForm& form);

private:
    ExposureForm& form_;
    QLineEdit* value_;
};
