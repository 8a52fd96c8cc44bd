// Tools > Series...: the modeless series window; a picture double-clicked in
// it opens as if chosen in File > Open.

#include "app/application.h"
#include "series/series_form.h"

void SeriesFormDeleter::operator()(SeriesForm* form) const { delete form; }

void Application::run_series() {
    if (!series_desktop_) return;
    auto form = std::make_unique<SeriesForm>(*series_desktop_,
                                             [this](const std::string& path) { on_open_command(path); },
                                             cache_directory(), runner_.program_folder());
    // The desktop replaces the previous window, which still refers to the
    // previous form; that form may go only after it.
    series_desktop_->show_series_window(*form);
    series_form_.reset(form.release());
}
