#pragma once
// The window of a WizardSheet: the header title over the current page, the
// pages stacked by template id, and Back, Next, Finish and Cancel below.
// It shows what the sheet holds and forwards the buttons; it decides nothing.
//
// The window is application-modal while shown, so the main window takes no
// input; a page may hide it while the user draws on the main window, and it
// comes back when the region is handed back.

#include <QDialog>
#include <functional>
#include <map>

class QEventLoop;
class QLabel;
class QPushButton;
class QStackedWidget;
class WizardSheet;

class WizardSheetDialog : public QDialog {
    Q_OBJECT
public:
    explicit WizardSheetDialog(WizardSheet& sheet);
    ~WizardSheetDialog() override;

    // Adds the widget of a page; its object name becomes the template id.
    void add_page(int template_id, QWidget* page);
    QWidget* page(int template_id) const;

    // Called on every change, after the sheet's own state is shown, so that
    // the pages can show theirs.
    void set_page_refresh(std::function<void()> refresh) { refresh_pages_ = std::move(refresh); }

    // Shows the sheet and returns its result once it has closed.
    int run();

    QPushButton* back_button() const { return back_; }
    QPushButton* next_button() const { return next_; }
    QPushButton* finish_button() const { return finish_; }
    QPushButton* cancel_button() const { return cancel_; }

    // Shows the sheet's state now.
    void refresh();

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    WizardSheet& sheet_;
    QLabel* header_;
    QStackedWidget* stack_;
    QPushButton* back_;
    QPushButton* next_;
    QPushButton* finish_;
    QPushButton* cancel_;
    std::map<int, QWidget*> pages_;
    std::function<void()> refresh_pages_;
    QEventLoop* loop_ = nullptr;
    bool refreshing_ = false;
    bool refresh_again_ = false;
};
