#pragma once
// An Application with a scripted desktop and our picture programs, for the
// editing commands' end-to-end tests: pictures whose every pixel differs,
// the working copy, and a program folder in which one program fails.

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "app/application.h"
#include "app/commands.h"
#include "picture/rgbe_reader.h"
#include "support/formula_pictures.h"
#include "support/scripted_desktop.h"
#include "support/temp_folder.h"

class EditingTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(app.on_create());
        app.on_resize(1000, 800);
    }

    // Every pixel its own colour: red by column, green by row.
    static RgbePixel patterned(int x, int y) {
        return {static_cast<uint8_t>(128 + x % 128), static_cast<uint8_t>(128 + y % 128),
                static_cast<uint8_t>(100 + (x + 3 * y) % 100), 128};
    }

    std::string picture(const std::string& name, int width, int height, std::vector<std::string> lines = {},
                        const PixelFormula& pixel = patterned) {
        const std::string path = (pictures / name).string();
        EXPECT_TRUE(write_formula_picture(path, width, height, pixel, std::move(lines)));
        return path;
    }

    void open(const std::string& path) {
        app.on_open_command(path);
        ASSERT_TRUE(app.image_loaded());
        ASSERT_TRUE(desktop.messages.empty()) << desktop.messages[0].text;
    }

    static LuminanceMap map_of(const std::string& path) {
        auto map = load_luminance_map(path);
        EXPECT_TRUE(map.ok());
        return map.ok() ? std::move(map).value() : LuminanceMap{};
    }

    std::string working_copy() const { return (cache / "dtemp.hdr").string(); }

    // Our programs, except `program`, which prints `message` and fails.
    std::string programs_with_failing(const std::string& program, const std::string& message) {
        namespace fs = std::filesystem;
        for (const auto& entry : fs::directory_iterator(CANDELUX_PROGRAMS_DIR))
            fs::create_symlink(entry.path(), failing / entry.path().filename());
        const fs::path script = failing / program;
        fs::remove(script);
        write_file(script, "#!/bin/sh\necho '" + message + "' >&2\nexit 1\n");
        fs::permissions(script, fs::perms::owner_all);
        return failing.str();
    }

    // The one message shown so far, or a failure.
    const RecordedMessage& only_message() {
        static const RecordedMessage none{"(no message)", "", MessageIcon::none, Owner::none};
        EXPECT_EQ(desktop.messages.size(), 1u);
        return desktop.messages.empty() ? none : desktop.messages.front();
    }

    TempFolder config;
    TempFolder cache;
    TempFolder pictures;
    TempFolder failing;
    ScriptedDesktop desktop;
    Application app{desktop, PlatformFolders{config.str(), cache.str()}, CANDELUX_PROGRAMS_DIR};
};

// Every pixel of `actual` equals the pixel of `expected` that `source` names.
inline void expect_pixels(const LuminanceMap& actual, const LuminanceMap& expected,
                          const std::function<std::pair<int, int>(int x, int y)>& source) {
    for (int y = 0; y < actual.height; ++y) {
        for (int x = 0; x < actual.width; ++x) {
            const auto [sx, sy] = source(x, y);
            ASSERT_EQ(actual.at(x, y), expected.at(sx, sy)) << "pixel " << x << ", " << y;
        }
    }
}
