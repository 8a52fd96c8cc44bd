// candelux-cli given what a hostile folder or environment holds: files that
// are not pictures, a cache folder the shell would misread, numbers the
// window's fields would not take, symbolic links where reports go, step
// files of an earlier run and names that only differ in case.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <filesystem>

#include "cli/cli_process.h"
#include "macro/folder_lock.h"
#include "macro/macro_pictures.h"

namespace fs = std::filesystem;
using ::testing::HasSubstr;

namespace {

// A socket bound at `path`, closed when the test ends.
class BoundSocket {
public:
    explicit BoundSocket(const fs::path& path) {
        fd_ = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::snprintf(address.sun_path, sizeof address.sun_path, "%s", path.c_str());
        bound_ = ::bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    }
    ~BoundSocket() { ::close(fd_); }
    bool bound() const { return bound_; }

private:
    int fd_ = -1;
    bool bound_ = false;
};

class CliHostile : public ::testing::Test {
protected:
    CliRun cli(const std::string& words) { return run_candelux_cli(words, config.str(), cache_home.str()); }
    TempFolder dir, config, cache_home;
};

}  // namespace

TEST_F(CliHostile, FilesThatAreNotPicturesAreRefusedBeforeTheyAreRead) {
    ASSERT_EQ(::mkfifo((dir / "fifo.hdr").c_str(), 0600), 0);
    fs::create_symlink("/dev/zero", dir / "zero.hdr");
    fs::create_symlink(dir / "fifo.hdr", dir / "to_fifo.hdr");
    fs::create_directory(dir / "folder.hdr");
    const BoundSocket socket(dir / "socket.hdr");
    ASSERT_TRUE(socket.bound());
    const std::pair<std::string, std::string> cases[] = {
        {"luminance {dir}/fifo.hdr 0 0", "fifo.hdr: a FIFO, not a regular file"},
        {"luminance /dev/zero 0 0", "/dev/zero: a device, not a regular file"},
        {"luminance {dir}/zero.hdr 0 0", "zero.hdr: a device, not a regular file"},
        {"stats {dir}/to_fifo.hdr", "to_fifo.hdr: a FIFO, not a regular file"},
        {"falsecolor {dir}/folder.hdr {dir}/out.bmp", "folder.hdr: a folder, not a file"},
        {"luminance {dir}/socket.hdr 0 0", "socket.hdr: a socket, not a regular file"},
        {"stats {dir}/p.hdr --mask {dir}/to_fifo.hdr", "the mask file {dir}/to_fifo.hdr: a FIFO, not a regular file"},
        {"batch {dir}/fifo.hdr {dir}", "the sequence file {dir}/fifo.hdr: a FIFO, not a regular file"},
    };
    write_macro_picture(dir / "p.hdr", 8, 6);
    auto with_folder = [&](std::string text) {
        for (size_t at; (at = text.find("{dir}")) != std::string::npos;) text.replace(at, 5, dir.str());
        return text;
    };
    for (const auto& [words, says] : cases) {
        SCOPED_TRACE(with_folder(words));
        const CliRun run = cli(with_folder(words));
        EXPECT_EQ(run.status, 2);
        EXPECT_THAT(run.err, HasSubstr(with_folder(says)));
    }
    EXPECT_FALSE(fs::exists(dir / "out.bmp"));

    // Met in a folder, they are no pictures of it: the batch replays p.hdr
    // alone and ends.
    TempFolder seq;
    write_sequence(seq / "flip.seq", {"40015#/C pflip -c -h /nowhere/dtemp.hdr /nowhere/dtempo.hdr#NULL"});
    const CliRun batch = cli("batch " + (seq / "flip.seq").string() + " " + dir.str() + " --cache-folder /nowhere");
    EXPECT_EQ(batch.status, 0) << batch.err;
    EXPECT_THAT(batch.out, HasSubstr("1 of 1 pictures processed"));
    EXPECT_TRUE(fs::exists(dir / "1-p.hdr"));
}

TEST_F(CliHostile, AHeaderThatNeverEndsIsTooLong) {
    std::string endless = "#?RADIANCE\n";
    while (endless.size() <= (1u << 20)) endless += "COMMENT a header line that is never followed by an empty one\n";
    write_file(dir / "endless.hdr", endless + "\n-Y 1 +X 1\n\x80\x80\x80\x80");
    const CliRun run = cli("luminance " + (dir / "endless.hdr").string() + " 0 0");
    EXPECT_EQ(run.status, 2);
    EXPECT_THAT(run.err, HasSubstr("header too long"));

    // A long header that does end is still a picture.
    std::string long_header = "#?RADIANCE\n";
    while (long_header.size() < 900000) long_header += "COMMENT a long but finite header\n";
    write_file(dir / "long.hdr", long_header + "\n-Y 1 +X 1\n\x80\x80\x80\x80");
    EXPECT_EQ(cli("luminance " + (dir / "long.hdr").string() + " 0 0").status, 0);
}

TEST_F(CliHostile, ACacheFolderTheShellWouldMisreadIsRefusedAsTheWindowRefusesIt) {
    write_macro_picture(dir / "p.hdr", 8, 6);
    write_sequence(dir / "flip.seq", {"40015#/C pflip -c -h /nowhere/dtemp.hdr /nowhere/dtempo.hdr#NULL"});
    const std::string witness = (dir / "ran").string();
    const std::string blank = "'" + (dir / "a b").string() + "'";
    const std::string command = "'" + dir.str() + "/x;touch " + witness + ";'";
    for (const std::string& home : {blank, command}) {
        for (const std::string& words :
             {"stats " + (dir / "p.hdr").string(), "falsecolor " + (dir / "p.hdr").string() + " " + dir.str() + "/f",
              "batch " + (dir / "flip.seq").string() + " " + dir.str()}) {
            SCOPED_TRACE(home + " " + words);
            const CliRun run = run_candelux_cli(words, config.str(), home);
            EXPECT_EQ(run.status, 2);
            EXPECT_EQ(run.out, "");
            EXPECT_THAT(run.err, HasSubstr("cannot be used: choose one without spaces in Tools > Settings"));
        }
        // The readout needs no cache folder.
        EXPECT_EQ(run_candelux_cli("luminance " + (dir / "p.hdr").string() + " 1 1", config.str(), home).status, 0);
    }
    EXPECT_FALSE(fs::exists(witness));
    EXPECT_FALSE(fs::exists(dir / "a b"));
    EXPECT_FALSE(fs::exists(dir / "f.bmp"));
    EXPECT_FALSE(fs::exists(dir / "1-p.hdr"));
}

TEST_F(CliHostile, NumbersTheWindowsFieldsWouldNotTakeAreRefused) {
    write_macro_picture(dir / "p.hdr", 8, 6);
    const std::string p = (dir / "p.hdr").string();
    const std::pair<std::string, std::string> cases[] = {
        {"stats " + p + " --percentile -5,10", "whole number from 1 to 100, not \"-5\""},
        {"stats " + p + " --percentile 10,2.5", "whole number from 1 to 100, not \"2.5\""},
        {"stats " + p + " --percentile 10,101", "not \"101\""},
        {"stats " + p + " --criterion greater,-5", "the threshold must be a whole number of cd/m2 from 0, not \"-5\""},
        {"stats " + p + " --criterion lesser,2.5", "not \"2.5\""},
        {"falsecolor " + p + " " + dir.str() + "/f --range -1,5", "a luminance cannot be negative, not \"-1\""},
        {"falsecolor " + p + " " + dir.str() + "/f --range 1,-0", "not \"-0\""},
    };
    for (const auto& [words, says] : cases) {
        SCOPED_TRACE(words);
        const CliRun run = cli(words);
        EXPECT_EQ(run.status, 2);
        EXPECT_THAT(run.err, HasSubstr(says));
    }
    EXPECT_FALSE(fs::exists(dir / "f.bmp"));
    // What the fields do take still runs.
    EXPECT_EQ(cli("stats " + p + " --percentile 90,10 --criterion greater,0").status, 0);
    EXPECT_EQ(cli("falsecolor " + p + " " + dir.str() + "/f --range 0,5.5").status, 0);
}

TEST_F(CliHostile, ReportsReplaceASymbolicLinkAndNeverWriteThroughIt) {
    write_macro_picture(dir / "p.hdr", 8, 6);
    TempFolder elsewhere;
    write_file(elsewhere / "secret", "kept");
    fs::create_symlink(elsewhere / "secret", dir / "r_stats.csv");
    // The temporary name a report is copied under, planted beforehand.
    fs::create_symlink(elsewhere / "planted", dir / ".r_hist.csv.part");
    const std::string p = (dir / "p.hdr").string();

    const CliRun refused = cli("stats " + p + " --report " + dir.str() + "/r");
    EXPECT_EQ(refused.status, 2);
    EXPECT_THAT(refused.err, HasSubstr("r_stats.csv exists already"));

    const CliRun replaced = cli("stats " + p + " --report " + dir.str() + "/r --overwrite");
    EXPECT_EQ(replaced.status, 0) << replaced.err;
    EXPECT_EQ(read_file(elsewhere / "secret"), "kept");
    EXPECT_FALSE(fs::is_symlink(dir / "r_stats.csv"));
    EXPECT_THAT(read_file(dir / "r_stats.csv"), HasSubstr("MEAN,"));
    EXPECT_FALSE(fs::exists(elsewhere / "planted"));
    EXPECT_FALSE(fs::exists(fs::symlink_status(dir / ".r_hist.csv.part")));

    // A link to a file that does not exist yet counts as there too.
    fs::create_symlink(elsewhere / "new", dir / "s_hist.csv");
    EXPECT_EQ(cli("stats " + p + " --report " + dir.str() + "/s").status, 2);
    EXPECT_EQ(cli("stats " + p + " --report " + dir.str() + "/s --overwrite").status, 0);
    EXPECT_FALSE(fs::exists(elsewhere / "new"));
    EXPECT_FALSE(fs::exists(elsewhere / ".new.part"));
}

TEST_F(CliHostile, OverwriteRemovesTheStepFilesOfALongerEarlierRun) {
    write_macro_picture(dir / "p.hdr", 8, 6);
    write_macro_picture(dir / "q.hdr", 8, 6);
    TempFolder seq;
    write_sequence(seq / "flip.seq", {"40015#/C pflip -c -h /nowhere/dtemp.hdr /nowhere/dtempo.hdr#NULL"});
    for (const char* old : {"1-p.hdr", "2-p.hdr", "3-p.hdr", "12-q.hdr"}) write_file(dir / old, "an earlier run's");
    fs::create_symlink("/nowhere/target", dir / "4-p.hdr");
    fs::create_directory(dir / "5-p.hdr");
    const std::string words = "batch " + (seq / "flip.seq").string() + " " + dir.str() + " --cache-folder /nowhere";

    const CliRun refused = cli(words);
    EXPECT_EQ(refused.status, 2);
    EXPECT_THAT(refused.err, HasSubstr("exist already"));
    fs::remove(dir / "1-p.hdr");
    const CliRun still = cli(words);
    EXPECT_EQ(still.status, 2);
    EXPECT_THAT(still.err, HasSubstr("4 step files of an earlier, longer replay exist"));

    const CliRun run = cli(words + " --overwrite");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(folder_listing(dir.path()),
              "1-p.hdr " + std::to_string(fs::file_size(dir / "1-p.hdr")) + "\n1-q.hdr " +
                  std::to_string(fs::file_size(dir / "1-q.hdr")) + "\n5-p.hdr/\np.hdr " +
                  std::to_string(fs::file_size(dir / "p.hdr")) + "\nq.hdr " + std::to_string(fs::file_size(dir / "q.hdr")) +
                  "\n")
        << "a folder is left alone";
}

TEST_F(CliHostile, AStepFileNeverReplacesAnInputPicture) {
    // On a case-insensitive folder (a USB disk, a Windows share) 1-x.hdr is
    // the input picture 1-X.hdr.
    write_macro_picture(dir / "x.hdr", 8, 6);
    write_macro_picture(dir / "1-X.hdr", 5, 5);
    const std::string input = read_file(dir / "1-X.hdr");
    TempFolder seq;
    write_sequence(seq / "flip.seq", {"40015#/C pflip -c -h /nowhere/dtemp.hdr /nowhere/dtempo.hdr#NULL"});
    const std::string words = "batch " + (seq / "flip.seq").string() + " " + dir.str() + " --cache-folder /nowhere";
    const CliRun run = cli(words + " --overwrite");
    EXPECT_EQ(run.status, 1);
    EXPECT_THAT(run.out, HasSubstr("x.hdr: its step file 1-x.hdr would replace the input picture 1-X.hdr"));
    EXPECT_FALSE(fs::exists(dir / "1-x.hdr"));
    EXPECT_EQ(read_file(dir / "1-X.hdr"), input);
    EXPECT_TRUE(fs::exists(dir / "1-1-X.hdr")) << "the other input is replayed";

    const CliRun jobs = cli(words + " --overwrite --emit-jobs");
    EXPECT_EQ(jobs.status, 1) << "a picture is left out";
    EXPECT_THAT(jobs.err, HasSubstr("x.hdr left out"));
}

TEST_F(CliHostile, AFolderNamedLikeAnOptionReachesNoProgramAsOne) {
    const fs::path minus = dir / "-d";
    fs::create_directory(minus);
    write_macro_picture(minus / "p.hdr", 8, 6);
    TempFolder seq;
    write_sequence(seq / "flip.seq", {"40015#/C pflip -c -h /nowhere/dtemp.hdr /nowhere/dtempo.hdr#NULL"});
    const CliRun run = run_candelux_cli("batch " + (seq / "flip.seq").string() + " -d --cache-folder /nowhere",
                                        config.str(), cache_home.str(), dir.str());
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(fs::exists(minus / "1-p.hdr"));
}
