#include "cli/cli_manual.h"

#include <gtest/gtest.h>
#include <stdio.h>

#include <array>
#include <filesystem>
#include <fstream>

#include "cli/cli.h"
#include "common/manual_page.h"

namespace {

// The words bash completes after `candelux-cli` + `typed`, through the
// generated completion script.
std::string completions(const std::string& words, int current) {
    const auto script = std::filesystem::temp_directory_path() / "candelux-cli-completion-test.bash";
    std::ofstream(script) << cli_bash_completion();
    const std::string command = "bash -c 'source " + script.string() + "; COMP_WORDS=(candelux-cli " + words +
                                "); COMP_CWORD=" + std::to_string(current) +
                                "; _candelux_cli; echo \"${COMPREPLY[*]}\"'";
    std::string out;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        std::array<char, 512> buffer{};
        while (fgets(buffer.data(), buffer.size(), pipe)) out += buffer.data();
        pclose(pipe);
    }
    std::filesystem::remove(script);
    if (!out.empty() && out.back() == '\n') out.pop_back();
    return out;
}

}  // namespace

TEST(CliManual, HasASectionWithTheHelpOfEveryCommand) {
    const std::string page = cli_manual_page();
    ASSERT_FALSE(cli_commands().empty());
    EXPECT_EQ(cli_commands().front(), "luminance");
    for (const std::string& command : cli_commands()) {
        SCOPED_TRACE(command);
        ASSERT_FALSE(cli_help(command).empty()) << "the overview lists a command without its own help";
        ManualPage alone{"x", "y", "z", {{"s", cli_help(command)}}};
        const std::string body = roff_manual_page(alone);
        const std::string help_in_roff = body.substr(body.find(".nf\n"));
        EXPECT_NE(page.find(help_in_roff), std::string::npos);
    }
    EXPECT_NE(page.find("\\-\\-version"), std::string::npos);
}

TEST(CliManual, BashCompletesCommandsThenTheCommandsOptions) {
    EXPECT_EQ(completions("st", 1), "stats");
    const std::string stats_options = completions("stats pic.hdr --re", 3);
    EXPECT_NE(stats_options.find("--rect"), std::string::npos) << stats_options;
    EXPECT_NE(stats_options.find("--report"), std::string::npos) << stats_options;
    EXPECT_NE(stats_options.find("--region-b"), std::string::npos) << stats_options;
    EXPECT_EQ(stats_options.find("--jobs"), std::string::npos) << stats_options;
    EXPECT_EQ(completions("batch s.seq dir --em", 4), "--emit-jobs");
}
