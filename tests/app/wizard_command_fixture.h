#pragma once
// An Application over a scripted desktop for the commands that run a wizard
// while the user draws a region on the main window: a picture opened through
// File > Open, window points over picture pixels, and a drag of the mouse.

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "app/application.h"
#include "app/commands.h"
#include "support/scripted_desktop.h"
#include "support/temp_folder.h"

class WizardCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(app.on_create());
        app.on_resize(800, 600);
    }
    void open_picture(const std::string& path) {
        desktop.file_answers.push_back({1, path});
        app.on_command(command::open);
        ASSERT_TRUE(app.image_loaded());
        app.paint_frame();
    }
    // The window point over the middle of a picture pixel.
    std::pair<int, int> over(float column, float row) {
        app.paint_frame();
        return {static_cast<int>(column * app.zoom() + app.pan().x), static_cast<int>(row * app.zoom() + app.pan().y)};
    }
    void drag(std::pair<float, float> from, std::pair<float, float> to) {
        const auto [x0, y0] = over(from.first, from.second);
        const auto [x1, y1] = over(to.first, to.second);
        app.on_left_down(x0, y0, false);
        app.on_mouse_move(x1, y1, false);
        app.on_left_up(x1, y1, false);
        app.paint_frame();
    }

    TempFolder config;
    TempFolder cache;
    TempFolder pictures;
    ScriptedDesktop desktop;
    Application app{desktop, PlatformFolders{config.str(), cache.str()}, CANDELUX_PROGRAMS_DIR};
};
