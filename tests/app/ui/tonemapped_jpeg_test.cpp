// The JPEGs both tone mappers write from a real picture, decoded as any
// picture viewer would: the picture's size, a full range of tones, and the
// two operators' different looks. Copies go to /tmp/shots-export/.

#include <QDir>
#include <QImage>
#include <gtest/gtest.h>

#include "app/application.h"
#include "app/commands.h"
#include "support/scripted_desktop.h"
#include "support/temp_folder.h"
#include "tools/reinhard_form.h"
#include "tools/ward_form.h"

namespace {

struct Tones {
    double mean = 0;
    int darkest = 255;
    int brightest = 0;
};

Tones tones_of(const QImage& image) {
    Tones tones;
    double sum = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const int grey = qGray(image.pixel(x, y));
            sum += grey;
            tones.darkest = std::min(tones.darkest, grey);
            tones.brightest = std::max(tones.brightest, grey);
        }
    tones.mean = sum / (static_cast<double>(image.width()) * image.height());
    return tones;
}

TEST(TonemappedJpeg, BothOperatorsMapARealPictureToAFullRangeJpeg) {
    const std::string picture = shared_picture("fisheye_photo_786.hdr");
    if (picture.empty()) GTEST_SKIP() << "test pictures not present";
    TempFolder config, cache, output;
    ScriptedDesktop desktop;
    Application app{desktop, PlatformFolders{config.str(), cache.str()}, CANDELUX_PROGRAMS_DIR};
    ASSERT_TRUE(app.on_create());
    app.on_open_command(picture);
    ASSERT_TRUE(app.image_loaded());

    const std::string reinhard = (output / "reinhard.jpg").string();
    const std::string ward = (output / "ward.jpg").string();
    desktop.reinhard_dialog = [&](ReinhardForm& form) {
        desktop.file_answers.push_back({1, reinhard});
        form.on_browse();
        return form.on_ok() ? 1 : 0;
    };
    desktop.ward_dialog = [&](WardForm& form) {
        desktop.file_answers.push_back({1, ward});
        form.on_browse();
        form.on_switch(0, true);  // the human visual response
        return form.on_ok() ? 1 : 0;
    };
    app.on_command(command::reinhard);
    app.on_command(command::ward);
    ASSERT_EQ(desktop.messages.size(), 2u);
    ASSERT_EQ(desktop.messages[0].caption, "Reinhard Photographic Tonemapping") << desktop.messages[0].text;
    ASSERT_EQ(desktop.messages[1].caption, "Ward Tonemapping") << desktop.messages[1].text;

    const QImage reinhard_image(QString::fromStdString(reinhard), "JPG");
    const QImage ward_image(QString::fromStdString(ward), "JPG");
    ASSERT_EQ(reinhard_image.size(), QSize(786, 786));
    ASSERT_EQ(ward_image.size(), QSize(786, 786));
    for (const Tones& tones : {tones_of(reinhard_image), tones_of(ward_image)}) {
        // The black corners outside the fisheye circle, and highlights.
        EXPECT_LT(tones.darkest, 10);
        EXPECT_GT(tones.brightest, 200);
        EXPECT_GT(tones.mean, 30);
        EXPECT_LT(tones.mean, 200);
    }
    EXPECT_NE(reinhard_image, ward_image);

    QDir().mkpath("/tmp/shots-export");
    reinhard_image.save("/tmp/shots-export/tonemapped_reinhard.png");
    ward_image.save("/tmp/shots-export/tonemapped_ward.png");
}

}  // namespace
