#pragma once
// Tools > Batch Process... through the Application over a scripted desktop:
// its own settings and cache folders, a folder of pictures and one for the
// sequence files.

#include <gtest/gtest.h>

#include <string>

#include "app/application.h"
#include "macro/batch_form.h"
#include "macro/macro_pictures.h"
#include "support/scripted_desktop.h"
#include "support/temp_folder.h"

namespace {

class BatchCommand : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(app.on_create()); }

    std::string working_copy() const { return cache.str() + "/dtemp.hdr"; }
    std::string step_output() const { return cache.str() + "/dtempo.hdr"; }
    std::string flip_line() const { return "40015#/C pflip -c -h " + working_copy() + " " + step_output() + "#NULL"; }
    std::string rotate_line() const { return "40013#/C protate  " + working_copy() + " " + step_output() + "#NULL"; }

    // The dialog as a user fills it: Browse to `sequence`, Set Path to `folder`, OK.
    void choose(const std::string& sequence, const std::string& folder) {
        desktop.file_answers.push_back({1, sequence});
        desktop.folder_answers.push_back(folder);
        desktop.batch_dialog = [](BatchForm& form) {
            form.on_browse();
            form.on_set_path();
            return form.on_ok() ? 1 : 0;
        };
    }
    const RecordedMessage& last_message() const { return desktop.messages.back(); }

    TempFolder config;
    TempFolder cache;
    TempFolder pictures;
    TempFolder seq;
    ScriptedDesktop desktop;
    Application app{desktop, PlatformFolders{config.str(), cache.str()}, CANDELUX_PROGRAMS_DIR};
};

}  // namespace
