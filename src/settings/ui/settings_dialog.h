#pragma once
// Tools > Settings...: shows and edits a SettingsForm.

#include <QDialog>

class QLineEdit;
class QRadioButton;
class SettingsForm;

class SettingsDialog : public QDialog {
    Q_OBJECT
public:
    SettingsDialog(QWidget* parent, SettingsForm& form);

private:
    void show_form();
    void read_choices();

    SettingsForm& form_;
    QLineEdit* cache_edit_;
    QRadioButton* reinhard_;
    QRadioButton* ward_;
    QRadioButton* uncompressed_;
    QRadioButton* compressed_;
};
