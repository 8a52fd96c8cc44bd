// The "Camera Profiles" window with real widgets, opened from its menu item:
// the profiles folder listed, a profile made with New..., edited in the
// fields and saved, and deleted after the question is answered.

#include <gtest/gtest.h>

#include <cmath>

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "app/commands.h"
#include "profiles/scripted_profile_desktop.h"
#include "support/formula_pictures.h"
#include "profiles/ui/profile_window.h"
#include "support/ui/app_window.h"

namespace fs = std::filesystem;

namespace {

class ProfileWindowTest : public ::testing::Test, public AppWindow {
protected:
    void SetUp() override {
        fs::create_directories(folder);
        write_file(folder / "office.cdxprofile",
                   R"({"format": "candelux camera profile 1", "name": "Office fisheye", "camera": "Canon EOS 5D",)"
                   R"( "vignetting": [-0.2], "nd_factor": 1, "calibration_factor": 1.07, "lab_id": 42})");
        app.set_profile_desktop(&profiles);
        ASSERT_NO_FATAL_FAILURE(show({900, 600}));
        window.action(command::camera_profiles)->trigger();
        ASSERT_NE(profiles.shown, nullptr);
        profile_window = new ProfileWindow(&window, *profiles.shown);
        profile_window->show();
    }

    template <class Widget = QWidget>
    Widget* control(int id) const {
        auto* widget = profile_window->findChild<Widget*>(QString::number(id));
        EXPECT_NE(widget, nullptr) << id;
        return widget;
    }
    QLineEdit* field(int f) const { return control<QLineEdit>(profile_ids::first_field + f); }
    void click(int id) { QTest::mouseClick(control<QPushButton>(id), Qt::LeftButton); }

    void screenshot(QWidget& widget, const char* name) {
        QApplication::processEvents();  // the layout settles as it would on screen
        if (const char* shots = std::getenv("CANDELUX_SCREENSHOT")) widget.grab().save(QString(shots) + "/" + name);
    }

    fs::path folder = config / "candelux" / "profiles";
    ScriptedProfileDesktop profiles;
    ProfileWindow* profile_window = nullptr;
};

}  // namespace

TEST_F(ProfileWindowTest, MakesEditsAndDeletesAProfile) {
    EXPECT_TRUE(window.action(command::camera_profiles)->isEnabled());
    auto* list = control<QListWidget>(profile_ids::list);
    ASSERT_EQ(list->count(), 1);
    EXPECT_EQ(list->item(0)->text(), "Office fisheye");
    EXPECT_FALSE(control<QPushButton>(profile_ids::remove)->isEnabled());
    EXPECT_FALSE(field(profile_field::camera)->isEnabled());

    list->setCurrentRow(0);
    EXPECT_EQ(field(profile_field::camera)->text(), "Canon EOS 5D");
    EXPECT_EQ(field(profile_field::calibration_factor)->text(), "1.07");
    EXPECT_FALSE(field(profile_field::radius)->isEnabled());

    profiles.name_answers.push_back("Sigma 8mm");
    click(profile_ids::new_profile);
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->currentItem()->text(), "Sigma 8mm");
    EXPECT_EQ(field(profile_field::nd_factor)->text(), "1");
    EXPECT_FALSE(control<QPushButton>(profile_ids::save)->isEnabled());

    QTest::keyClicks(field(profile_field::lens), "8mm F3.5 EX DG");
    QTest::keyClicks(field(profile_field::nd_factor), "000");
    auto* view = control<QComboBox>(profile_ids::first_field + profile_field::view);
    view->setCurrentIndex(1);
    emit view->activated(1);
    EXPECT_TRUE(field(profile_field::radius)->isEnabled());
    EXPECT_EQ(field(profile_field::horizontal_angle)->text(), "180");
    field(profile_field::radius)->selectAll();
    QTest::keyClicks(field(profile_field::radius), "1210.5");
    EXPECT_TRUE(control<QPushButton>(profile_ids::save)->isEnabled());
    screenshot(*profile_window, "camera_profiles.png");
    click(profile_ids::save);
    EXPECT_FALSE(control<QPushButton>(profile_ids::save)->isEnabled());

    auto saved = read_camera_profile((folder / "Sigma 8mm.cdxprofile").string());
    ASSERT_TRUE(saved) << saved.failure().message;
    EXPECT_EQ(saved.value().lens, "8mm F3.5 EX DG");
    EXPECT_DOUBLE_EQ(saved.value().nd_factor, 1000);
    ASSERT_TRUE(saved.value().projection);
    EXPECT_EQ(saved.value().projection->view, "-vta");
    EXPECT_DOUBLE_EQ(saved.value().projection->circle.radius, 1210.5);

    // The other profile's key this version does not know survives an edit.
    list->setCurrentRow(0);
    ASSERT_EQ(list->currentItem()->text(), "Office fisheye");
    QTest::keyClicks(field(profile_field::note), "checked");
    click(profile_ids::save);
    EXPECT_NE(read_file(folder / "office.cdxprofile").find("\"lab_id\""), std::string::npos);

    // Delete asks first.
    profiles.question_answers.push_back(true);
    click(profile_ids::remove);
    ASSERT_EQ(profiles.questions.size(), 1u);
    EXPECT_EQ(profiles.questions[0].rfind("Delete the profile \"Office fisheye\"", 0), 0u);
    EXPECT_FALSE(fs::exists(folder / "office.cdxprofile"));
    EXPECT_EQ(list->count(), 1);
    EXPECT_TRUE(profiles.messages.empty());
}

namespace {

// The share of the image's pixels near `colour`.
int pixels_like(const QImage& image, QColor colour) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (std::abs(c.red() - colour.red()) + std::abs(c.green() - colour.green()) +
                    std::abs(c.blue() - colour.blue()) < 40)
                ++count;
        }
    return count;
}

}  // namespace

// Fit Vignetting... on a uniform wall through a fisheye whose fall-off
// follows the cos⁴ law: the circle found, the fit drawn against the rings.
TEST_F(ProfileWindowTest, FitsVignettingAndDrawsTheFitAgainstTheData) {
    auto* list = control<QListWidget>(profile_ids::list);
    auto* plot = control(profile_ids::plot);
    list->setCurrentRow(0);
    const QImage before = plot->grab().toImage();
    const std::string wall = (config / "wall.hdr").string();
    ASSERT_TRUE(write_grey_picture(wall, 400, 300, [](int x, int y) {
        const double r = std::hypot(x + 0.5 - 200, y + 0.5 - 150) / 140;
        if (r > 1) return 0.0f;
        const double c = std::cos(r * 55 * 3.14159265 / 180);
        // A faint weave, as a real wall's texture, so the rings scatter.
        return static_cast<float>(0.4 * c * c * c * c * (1 + 0.01 * std::sin(x * 0.7) * std::cos(y * 0.5)));
    }));
    profiles.picture_answers.push_back(wall);
    click(profile_ids::fit_vignetting);
    EXPECT_TRUE(profiles.messages.empty());
    EXPECT_NEAR(field(profile_field::radius)->text().toDouble(), 140, 1.5);
    EXPECT_TRUE(control<QPushButton>(profile_ids::save)->isEnabled());
    EXPECT_TRUE(control<QLabel>(profile_ids::status)->text().startsWith("Fitted to wall.hdr: "));

    QApplication::processEvents();
    const QImage after = plot->grab().toImage();
    EXPECT_GT(pixels_like(after, QColor(214, 95, 14)), 10 * pixels_like(before, QColor(214, 95, 14)) + 50);
    EXPECT_GT(pixels_like(after, QColor(31, 119, 180)), 200);
    if (const char* shots = std::getenv("CANDELUX_SCREENSHOT"))
        after.save(QString(shots) + "/profile-vignetting-fit.png");
    screenshot(*profile_window, "profile-window.png");

    click(profile_ids::save);
    auto saved = read_camera_profile((folder / "office.cdxprofile").string());
    ASSERT_TRUE(saved) << saved.failure().message;
    EXPECT_GT(saved.value().vignetting_data.size(), 10u);
    EXPECT_NEAR(vignetting_falloff(saved.value().vignetting, 0.5), std::pow(std::cos(27.5 * 3.14159265 / 180), 4),
                0.01);
}
