#pragma once
// Tools > Tonemapping > Reinhard...: shows and edits a ReinhardForm.

#include <QDialog>

class QCheckBox;
class QLineEdit;
class ReinhardForm;

class ReinhardDialog : public QDialog {
    Q_OBJECT
public:
    ReinhardDialog(QWidget* parent, ReinhardForm& form);

private:
    void show_form();
    QLineEdit* number_field(int id);

    ReinhardForm& form_;
    QLineEdit* output_ = nullptr;
    QLineEdit* key_ = nullptr;
    QLineEdit* white_ = nullptr;
    QLineEdit* gamma_ = nullptr;
    QLineEdit* threshold_ = nullptr;
    QCheckBox* dodging_ = nullptr;
};
