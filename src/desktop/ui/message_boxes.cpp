#include "desktop/ui/message_boxes.h"

#include <QMessageBox>

void show_message_box(QWidget* owner, const char* caption, const std::string& text, MessageIcon icon) {
    const QMessageBox::Icon shown = icon == MessageIcon::error     ? QMessageBox::Critical
                                    : icon == MessageIcon::warning ? QMessageBox::Warning
                                                                   : QMessageBox::Information;
    QMessageBox box(shown, caption, QString::fromStdString(text), QMessageBox::Ok, owner);
    box.exec();
}

bool ask_yes_no(QWidget* owner, const char* caption, const std::string& text) {
    return QMessageBox::question(owner, caption, QString::fromStdString(text), QMessageBox::Yes | QMessageBox::No) ==
           QMessageBox::Yes;
}
