#pragma once
// The windows of Tools > Camera Profiles...: Qt's input and file dialogs and
// message boxes owned by the profile window, and the window itself.

#include "profiles/profile_desktop.h"

class QWidget;

class QtProfileDesktop : public ProfileDesktop {
public:
    explicit QtProfileDesktop(QWidget& main_window) : main_window_(main_window) {}

    std::string ask_profile_name() override;
    std::string choose_profile_file() override;
    std::string choose_profile_picture(const std::string& title) override;
    void profile_message(const std::string& text, MessageIcon icon) override;
    bool profile_question(const std::string& text) override;
    void show_profile_window(ProfileForm& form) override;

private:
    QWidget* owner() const;

    QWidget& main_window_;
};
