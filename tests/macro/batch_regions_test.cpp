// Tools > Batch Process... with a regions file: the regions are measured on
// every picture the batch processed and written as <name>_regions.csv beside
// it, by the same functions as candelux-cli batch --regions; with the field
// empty nothing of the kind happens.

#include <gtest/gtest.h>

#include <filesystem>

#include "app/application.h"
#include "app/commands.h"
#include "batch_command_fixture.h"
#include "common/text_file.h"
#include "macro/batch_form.h"
#include "macro/macro_pictures.h"
#include "picture/rgbe_reader.h"
#include "regions/batch_regions.h"
#include "regions/picture_regions.h"
#include "support/regions.h"
#include "support/scripted_desktop.h"
#include "tools/process_runner.h"

namespace fs = std::filesystem;

namespace {

class BatchRegions : public BatchCommand {
protected:
    // Two regions drawn on a 20 x 8 picture.
    std::string write_regions() const {
        RegionFile file;
        file.width = 20;
        file.height = 8;
        NamedRegion task;
        task.name = "task";
        task.geometry = rectangle_region(2, 1, 6, 4);
        NamedRegion lamp;
        lamp.name = "lamp";
        lamp.kind = RegionKind::circle;
        lamp.geometry = circle_region(2.5f, 14, 4);
        file.regions = {task, lamp};
        const std::string path = (seq / "room.regions.json").string();
        EXPECT_TRUE(write_region_file(path, file));
        return path;
    }
    // The dialog as a user fills it: Browse, Set Path, the regions field
    // typed (or chosen with Regions... when `chosen`), OK.
    void choose_with(const std::string& regions, bool chosen) {
        desktop.file_answers.push_back({1, write_sequence(seq / "m.seq", {flip_line()})});
        desktop.folder_answers.push_back(pictures.str());
        if (chosen) desktop.file_answers.push_back({1, regions});
        desktop.batch_dialog = [regions, chosen](BatchForm& form) {
            EXPECT_TRUE(form.regions_text.empty());
            form.on_browse();
            form.on_set_path();
            if (chosen) form.on_regions();
            else form.regions_text = regions;
            return form.on_ok() ? 1 : 0;
        };
    }
};

TEST_F(BatchRegions, EachProcessedPictureGetsItsRegionTableBesideIt) {
    write_macro_picture(pictures / "a.hdr", 20, 8);
    write_macro_picture(pictures / "b.hdr", 20, 8);
    const std::string regions = write_regions();
    choose_with(regions, true);
    app.on_command(command::batch_process);
    // Regions... asked for a region file.
    ASSERT_EQ(desktop.file_requests.size(), 2u);
    EXPECT_EQ(desktop.file_requests[1].title, "Open Region File");
    EXPECT_EQ(desktop.file_requests[1].owner, Owner::dialog);

    EXPECT_EQ(last_message().text, "2 of 2 pictures processed, 2 steps run (1 per picture).\n"
                                   "Regions measured on 2 pictures: a table <name>_regions.csv beside each.");
    EXPECT_EQ(last_message().icon, MessageIcon::information);
    const auto file = read_region_file(regions);
    ASSERT_TRUE(file);
    for (const char* name : {"a", "b"}) {
        const fs::path table = pictures / (std::string(name) + "_regions.csv");
        ASSERT_TRUE(fs::exists(table)) << name;
        // What the shared measurement gives for the flipped result.
        const std::string result = (pictures / ("1-" + std::string(name) + ".hdr")).string();
        auto map = load_luminance_map(result);
        ASSERT_TRUE(map);
        TempFolder work;
        MacroRecorder recorder;
        ProcessRunner runner(desktop, recorder);
        runner.set_program_folder(CANDELUX_PROGRAMS_DIR);
        auto expected = measure_picture_regions(result, map.value(), file.value(), regions, work.str(), runner, desktop,
                                                RegionTableRequest{AnalysisSettings{}, false});
        ASSERT_TRUE(expected);
        EXPECT_EQ(read_file(table), region_table_csv(expected.value().table)) << name;
        // The task rectangle of the flipped picture: columns 2 to 5 hold
        // the original's columns 17 to 14, rows 1 to 3, whose grey grows
        // with x + 10 y.
        auto original = load_luminance_map((pictures / (std::string(name) + ".hdr")).string());
        ASSERT_TRUE(original);
        auto at = [&](int x, int y) { return original.value().data[static_cast<size_t>(y * 20 + x)]; };
        const RegionStatistics& task = expected.value().table.rows[0].analysis.statistics;
        EXPECT_EQ(task.count(), 4 * 3);
        EXPECT_EQ(task.minimum, at(14, 1));
        EXPECT_EQ(task.maximum, at(17, 3));
        EXPECT_NEAR(task.minimum, 179.0f * 25, 0.5f * 179.0f);
    }
    EXPECT_FALSE(fs::exists(cache / "batch_regions"));

    // Again: the tables are among the files the batch would replace.
    choose_with(regions, false);
    app.on_command(command::batch_process);
    ASSERT_EQ(desktop.questions.size(), 1u);
    EXPECT_EQ(desktop.questions[0].text.rfind("4 files this batch writes exist already", 0), 0u)
        << desktop.questions[0].text;
}

TEST_F(BatchRegions, AnEmptyFieldMeasuresNothingAndABadFileIsRefusedAtOk) {
    write_macro_picture(pictures / "a.hdr", 20, 8);
    choose_with("  ", false);
    app.on_command(command::batch_process);
    EXPECT_TRUE(fs::exists(pictures / "1-a.hdr"));
    EXPECT_FALSE(fs::exists(pictures / "a_regions.csv"));
    EXPECT_EQ(last_message().text, "1 of 1 pictures processed, 1 steps run (1 per picture).");

    fs::remove(pictures / "1-a.hdr");
    write_file(seq / "broken.regions.json", "{\"width\": 20");
    int messages = static_cast<int>(desktop.messages.size());
    choose_with((seq / "broken.regions.json").string(), false);
    app.on_command(command::batch_process);
    EXPECT_FALSE(fs::exists(pictures / "1-a.hdr")) << "nothing replayed";
    ASSERT_EQ(static_cast<int>(desktop.messages.size()), messages + 1);
    EXPECT_EQ(last_message().caption, "File Error");
    EXPECT_EQ(last_message().owner, Owner::dialog);
}

TEST_F(BatchRegions, ARegionOutsideAResultIsSaidAndTheRestIsMeasured) {
    // A picture of another size: the regions are scaled onto it.
    write_macro_picture(pictures / "a.hdr", 40, 16);
    // One too small to be measured is said by name.
    write_macro_picture(pictures / "b.hdr", 2, 2);
    choose_with(write_regions(), false);
    app.on_command(command::batch_process);
    EXPECT_TRUE(fs::exists(pictures / "a_regions.csv"));
    EXPECT_FALSE(fs::exists(pictures / "b_regions.csv"));
    const std::string& text = last_message().text;
    EXPECT_NE(text.find("Regions measured on 1 pictures"), std::string::npos) << text;
    EXPECT_NE(text.find("\na.hdr: "), std::string::npos) << text;
    EXPECT_NE(text.find("\nb.hdr: regions not measured: "), std::string::npos) << text;
    EXPECT_EQ(last_message().icon, MessageIcon::warning);
}

}  // namespace
