#pragma once
// Tools > Batch Process...: shows and edits a BatchForm (dialog 146).

#include <QDialog>

class BatchForm;
class QLineEdit;

class BatchDialog : public QDialog {
    Q_OBJECT
public:
    BatchDialog(QWidget* parent, BatchForm& form);

private:
    void show_form();

    BatchForm& form_;
    QLineEdit* sequence_edit_;
    QLineEdit* folder_edit_;
    QLineEdit* regions_edit_;
};
