// The Reinhard and Ward dialogs as real widgets: every control by its id,
// the defaults, Browse, the numeric filter, the OK rules and the link.
// Screenshots of both go to /tmp/shots-export/.

#include <QCheckBox>
#include <QDesktopServices>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QUrl>
#include <gtest/gtest.h>

#include "support/scripted_desktop.h"
#include "support/temp_folder.h"
#include "tools/reinhard_form.h"
#include "tools/ui/reinhard_dialog.h"
#include "tools/ui/ward_dialog.h"
#include "tools/ward_form.h"

namespace {

// Takes the URLs the dialogs open instead of starting a browser.
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    UrlCatcher() { QDesktopServices::setUrlHandler("https", this, "open"); }
    ~UrlCatcher() override { QDesktopServices::unsetUrlHandler("https"); }
    QList<QUrl> opened;
public Q_SLOTS:
    void open(const QUrl& url) { opened << url; }
};

template <class Widget = QWidget>
Widget* control(QWidget* dialog, int id) {
    return dialog->findChild<Widget*>(QString::number(id));
}

void save_screenshot(QWidget* widget, const QString& name) {
    QDir().mkpath("/tmp/shots-export");
    widget->grab().save("/tmp/shots-export/" + name);
}

void click_link(QLabel* link) {
    // The link is the label's only content: a click on its first character.
    QTest::mouseClick(link, Qt::LeftButton, {}, QPoint(4, link->height() / 2));
}

class ReinhardDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    }
    ScriptedDesktop desktop;
    ReinhardForm form{desktop};
    // Opened before the dialog shows it, as the application does.
    bool opened = (form.on_open(), true);
    ReinhardDialog dialog{nullptr, form};
    TempFolder folder;
};

TEST_F(ReinhardDialogTest, ShowsEveryControlWithItsDefault) {
    EXPECT_EQ(dialog.objectName(), "119");
    EXPECT_EQ(dialog.windowTitle(), "Reinhard Tonemapping Settings");
    auto* output = control<QLineEdit>(&dialog, reinhard_ids::output);
    ASSERT_NE(output, nullptr);
    EXPECT_TRUE(output->isReadOnly());
    EXPECT_EQ(output->text(), "");
    EXPECT_EQ(control<QLineEdit>(&dialog, reinhard_ids::key)->text(), "0.18");
    EXPECT_EQ(control<QLineEdit>(&dialog, reinhard_ids::white)->text(), "1e+020");
    EXPECT_EQ(control<QLineEdit>(&dialog, reinhard_ids::gamma)->text(), "1.6");
    EXPECT_EQ(control<QLineEdit>(&dialog, reinhard_ids::threshold)->text(), "0.05");
    auto* dodging = control<QCheckBox>(&dialog, reinhard_ids::dodging);
    ASSERT_NE(dodging, nullptr);
    EXPECT_EQ(dodging->text(), "Use Dodging and Burning Version (-scale)");
    EXPECT_FALSE(dodging->isChecked());
    EXPECT_NE(control<QPushButton>(&dialog, reinhard_ids::browse), nullptr);
    EXPECT_NE(control<QLabel>(&dialog, reinhard_ids::link), nullptr);
    save_screenshot(&dialog, "reinhard_dialog.png");
}

TEST_F(ReinhardDialogTest, OkBeforeBrowseKeepsTheDialogOpen) {
    QTest::mouseClick(control<QPushButton>(&dialog, 1), Qt::LeftButton);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), 0);
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].caption, "Path Error");
}

TEST_F(ReinhardDialogTest, BrowseFillsThePathAndOkAcceptsWithTheTypedNumbers) {
    desktop.file_answers.push_back({1, (folder / "evening").string()});
    QTest::mouseClick(control<QPushButton>(&dialog, reinhard_ids::browse), Qt::LeftButton);
    EXPECT_EQ(control<QLineEdit>(&dialog, reinhard_ids::output)->text().toStdString(), (folder / "evening").string());

    auto* key = control<QLineEdit>(&dialog, reinhard_ids::key);
    key->selectAll();
    QTest::keyClicks(key, "0.36k");  // the letter is taken back
    EXPECT_EQ(key->text(), "0.36");
    QTest::mouseClick(control<QCheckBox>(&dialog, reinhard_ids::dodging), Qt::LeftButton);

    QTest::mouseClick(control<QPushButton>(&dialog, 1), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(desktop.messages.empty());
    EXPECT_EQ(reinhard_command("I", form.output_name(), form.options()),
              "/C ReinhardTM -i I -o " + (folder / "evening.jpg").string() +
                  " -scale  -key 0.36 -white 1e+020 -gamma 1.6 -threshold 0.05");
}

TEST_F(ReinhardDialogTest, TheLinkOpensThePhotographicToneReproductionPaper) {
    UrlCatcher catcher;
    click_link(control<QLabel>(&dialog, reinhard_ids::link));
    ASSERT_EQ(catcher.opened.size(), 1);
    EXPECT_EQ(catcher.opened[0].toString().toStdString(), reinhard_link_url);
}

class WardDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    }
    QCheckBox* switch_box(size_t index) {
        return control<QCheckBox>(&dialog, ward_ids::first_switch + static_cast<int>(index));
    }
    ScriptedDesktop desktop;
    WardForm form{desktop};
    // Opened before the dialog shows it, as the application does.
    bool opened = (form.on_open(), true);
    WardDialog dialog{nullptr, form};
    TempFolder folder;
};

TEST_F(WardDialogTest, ShowsSevenSwitchesOffAndTheExposureDisabled) {
    EXPECT_EQ(dialog.objectName(), "129");
    EXPECT_EQ(dialog.windowTitle(), "Ward Tonemapping");
    for (size_t i = 0; i < 7; ++i) {
        ASSERT_NE(switch_box(i), nullptr) << i;
        EXPECT_EQ(switch_box(i)->text().toStdString(), ward_switch_texts[i]);
        EXPECT_FALSE(switch_box(i)->isChecked());
    }
    auto* exposure = control<QLineEdit>(&dialog, ward_ids::exposure);
    ASSERT_NE(exposure, nullptr);
    EXPECT_EQ(exposure->text(), "1");
    EXPECT_FALSE(exposure->isEnabled());
    EXPECT_TRUE(control<QLineEdit>(&dialog, ward_ids::output)->isReadOnly());
    EXPECT_NE(control<QPushButton>(&dialog, ward_ids::browse), nullptr);
    save_screenshot(&dialog, "ward_dialog.png");
}

TEST_F(WardDialogTest, TheLinearResponseEnablesTheExposureField) {
    auto* exposure = control<QLineEdit>(&dialog, ward_ids::exposure);
    QTest::mouseClick(switch_box(6), Qt::LeftButton);
    EXPECT_TRUE(exposure->isEnabled());
    exposure->selectAll();
    QTest::keyClicks(exposure, "0.5");
    QTest::mouseClick(switch_box(0), Qt::LeftButton);
    EXPECT_EQ(ward_option_text(form.options()), " -h  -l  -e 0.5 ");
    QTest::mouseClick(switch_box(6), Qt::LeftButton);
    EXPECT_FALSE(exposure->isEnabled());
    EXPECT_EQ(ward_option_text(form.options()), " -h  ");
}

TEST_F(WardDialogTest, OkNeedsABrowsedPath) {
    QTest::mouseClick(control<QPushButton>(&dialog, 1), Qt::LeftButton);
    EXPECT_TRUE(dialog.isVisible());
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].owner, Owner::dialog);
    desktop.file_answers.push_back({1, (folder / "w.jpg").string()});
    QTest::mouseClick(control<QPushButton>(&dialog, ward_ids::browse), Qt::LeftButton);
    QTest::mouseClick(control<QPushButton>(&dialog, 1), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(form.output_name(), (folder / "w.jpg").string());
}

TEST_F(WardDialogTest, TheLinkOpensTheHistogramAdjustmentPaper) {
    UrlCatcher catcher;
    click_link(control<QLabel>(&dialog, ward_ids::link));
    ASSERT_EQ(catcher.opened.size(), 1);
    EXPECT_EQ(catcher.opened[0].toString().toStdString(), ward_link_url);
}

}  // namespace

#include "tonemap_dialogs_test.moc"
