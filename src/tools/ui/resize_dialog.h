#pragma once
// Edit > Resize...: shows and edits a ResizeForm.

#include <QDialog>

class QCheckBox;
class QLineEdit;
class ResizeForm;

class ResizeDialog : public QDialog {
    Q_OBJECT
public:
    ResizeDialog(QWidget* parent, ResizeForm& form);

private:
    void show_form();

    ResizeForm& form_;
    QLineEdit* width_;
    QLineEdit* height_;
    QCheckBox* keep_aspect_;
};
