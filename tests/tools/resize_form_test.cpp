// The resize dialog's aspect lock: a change of one field sets the other
// once, and the echo of that change never comes back.

#include <gtest/gtest.h>

#include "tools/resize_form.h"

namespace {

TEST(ResizeForm, OpensWithThePictureSizeAndTheLockOn) {
    ResizeLock lock;
    lock.locked = false;
    ResizeForm form(lock, 1000, 500);
    form.on_open();
    EXPECT_EQ(form.width_text, "1000");
    EXPECT_EQ(form.height_text, "500");
    EXPECT_TRUE(form.keep_aspect);
    EXPECT_TRUE(lock.locked);
}

TEST(ResizeForm, HalvingTheWidthHalvesTheHeightAndResizesByTwo) {
    ResizeLock lock;
    ResizeForm form(lock, 1000, 500);
    form.on_open();
    form.on_width_changed("500");
    EXPECT_EQ(form.height_text, "250");
    EXPECT_EQ(form.width_text, "500");
    EXPECT_EQ(form.on_ok(), 1);
    EXPECT_EQ(form.factor_x, "2");
    EXPECT_EQ(form.factor_y, "2");
}

TEST(ResizeForm, TypingInHeightChangesWidthOnceAndNotBack) {
    // A tall picture: height 1001 gives width 100, which would give 1000
    // back if the change of Width were followed in turn.
    ResizeLock lock;
    ResizeForm form(lock, 100, 1000);
    form.on_open();
    form.on_height_changed("1001");
    EXPECT_EQ(form.width_text, "100");
    EXPECT_EQ(form.height_text, "1001");
    EXPECT_FALSE(lock.width_set_by_dialog);
    EXPECT_FALSE(lock.height_set_by_dialog);
}

TEST(ResizeForm, TypingInWidthChangesHeightOnceAndNotBack) {
    ResizeLock lock;
    ResizeForm form(lock, 1000, 100);
    form.on_open();
    form.on_width_changed("1001");
    EXPECT_EQ(form.height_text, "100");
    EXPECT_EQ(form.width_text, "1001");
}

TEST(ResizeForm, AHeightThatComesOutUnchangedDoesNotSwallowTheNextEdit) {
    ResizeLock lock;
    ResizeForm form(lock, 1000, 500);
    form.on_open();
    form.on_width_changed("999");  // 999 / 2 rounds to 500: Height stays
    EXPECT_EQ(form.height_text, "500");
    form.on_height_changed("100");
    EXPECT_EQ(form.width_text, "200");
}

TEST(ResizeForm, KeystrokeByKeystrokeTheOtherFieldFollows) {
    ResizeLock lock;
    ResizeForm form(lock, 1000, 500);
    form.on_open();
    for (const char* text : {"100", "10", "1", "", "4", "40", "400"}) form.on_width_changed(text);
    EXPECT_EQ(form.height_text, "200");
    for (const char* text : {"20", "2", "25", "250"}) form.on_height_changed(text);
    EXPECT_EQ(form.width_text, "500");
}

TEST(ResizeForm, WithoutTheLockTheFieldsAreIndependent) {
    ResizeLock lock;
    ResizeForm form(lock, 1000, 500);
    form.on_open();
    form.on_keep_aspect_clicked(false);
    EXPECT_FALSE(lock.locked);
    form.on_width_changed("300");
    EXPECT_EQ(form.height_text, "500");
    form.on_height_changed("100");
    EXPECT_EQ(form.width_text, "300");
    EXPECT_EQ(form.on_ok(), 1);
    EXPECT_EQ(form.factor_x, "3.33333");
    EXPECT_EQ(form.factor_y, "5");
}

TEST(ResizeForm, AZeroSizeOrTheSameSizeIsNothingToDo) {
    ResizeLock lock;
    ResizeForm form(lock, 1000, 500);
    form.on_open();
    EXPECT_EQ(form.on_ok(), 0);
    form.on_keep_aspect_clicked(false);
    form.on_width_changed("300");
    form.on_height_changed("0");
    EXPECT_EQ(form.on_ok(), 0);
    form.on_height_changed("");
    EXPECT_EQ(form.on_ok(), 0);
}

TEST(ResizeForm, TheLockFollowsTheNextPicturesProportions) {
    ResizeLock lock;
    {
        ResizeForm form(lock, 1000, 500);
        form.on_open();
        form.on_width_changed("10");
    }
    ResizeForm form(lock, 300, 600);
    form.on_open();
    form.on_width_changed("150");
    EXPECT_EQ(form.height_text, "300");
}

}  // namespace
