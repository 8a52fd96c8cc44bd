#pragma once
// The windows of Tools > Series...: Qt's folder and file dialogs and message
// boxes owned by the series window, and the window itself.

#include "series/series_desktop.h"

class QWidget;

class QtSeriesDesktop : public SeriesDesktop {
public:
    explicit QtSeriesDesktop(QWidget& main_window) : main_window_(main_window) {}

    std::string choose_series_folder() override;
    std::string choose_regions_file() override;
    std::string choose_series_csv(const std::string& suggested) override;
    FileDialogAnswer choose_series_plot(const std::string& suggested) override;
    void series_message(const std::string& text, MessageIcon icon) override;
    void show_series_window(SeriesForm& form) override;

private:
    QWidget* owner() const;

    QWidget& main_window_;
};
