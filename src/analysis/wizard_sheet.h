#pragma once
// A wizard sheet: a caption, pages keyed by template id each with a header
// title, and the four buttons Back, Next (or Finish in its place) and Cancel.
//
// The pages decide everything: which buttons are offered and enabled, where
// Back and Next lead (by template id, not by history), whether the sheet is
// shown. The sheet only keeps that state, passes the buttons' presses to its
// controller and tells its observer (the window that shows it) when anything
// changed. The analysis and the calibration wizard are both built on it.

#include <functional>
#include <string>
#include <vector>

namespace wizard_button {
inline constexpr int back = 1;
inline constexpr int next = 2;
inline constexpr int finish = 4;  // offered in place of Next
inline constexpr int cancel = 8;
}  // namespace wizard_button

// Returned by a Next or Back handler that keeps the sheet on its page.
inline constexpr int stay_on_page = 0;

struct WizardPage {
    int template_id = 0;
    std::string header_title;
};

class WizardController {
public:
    virtual ~WizardController() = default;
    // The page becomes the current one (every time, not only the first).
    virtual void on_activate(int page) = 0;
    // The template id to go to, or stay_on_page.
    virtual int on_next(int page) = 0;
    virtual int on_back(int page) = 0;
    // True when the sheet may close.
    virtual bool on_finish(int page) = 0;
    virtual void on_cancel(int page) = 0;
};

class WizardSheet {
public:
    WizardSheet(std::string caption, std::vector<WizardPage> pages);

    const std::string& caption() const { return caption_; }
    const std::vector<WizardPage>& pages() const { return pages_; }

    // Shows the first page.
    void start(WizardController& controller);

    // The buttons, as the user presses them. A press on a button that is not
    // offered or not enabled does nothing.
    void press_back();
    void press_next();
    void press_finish();
    void press_cancel();
    // The window's close box: Cancel, when Cancel is enabled.
    void press_close() { press_cancel(); }
    // The program is closing: the sheet closes as after Cancel, whatever its
    // buttons (also while it is hidden for a selection on the main window).
    void abandon();

    // What a page asks for. set_buttons offers Back and Next or Finish, each
    // enabled by its flag, and enables Cancel; enable_buttons enables or
    // disables Back, Next (or Finish) and Cancel without changing which are
    // offered.
    void set_buttons(int flags);
    void enable_buttons(int flags);
    void set_shown(bool shown);
    void set_enabled(bool enabled);

    int current_page() const { return current_; }
    const std::string& header_title() const;
    bool back_enabled() const { return back_enabled_; }
    bool next_enabled() const { return next_enabled_; }
    bool finish_offered() const { return finish_offered_; }
    bool cancel_enabled() const { return cancel_enabled_; }
    bool shown() const { return shown_; }
    bool enabled() const { return enabled_; }
    bool closed() const { return closed_; }
    int result() const { return result_; }  // 1 after Finish, 0 after Cancel

    // Called after every change of the state above.
    void set_observer(std::function<void()> observer) { observer_ = std::move(observer); }
    // Lets a page's own change (a label, a check box) reach the window.
    void changed();

private:
    void go_to(int page);
    void close(int result);

    std::string caption_;
    std::vector<WizardPage> pages_;
    WizardController* controller_ = nullptr;
    int current_ = 0;
    bool back_enabled_ = false;
    bool next_enabled_ = false;
    bool finish_offered_ = false;
    bool cancel_enabled_ = true;
    bool shown_ = false;
    bool enabled_ = true;
    bool closed_ = false;
    int result_ = 0;
    std::function<void()> observer_;
    int changes_held_ = 0;  // nested presses report once, at the end
};
