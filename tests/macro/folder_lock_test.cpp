// The lock of a picture folder: one whole-folder batch at a time, the jobs
// of one picture each side by side, and a lock file that says who holds it
// and goes away with its holder.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include <filesystem>

#include "macro/folder_lock.h"
#include "support/temp_folder.h"

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using ::testing::StartsWith;

TEST(FolderLock, ASecondBatchIsRefusedUntilTheFirstEnds) {
    TempFolder folder;
    {
        const FolderLock first(folder.str(), "first run");
        ASSERT_TRUE(first.held()) << first.refusal();
        EXPECT_THAT(read_file(folder / folder_lock_name), StartsWith("pid " + std::to_string(::getpid()) + ", first run, started "));
        const FolderLock second(folder.str(), "second run");
        EXPECT_FALSE(second.held());
        EXPECT_THAT(second.refusal(), HasSubstr("the folder " + folder.str() + " is in use by another batch (pid " +
                                                std::to_string(::getpid()) + ", first run, started "));
        EXPECT_THAT(read_file(folder / folder_lock_name), HasSubstr("first run")) << "the refused run changes nothing";
    }
    EXPECT_FALSE(fs::exists(folder / folder_lock_name));
    const FolderLock third(folder.str(), "third run");
    EXPECT_TRUE(third.held());
}

TEST(FolderLock, TheJobsOfOnePictureEachRunSideBySideButNotBesideAWholeBatch) {
    TempFolder folder;
    {
        const FolderLock a(folder.str(), "job a", "a.hdr");
        const FolderLock b(folder.str(), "job b", "b.hdr");
        EXPECT_TRUE(a.held()) << a.refusal();
        EXPECT_TRUE(b.held()) << b.refusal();
        const FolderLock a_again(folder.str(), "job a again", "a.hdr");
        EXPECT_FALSE(a_again.held());
        EXPECT_THAT(a_again.refusal(), HasSubstr("job a,"));
        const FolderLock whole(folder.str(), "whole");
        EXPECT_FALSE(whole.held());
    }
    EXPECT_EQ(fs::directory_iterator(folder.path()), fs::directory_iterator()) << "every lock file removed";
    const FolderLock whole(folder.str(), "whole");
    ASSERT_TRUE(whole.held());
    const FolderLock job(folder.str(), "job", "a.hdr");
    EXPECT_FALSE(job.held());
}

TEST(FolderLock, AJobStartingWhileAnotherEndsIsNotRefused) {
    // A job that ends holds the folder's lock file exclusively for a moment,
    // to remove it; a job starting then waits for that moment to pass.
    TempFolder folder;
    const int ending = ::open((folder / folder_lock_name).c_str(), O_RDWR | O_CREAT, 0644);
    ASSERT_GE(ending, 0);
    ASSERT_EQ(::flock(ending, LOCK_EX | LOCK_NB), 0);
    std::thread end([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(40));
        ::unlink((folder / folder_lock_name).c_str());
        ::close(ending);
    });
    const FolderLock c(folder.str(), "job c", "c.hdr");
    end.join();
    EXPECT_TRUE(c.held()) << c.refusal();
}

TEST(FolderLock, ALockFileLeftByAKilledRunIsTakenOver) {
    TempFolder folder;
    write_file(folder / folder_lock_name, "pid 1, a run that was killed, started long ago\n");
    const FolderLock lock(folder.str(), "this run");
    EXPECT_TRUE(lock.held()) << lock.refusal();
    EXPECT_THAT(read_file(folder / folder_lock_name), HasSubstr("this run"));
}

TEST(FolderLock, ALockFileThatIsNotAFileIsNeitherFollowedNorTaken) {
    TempFolder folder, elsewhere;
    write_file(elsewhere / "target", "kept");
    fs::create_symlink(elsewhere / "target", folder / folder_lock_name);
    const FolderLock through_link(folder.str(), "run");
    EXPECT_FALSE(through_link.held());
    EXPECT_THAT(through_link.refusal(), HasSubstr("could not make the lock file"));
    EXPECT_EQ(read_file(elsewhere / "target"), "kept");

    TempFolder other;
    fs::create_directory(other / folder_lock_name);
    const FolderLock on_folder(other.str(), "run");
    EXPECT_FALSE(on_folder.held());
}

TEST(FolderLock, AFolderWithoutRoomForTheLockFileIsRefused) {
    const FolderLock lock("/nonexistent/folder", "run");
    EXPECT_FALSE(lock.held());
    EXPECT_THAT(lock.refusal(), HasSubstr("could not make the lock file /nonexistent/folder/.candelux-batch.lock"));
}

TEST(FolderLock, APictureWithTheLongestNameHasItsLock) {
    TempFolder folder;
    const std::string name = std::string(251, 'n') + ".hdr";
    const FolderLock job(folder.str(), "job", name);
    EXPECT_TRUE(job.held()) << job.refusal();
    const FolderLock again(folder.str(), "job again", name);
    EXPECT_FALSE(again.held());
    const FolderLock other(folder.str(), "other job", std::string(251, 'm') + ".hdr");
    EXPECT_TRUE(other.held());
}
