// Following a folder: pictures there at the start are not new; a new one is
// reported once its size has settled, once; other files are not pictures;
// a picture handed back is looked at again.

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>

#include "series/ui/folder_follower.h"
#include "support/temp_folder.h"

namespace {

constexpr int settle_ms = 40;

class FolderFollowerTest : public ::testing::Test {
protected:
    void SetUp() override {
        write_file(folder / "old.hdr", "picture bytes");
        follower.set_settle_interval(settle_ms);
        ASSERT_TRUE(follower.start(QString::fromStdString(folder.str()),
                                   {QString::fromStdString((folder / "old.hdr").string())}));
    }
    QStringList reported() const {
        QStringList paths;
        for (const QList<QVariant>& call : spy) paths << call.at(0).toString();
        return paths;
    }
    QString path(const char* name) const { return QString::fromStdString((folder / name).string()); }

    TempFolder folder;
    FolderFollower follower;
    QSignalSpy spy{&follower, &FolderFollower::picture_ready};
};

}  // namespace

TEST_F(FolderFollowerTest, ReportsANewPictureOnceItsSizeHasSettled) {
    write_file(folder / "new.HDR", "x");
    write_file(folder / "plan.pic", "y");
    write_file(folder / "notes.txt", "z");
    write_file(folder / "empty.hdr", "");
    ASSERT_TRUE(QTest::qWaitFor([this] { return spy.count() >= 2; }, 5000));
    QTest::qWait(settle_ms * 4);
    EXPECT_EQ(reported(), QStringList({path("new.HDR"), path("plan.pic")}));
    // Touched again: not reported twice.
    write_file(folder / "new.HDR", "xx");
    QTest::qWait(settle_ms * 4);
    EXPECT_EQ(spy.count(), 2);
}

TEST_F(FolderFollowerTest, WaitsWhileAPictureGrows) {
    std::string bytes = "a";
    write_file(folder / "growing.hdr", bytes);
    // Grows faster than it settles: never reported meanwhile.
    for (int i = 0; i < 10; ++i) {
        QTest::qWait(settle_ms / 3);
        bytes += "more";
        write_file(folder / "growing.hdr", bytes);
    }
    EXPECT_EQ(spy.count(), 0);
    ASSERT_TRUE(QTest::qWaitFor([this] { return spy.count() == 1; }, 5000));
    EXPECT_EQ(reported(), QStringList({path("growing.hdr")}));
}

TEST_F(FolderFollowerTest, LooksAgainAtAPictureHandedBackAndStopsWhenAsked) {
    write_file(folder / "cut.hdr", "half");
    ASSERT_TRUE(QTest::qWaitFor([this] { return spy.count() == 1; }, 5000));
    follower.retry(path("cut.hdr"));
    ASSERT_TRUE(QTest::qWaitFor([this] { return spy.count() == 2; }, 5000));
    EXPECT_EQ(reported(), QStringList({path("cut.hdr"), path("cut.hdr")}));
    follower.stop();
    EXPECT_FALSE(follower.following());
    write_file(folder / "after.hdr", "late");
    QTest::qWait(settle_ms * 4);
    EXPECT_EQ(spy.count(), 2);
}

TEST(FolderFollower, TakesHdrAndPicFilesWhateverTheirCase) {
    EXPECT_TRUE(FolderFollower::is_picture_name("a.hdr"));
    EXPECT_TRUE(FolderFollower::is_picture_name("A.HDR"));
    EXPECT_TRUE(FolderFollower::is_picture_name("b.Pic"));
    EXPECT_FALSE(FolderFollower::is_picture_name("c.hdr.partial"));
    EXPECT_FALSE(FolderFollower::is_picture_name("d.csv"));
    EXPECT_FALSE(FolderFollower::is_picture_name("hdr"));
}
