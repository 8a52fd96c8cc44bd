#pragma once
// Edit > Projections...: the "Projections" dialog over a ProjectionForm.

#include <QDialog>

class ProjectionForm;
class QCheckBox;
class QLineEdit;
class QRadioButton;

class ProjectionDialog : public QDialog {
    Q_OBJECT
public:
    ProjectionDialog(QWidget* parent, ProjectionForm& form);

private:
    void show_form();

    ProjectionForm& form_;
    QRadioButton* fisheye_;
    QCheckBox* anti_alias_;
    QLineEdit* width_;
    QLineEdit* height_;
};
