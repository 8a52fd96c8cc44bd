#pragma once
// The windows of File > Assemble HDR...: Qt's file dialogs and message boxes
// owned by the assembly dialog, and the dialog itself.

#include "assembly/assembly_desktop.h"

class QWidget;

class QtAssemblyDesktop : public AssemblyDesktop {
public:
    explicit QtAssemblyDesktop(QWidget& main_window) : main_window_(main_window) {}

    std::vector<std::string> choose_series_pictures() override;
    std::string choose_assembly_output(const std::string& suggested) override;
    void assembly_message(const std::string& text, MessageIcon icon) override;
    bool assembly_question(const std::string& text) override;
    bool assembly_progress(double done) override;
    void show_assembly_dialog(AssemblyForm& form) override;

private:
    QWidget* owner() const;

    QWidget& main_window_;
};
