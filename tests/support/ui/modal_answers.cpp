#include "support/ui/modal_answers.h"

#include <QAbstractButton>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>

void answer_file_dialog(const QString& path) {
    answer_modal<QFileDialog>([path](QFileDialog& dialog) {
        if (auto* name = dialog.findChild<QLineEdit*>("fileNameEdit")) name->setText(path);
        QMetaObject::invokeMethod(&dialog, "accept", Qt::QueuedConnection);
    });
}

void answer_message_box(const QString& button_text) {
    answer_modal<QMessageBox>([button_text](QMessageBox& box) {
        for (QAbstractButton* button : box.buttons())
            if (button->text().remove('&') == button_text) {
                QMetaObject::invokeMethod(button, "click", Qt::QueuedConnection);
                return;
            }
    });
}
