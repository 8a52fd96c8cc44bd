#include "profiles/ui/qt_profile_desktop.h"

#include <QFileDialog>
#include <QInputDialog>

#include "desktop/ui/control_ids.h"
#include "desktop/ui/message_boxes.h"
#include "profiles/ui/profile_window.h"

namespace {

ProfileWindow* window_of(QWidget& main_window) {
    return main_window.findChild<ProfileWindow*>(id_name(profile_ids::window));
}

}  // namespace

QWidget* QtProfileDesktop::owner() const {
    QWidget* window = window_of(main_window_);
    return window ? window : &main_window_;
}

std::string QtProfileDesktop::ask_profile_name() {
    return QInputDialog::getText(owner(), "New Camera Profile", "Name of the camera and lens:")
        .trimmed()
        .toStdString();
}

std::string QtProfileDesktop::choose_profile_file() {
    return QFileDialog::getOpenFileName(owner(), "Open a Camera Profile", QString(),
                                        "Camera profiles (*.cdxprofile);;All files (*)")
        .toStdString();
}

std::string QtProfileDesktop::choose_profile_picture(const std::string& title) {
    return QFileDialog::getOpenFileName(owner(), QString::fromStdString(title), QString(),
                                        "Radiance pictures (*.hdr *.HDR *.pic *.PIC);;All files (*)")
        .toStdString();
}

void QtProfileDesktop::profile_message(const std::string& text, MessageIcon icon) {
    show_message_box(owner(), "Camera Profiles", text, icon);
}

bool QtProfileDesktop::profile_question(const std::string& text) { return ask_yes_no(owner(), "Camera Profiles", text); }

void QtProfileDesktop::show_profile_window(ProfileForm& form) {
    // The earlier window refers to the earlier form, which is about to go.
    delete window_of(main_window_);
    auto* window = new ProfileWindow(&main_window_, form);
    window->show();
    window->raise();
    window->activateWindow();
}
