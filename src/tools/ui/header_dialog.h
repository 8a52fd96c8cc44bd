#pragma once
// File > Edit header...: the "Edit Header" dialog over a HeaderForm.

#include <QDialog>

class HeaderForm;
class QPlainTextEdit;

class HeaderDialog : public QDialog {
    Q_OBJECT
public:
    HeaderDialog(QWidget* parent, HeaderForm& form);

private:
    HeaderForm& form_;
    QPlainTextEdit* text_;
};
