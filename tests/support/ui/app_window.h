#pragma once
// The main window with the Application behind it, as the program runs them:
// settings and cache folders of the test's own, our picture programs, and
// the window shown offscreen with real widgets. GUI fixtures derive from it.

#include <QPoint>
#include <QSize>
#include <string>

#include "app/application.h"
#include "app/ui/main_window.h"
#include "app/ui/qt_desktop.h"
#include "support/temp_folder.h"

class AppWindow {
public:
    // `programs`: the folder of picture programs ("" leaves the search path
    // as it is).
    explicit AppWindow(const std::string& programs = CANDELUX_PROGRAMS_DIR);

    // Attaches the Application to the window and creates it.
    void start();
    // Starts and shows the window, at `size` unless empty, and waits until it
    // is exposed. A failure ends the test: call it through
    // ASSERT_NO_FATAL_FAILURE where more follows.
    void show(QSize size = {});

    // File > Open with the file dialog answered by `path`, then a repaint.
    void open_through_dialog(const std::string& path);
    // Opens `path` directly and repaints; the picture must load.
    void open(const std::string& path);

    // The view position over the picture position (u, v).
    QPoint over(float u, float v) const;

    TempFolder config;
    TempFolder cache;
    MainWindow window;
    QtDesktop desktop{window};
    Application app;
};
