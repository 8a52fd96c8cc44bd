#pragma once
// The main window: menu bar built from the menu table, the view in the
// middle, the five-part status bar below. It forwards commands and window
// events to the Application and shows what the Application tells it through
// QtDesktop.

#include <QAction>
#include <QLabel>
#include <QMainWindow>
#include <array>
#include <map>

#include "common/status_text.h"

class Application;
class ImageView;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    MainWindow();

    void attach(Application& application);
    Application* application() const { return application_; }
    ImageView* view() const { return view_; }

    QAction* action(int id) const;
    QLabel* status_label(int part) const { return status_labels_[static_cast<size_t>(part)]; }
    void set_status_text(int part, const QString& text);

    // Closes without the close-time clean-up (File > Exit).
    void close_without_cleanup();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void build_menu();
    void build_status_bar();

    Application* application_ = nullptr;
    ImageView* view_ = nullptr;
    std::map<int, QAction*> actions_;
    std::array<QLabel*, status_part::count> status_labels_{};
    bool skip_cleanup_ = false;
};
