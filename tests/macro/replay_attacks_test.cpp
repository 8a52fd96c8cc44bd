// Sequence files handed over by an attacker, replayed for real with our
// picture programs: each line aimed at a file outside the picture folder is
// refused, nothing outside the folder changes, and the batch says its work is
// incomplete. Also the file's own limits: a byte-order mark, oversize files,
// files that are not regular.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <map>

#include "macro/batch_replay.h"
#include "macro/macro_pictures.h"
#include "macro/recording_host.h"
#include "picture/bmp_writer.h"
#include "picture/rgbe_reader.h"

namespace fs = std::filesystem;

namespace {

// Every file below a folder with its bytes.
std::map<std::string, std::string> contents_of(const fs::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        if (entry.is_regular_file()) files[entry.path().string()] = read_file(entry.path());
    return files;
}

class ReplayAttacks : public ::testing::Test {
protected:
    void SetUp() override {
        write_file(home / ".bashrc", "echo welcome\n");
        write_file(home / "secret.txt", "password=hunter2\n");
        write_macro_picture(home / "secret.hdr", 8, 6, {"SECRET=yes"});
        write_macro_picture(pictures / "a.hdr", 8, 6, {"EXPOSURE=0.5"});
    }

    std::string with_places(const std::string& line) const {
        return replaced_all(replaced_all(line, "{cache}", cache.str()), "{home}", home.str());
    }

    ReplayReport replay(const std::vector<std::string>& lines) {
        std::vector<std::string> placed;
        for (const auto& line : lines) placed.push_back(with_places(line));
        write_sequence(seq / "attack.seq", placed);
        auto report = replay_sequence((seq / "attack.seq").string(), pictures.str(), cache.str(), host, true);
        EXPECT_TRUE(report.ok()) << (report.ok() ? "" : report.failure().message);
        return report.ok() ? report.value() : ReplayReport{};
    }

    TempFolder cache, pictures, seq, home;
    RecordingHost host;
};

const std::string flip = "40015#/C pflip -c -h {cache}/dtemp.hdr {cache}/dtempo.hdr#NULL";

}  // namespace

TEST_F(ReplayAttacks, NoLineReachesAFileOutsideThePictureFolder) {
    const std::vector<std::string> attacks = {
        // The review's exploits, as given and spelled out.
        "40015#/C pflip -c -h {cache}/dtemp.hdr ~/.bashrc | protate {cache}/dtemp.hdr {cache}/dtempo.hdr#NULL",
        "40015#/C pflip -c -h {cache}/dtemp.hdr {home}/.bashrc | protate {cache}/dtemp.hdr {cache}/dtempo.hdr#NULL",
        "40015#/C getinfo {home}/secret.txt {cache}/dtemp.hdr > {cache}/dtempo.hdr#NULL",
        // Every program that writes to a file named as an argument.
        "40015#/C pflip -c -h {cache}/dtemp.hdr {home}/.bashrc#NULL",
        "40013#/C protate {cache}/dtemp.hdr {home}/.bashrc#NULL",
        "40013#/C protate {home}/secret.hdr {cache}/dtempo.hdr#NULL",
        "40039#/C pcond -h {cache}/dtemp.hdr {home}/.bashrc#NULL",
        "40039#/C pcond {home}/secret.hdr > {cache}/dtempo.hdr#NULL",
        "40003#/C ra_bmp {cache}/dtemp.hdr {home}/.bashrc#NULL",
        "40029#/C ra_bmp -r {home}/secret.hdr {home}/.bashrc#NULL",
        "40029#/C ra_tiff -r {home}/secret.hdr {cache}/dtempo.hdr#NULL",
        "40003#/C ra_gif {cache}/dtemp.hdr {home}/.bashrc#NULL",
        "40003#/C tm_linear -i {cache}/dtemp.hdr -o {home}/.bashrc#NULL",
        "40003#/C ReinhardTM -i {cache}/dtemp.hdr -o {home}/.bashrc#NULL",
        "40033#/C evalglare -c {home}/.bashrc -x {cache}/dtemp.hdr#NULL",
        // Programs that read a file named as an argument.
        "40015#/C getinfo {home}/secret.txt > {cache}/dtempo.hdr#NULL",
        "40036#/C getinfo - < {home}/secret.hdr>> {cache}/header#NULL",
        "40004#/C pcompos -x 8 -y 6 {home}/secret.hdr -0 -0 > {cache}/dtempo.hdr#NULL",
        // Pipes that chain them.
        "40018#/C pfilt -1 -e 2 {cache}/dtemp.hdr | pflip -c -h - {home}/.bashrc#2",
        "40015#/C getinfo {home}/secret.txt | pcomb -e \"ro=ri(1)\" - > {cache}/dtempo.hdr#NULL",
        // Options slipped in where a file belongs.
        "40035#/C pcomb -e \"ro=ri(1)\" -h {cache}/dtemp.hdr > {cache}/dtempo.hdr#NULL",
        "40015#/C pflip -c -h {cache}/dtemp.hdr -o{home}/.bashrc#NULL",
        "40029#/C pcomb -e \"ro=ri(2)\" -o {cache}/dtemp.hdr -x {cache}/dtempo.hdr#NULL",
        "40018#/C pfilt -1 -e -2 {cache}/dtemp.hdr > {cache}/dtempo.hdr#2",
    };
    const auto home_before = contents_of(home.path());
    for (const std::string& attack : attacks) {
        SCOPED_TRACE(attack);
        for (const auto& entry : fs::directory_iterator(pictures.path()))
            if (entry.path().filename() != "a.hdr") fs::remove(entry.path());
        host.commands.clear();
        const ReplayReport report = replay({attack, flip});
        EXPECT_EQ(report.lines_left_out, 1);
        ASSERT_FALSE(report.notes.empty());
        EXPECT_EQ(report.notes[0].rfind("Line 1 refused", 0), 0u) << report.notes[0];
        EXPECT_FALSE(report.complete());
        EXPECT_EQ(replay_summary(report).rfind("Work incomplete: 1 lines of the sequence were not replayed.", 0), 0u);
        ASSERT_EQ(host.commands.size(), 1u) << "only the flip ran";
        EXPECT_EQ(host.commands[0].rfind("/C pflip -c -h ", 0), 0u);
        EXPECT_EQ(contents_of(home.path()), home_before) << "nothing outside the picture folder changed";
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(pictures.path())) names.push_back(entry.path().filename());
        std::sort(names.begin(), names.end());
        EXPECT_EQ(names, (std::vector<std::string>{"1-a.hdr", "a.hdr"}));
        EXPECT_EQ(read_file(pictures / "1-a.hdr").find("password"), std::string::npos);
    }
    EXPECT_FALSE(fs::exists(cache / "dtempo.hdr"));
    EXPECT_FALSE(fs::exists(cache / "header"));
}

// A byte-order mark hid the exposure line's number, and the recorded factor
// then applied to every picture whatever its exposure.
TEST_F(ReplayAttacks, AByteOrderMarkDoesNotHideTheFirstLine) {
    write_file(seq / "bom.seq", with_places("\xEF\xBB\xBF" "40018#/C pfilt -1 -e 12 {cache}/dtemp.hdr > "
                                            "{cache}/dtempo.hdr#2\r\n"));
    const auto report = replay_sequence((seq / "bom.seq").string(), pictures.str(), cache.str(), host, false);
    ASSERT_TRUE(report.ok());
    EXPECT_TRUE(report.value().complete()) << replay_summary(report.value());
    ASSERT_EQ(host.commands.size(), 1u);
    EXPECT_EQ(host.commands[0].rfind("/C pfilt -1 -e 4 ", 0), 0u) << host.commands[0];
    EXPECT_FLOAT_EQ(read_picture_exposure((pictures / "1-a.hdr").string()).value(), 2.0f);
}

TEST_F(ReplayAttacks, RefusesSequenceFilesBeyondTheirLimitsBeforeAnyPicture) {
    const std::string line = with_places(flip) + "\r\n";
    std::string big;
    while (big.size() <= max_sequence_bytes) big += line;
    write_file(seq / "big.seq", big);
    auto report = replay_sequence((seq / "big.seq").string(), pictures.str(), cache.str(), host, false);
    ASSERT_FALSE(report.ok());
    EXPECT_EQ(report.failure().message, "The sequence file " + (seq / "big.seq").string() +
                                            " is larger than 1 MB; a recorded sequence is far smaller, so it was "
                                            "not replayed.");

    std::string many;
    for (size_t i = 0; i <= max_sequence_lines; ++i) many += "\n";
    write_file(seq / "many.seq", with_places(flip) + many);
    report = replay_sequence((seq / "many.seq").string(), pictures.str(), cache.str(), host, false);
    ASSERT_FALSE(report.ok());
    EXPECT_NE(report.failure().message.find("has more than 10000 lines"), std::string::npos);

    ASSERT_EQ(mkfifo((seq / "fifo.seq").c_str(), 0600), 0);
    report = replay_sequence((seq / "fifo.seq").string(), pictures.str(), cache.str(), host, false);
    ASSERT_FALSE(report.ok());
    EXPECT_EQ(report.failure().message, "The sequence file " + (seq / "fifo.seq").string() + " is not a regular file.");

    EXPECT_TRUE(host.commands.empty());
    EXPECT_FALSE(fs::exists(pictures / "1-a.hdr"));

    // At the limits the file is read.
    std::string most;
    for (size_t i = 1; i < max_sequence_lines; ++i) most += "\r\n";
    write_file(seq / "most.seq", with_places(flip) + most);
    EXPECT_TRUE(replay_sequence((seq / "most.seq").string(), pictures.str(), cache.str(), host, false).ok());
}

TEST_F(ReplayAttacks, ControlCharactersInLinesAndNamesAreShownEscaped) {
    write_macro_picture(pictures / "b\x1b[2J.hdr", 8, 6);
    write_macro_picture(pictures / "c\x1b" "d.hdr", 8, 6);
    fs::remove(pictures / "a.hdr");
    const ReplayReport report = replay({"40015#/C pflip -c -h {cache}/dtemp.hdr \x1b]0;owned\x07#NULL", flip,
                                        "40013#/C protate  {cache}/dtemp.hdr {cache}/dtempo.hdr#NULL"});
    const std::string summary = replay_summary(report);
    EXPECT_EQ(summary.find('\x1b'), std::string::npos) << summary;
    EXPECT_EQ(summary.find('\x07'), std::string::npos);
    EXPECT_NE(summary.find("\\x1b]0;owned\\x07"), std::string::npos) << summary;
    EXPECT_NE(summary.find("b\\x1b[2J.hdr: its path holds"), std::string::npos) << summary;
    EXPECT_EQ(report.pictures_processed, 1) << "a name with a control character is still a file name";
    EXPECT_TRUE(fs::exists(pictures / "2-c\x1b" "d.hdr"));
}

// Links planted in the picture folder under the names of a step's files are
// removed, never written through.
TEST_F(ReplayAttacks, LinksUnderTheNamesOfStepFilesAreNotFollowed) {
    std::vector<uint8_t> bgr(8 * 6 * 3, 255);
    ASSERT_TRUE(write_bmp24((seq / "m.bmp").string(), 8, 6, bgr));
    fs::create_symlink(home / ".bashrc", pictures / "1-a.hdr");
    fs::create_symlink(home / ".bashrc", pictures / "1-a.hdr.mask");
    fs::create_symlink(home / ".bashrc", pictures / "2-a.hdr.header");
    const auto before = contents_of(home.path());
    const ReplayReport report = replay(
        {"40029#/C ra_bmp -r " + (seq / "m.bmp").string() + " {cache}/dmask.hdr#NULL",
         "40029#/C pcomb -e \"ro=if(ri(1)-0.5,ri(2),0);go=if(gi(1)-0.5,gi(2),0);bo=if(bi(1)-0.5,bi(2),0)\" "
         "{cache}/dmask.hdr {cache}/dtemp.hdr > {cache}/dtempo.hdr#NULL",
         "40036#/C getinfo - < {cache}/dtemp.hdr>> {cache}/header#NULL",
         "40036#/C pinterp  -vf {cache}/header -vth  -x 8 -y 6 -ff {cache}/header 1 > {cache}/dtempo.hdr#NULL"});
    EXPECT_TRUE(report.complete()) << replay_summary(report);
    EXPECT_EQ(contents_of(home.path()), before);
    EXPECT_FALSE(fs::is_symlink(pictures / "1-a.hdr"));
    EXPECT_FALSE(fs::exists(fs::symlink_status(pictures / "1-a.hdr.mask")));
    EXPECT_FALSE(fs::exists(fs::symlink_status(pictures / "2-a.hdr.header")));
    EXPECT_TRUE(fs::exists(pictures / "2-a.hdr"));
}

// An operand that leads into the cache by a link is a cache file.
TEST_F(ReplayAttacks, AnOperandLinkedIntoTheCacheIsRefused) {
    write_macro_picture(cache / "dtemp.hdr", 8, 6);
    fs::create_symlink(cache / "dtemp.hdr", home / "innocent.hdr");
    EXPECT_EQ(outside_file_problem((home / "innocent.hdr").string(), cache.str()),
              (home / "innocent.hdr").string() + " lies in the cache folder");
    fs::create_symlink(home.path(), home / "folder.hdr");
    EXPECT_EQ(outside_file_problem((home / "folder.hdr").string(), cache.str()),
              (home / "folder.hdr").string() + " is not a regular file");
    EXPECT_EQ(outside_file_problem((home / "secret.hdr").string(), cache.str()), "");
}
