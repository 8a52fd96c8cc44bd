// Apply Maskfile, vignetting correction and image operations through the
// Application with our picture programs.

#include "app/editing_fixture.h"
#include "tools/image_operation_form.h"

namespace {

using PixelEditing = EditingTest;

RgbePixel grey(float value) { return encode_rgbe(value, value, value); }

// Stored values carry half a mantissa step more than they were written with.
void expect_luminance(float actual, float value) { EXPECT_NEAR(actual, value * 179.0f, value * 179.0f * 0.005f); }

// A 24-bit BMP, rows stored bottom up, white where `white` says so.
std::string bitmap(int width, int height, const std::function<bool(int, int)>& white) {
    const int row = (3 * width + 3) / 4 * 4;
    std::string bytes(54 + static_cast<size_t>(row) * height, '\0');
    auto put = [&](size_t at, uint32_t value, int count) {
        for (int i = 0; i < count; ++i) bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    };
    bytes[0] = 'B';
    bytes[1] = 'M';
    put(2, static_cast<uint32_t>(bytes.size()), 4);
    put(10, 54, 4);
    put(14, 40, 4);
    put(18, static_cast<uint32_t>(width), 4);
    put(22, static_cast<uint32_t>(height), 4);
    put(26, 1, 2);
    put(28, 24, 2);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (white(x, height - 1 - y))
                for (int c = 0; c < 3; ++c) bytes[54 + static_cast<size_t>(y) * row + 3 * x + c] = '\xff';
    return bytes;
}

TEST_F(PixelEditing, AMaskZeroesThePixelsWhereItIsDark) {
    const std::string path = picture("p.hdr", 20, 10, {"EXPOSURE=2"});
    open(path);
    const LuminanceMap original = map_of(path);
    const std::string mask = picture("mask.hdr", 20, 10, {}, [](int x, int y) { return grey(x < 8 && y >= 3 ? 1 : 0); });
    desktop.file_answers.push_back({1, mask});
    app.on_command(command::apply_maskfile);
    ASSERT_TRUE(desktop.messages.empty()) << desktop.messages[0].text;
    ASSERT_EQ(desktop.file_requests.size(), 1u);
    EXPECT_EQ(desktop.file_requests[0].title, "Open Mask File");
    EXPECT_EQ(desktop.file_requests[0].owner, Owner::main_window);
    const LuminanceMap& after = app.luminance_map();
    // A black pixel keeps the tiny value the luminance formula gives it.
    const float black = rgbe_luminance(0, 0, 0, 0, 2.0f);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 20; ++x)
            if (x < 8 && y >= 3) ASSERT_EQ(after.at(x, y), original.at(x, y)) << x << ", " << y;
            else ASSERT_EQ(after.at(x, y), black) << x << ", " << y;
}

TEST_F(PixelEditing, ABitmapMaskIsConvertedFirst) {
    open(picture("p.hdr", 12, 6));
    const std::string mask = (pictures / "mask.bmp").string();
    write_file(mask, bitmap(12, 6, [](int x, int) { return x >= 6; }));
    desktop.file_answers.push_back({3, mask});
    app.on_command(command::apply_maskfile);
    ASSERT_TRUE(desktop.messages.empty()) << desktop.messages[0].text;
    EXPECT_TRUE(std::filesystem::exists(cache / "dmask.hdr"));
    EXPECT_LT(app.luminance_map().at(2, 2), 1e-30f);
    EXPECT_GT(app.luminance_map().at(8, 2), 0.0f);
}

TEST_F(PixelEditing, AMaskPathWithABlankIsRefusedAndThePictureStays) {
    open(picture("p.hdr", 12, 6));
    const std::string before = read_file(working_copy());
    std::filesystem::create_directory(pictures / "my masks");
    const std::string mask = picture("my masks/m.hdr", 12, 6);
    for (int command : {command::apply_maskfile, command::vignetting_maskfile}) {
        desktop.messages.clear();
        desktop.file_answers.push_back({1, mask});
        app.on_command(command);
        const RecordedMessage& message = only_message();
        EXPECT_EQ(message.text, "File path cannot contain spaces");
        EXPECT_EQ(message.caption, "Path Error");
        EXPECT_EQ(message.icon, MessageIcon::error);
        EXPECT_EQ(message.owner, Owner::main_window);
    }
    EXPECT_EQ(read_file(working_copy()), before);
}

TEST_F(PixelEditing, VignettingCorrectionDividesByTheCorrectionPicture) {
    const std::string path = picture("p.hdr", 12, 6, {}, [](int, int) { return grey(1.0f); });
    open(path);
    const std::string correction = picture("v.hdr", 12, 6, {}, [](int x, int) { return grey(x < 6 ? 2.0f : 0.5f); });
    desktop.file_answers.push_back({1, correction});
    app.on_command(command::vignetting_maskfile);
    ASSERT_TRUE(desktop.messages.empty()) << desktop.messages[0].text;
    EXPECT_EQ(desktop.file_requests[0].title, "Open Image");
    expect_luminance(app.luminance_map().at(1, 1), 0.5f);
    expect_luminance(app.luminance_map().at(7, 1), 2.0f);
}

TEST_F(PixelEditing, AnImageOperationReplacesTheWorkingCopyWithAOpB) {
    open(picture("p.hdr", 8, 4));
    const std::string a = picture("a.hdr", 6, 3, {}, [](int, int) { return grey(1.0f); });
    const std::string b = picture("b.hdr", 6, 3, {}, [](int, int) { return grey(0.5f); });
    desktop.image_operation_dialog = [](ImageOperationForm& form) {
        form.on_browse_a();
        form.on_browse_b();
        form.operator_index = 0;
        return form.on_ok().value_or(0);
    };
    desktop.file_answers = {{1, a}, {1, b}};
    app.on_command(command::operation);
    ASSERT_TRUE(desktop.messages.empty()) << desktop.messages[0].text;
    EXPECT_EQ(app.image_operation().op, "+");
    EXPECT_EQ(app.luminance_map().width, 6);
    expect_luminance(app.luminance_map().at(2, 2), 1.5f);

    // The next opening shows both paths and uses them unless others are chosen.
    desktop.image_operation_dialog = [&](ImageOperationForm& form) {
        EXPECT_EQ(form.a_text, a);
        EXPECT_EQ(form.b_text, b);
        form.operator_index = 3;
        return form.on_ok().value_or(0);
    };
    app.on_command(command::operation);
    expect_luminance(app.luminance_map().at(2, 2), 2.0f);
}

// Operands that carry an exposure count as the application reads them.
TEST_F(PixelEditing, AKeptPixelKeepsItsLuminanceUnderAMaskWithAnExposure) {
    const std::string path = picture("p.hdr", 20, 10, {"EXPOSURE=2"});
    open(path);
    const LuminanceMap original = map_of(path);
    const std::string mask = picture("mask.hdr", 20, 10, {"EXPOSURE=4"},
                                     [](int x, int) { return grey(x < 8 ? 1 : 0); });
    desktop.file_answers.push_back({1, mask});
    app.on_command(command::apply_maskfile);
    ASSERT_TRUE(desktop.messages.empty()) << desktop.messages[0].text;
    const LuminanceMap& after = app.luminance_map();
    EXPECT_EQ(after.exposure, 8.0f) << "both nested exposures";
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 20; ++x)
            if (x < 8) ASSERT_FLOAT_EQ(after.at(x, y), original.at(x, y)) << x << ", " << y;
            else ASSERT_LT(after.at(x, y), 1e-30f) << x << ", " << y;
}

TEST_F(PixelEditing, VignettingCorrectionDividesByTheCorrectionPictureAsRead) {
    open(picture("p.hdr", 12, 6, {"EXPOSURE=2"}, [](int, int) { return grey(1.0f); }));  // 89.85 cd/m2
    // Read at exposure 4 the correction is 0.5 on the left and 0.125 on the right.
    const std::string correction =
        picture("v.hdr", 12, 6, {"EXPOSURE=4"}, [](int x, int) { return grey(x < 6 ? 2.0f : 0.5f); });
    desktop.file_answers.push_back({1, correction});
    app.on_command(command::vignetting_maskfile);
    ASSERT_TRUE(desktop.messages.empty()) << desktop.messages[0].text;
    expect_luminance(app.luminance_map().at(1, 1), 0.5f / 0.5f);   // 179
    expect_luminance(app.luminance_map().at(7, 1), 0.5f / 0.125f);  // 716
}

TEST_F(PixelEditing, AnImageOperationOnPicturesAtExposureTwoCombinesTheirLuminances) {
    open(picture("p.hdr", 8, 4));
    // Read at exposure 2: A is 0.50195 (89.85 cd/m2), B 0.25098 (44.93 cd/m2).
    const std::string a = picture("a.hdr", 6, 3, {"EXPOSURE=2"}, [](int, int) { return grey(1.0f); });
    const std::string b = picture("b.hdr", 6, 3, {"EXPOSURE=2"}, [](int, int) { return grey(0.5f); });
    const float la = map_of(a).at(2, 2), lb = map_of(b).at(2, 2);
    EXPECT_NEAR(la, 89.85f, 0.01f);
    struct Case {
        int operator_index;
        float expected;  // cd/m2
    };
    for (const Case& c : {Case{0, la + lb}, Case{1, la - lb}, Case{2, la * lb / 179.0f}, Case{3, la / lb * 179.0f}}) {
        desktop.file_answers = {{1, a}, {1, b}};
        desktop.image_operation_dialog = [&](ImageOperationForm& form) {
            form.on_browse_a();
            form.on_browse_b();
            form.operator_index = c.operator_index;
            return form.on_ok().value_or(0);
        };
        app.on_command(command::operation);
        ASSERT_TRUE(desktop.messages.empty()) << desktop.messages[0].text;
        // Within the step of a re-encoded pixel.
        EXPECT_NEAR(app.luminance_map().at(2, 2), c.expected, c.expected * 0.008f) << c.operator_index;
    }
}

TEST_F(PixelEditing, AFailingImageOperationKeepsTheWorkingCopyAndStillReloads) {
    open(picture("p.hdr", 8, 4));
    const std::string before = read_file(working_copy());
    const std::string a = picture("a.hdr", 6, 3);
    const std::string b = picture("b.hdr", 5, 3);
    desktop.image_operation_dialog = [](ImageOperationForm& form) {
        form.on_browse_a();
        form.on_browse_b();
        return form.on_ok().value_or(0);
    };
    desktop.file_answers = {{1, a}, {1, b}};
    app.tools().selection().radius = 2;
    app.on_command(command::operation);
    EXPECT_EQ(only_message().caption, "Radiance Process Error!");
    EXPECT_EQ(read_file(working_copy()), before);
    EXPECT_FALSE(app.tools().selection().any());
    EXPECT_EQ(app.luminance_map().width, 8);
}

}  // namespace
