// The series jobs through a real Slurm: a one-machine cluster started by
// scripts/cluster/slurm-single-node, an array job of
// scripts/cluster/series.slurm, and the parts collected into the bytes a
// plain run writes. Skipped, with the reason, where the daemons cannot be
// started (not installed, not root).

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "cli/cli.h"
#include "support/day_series.h"
#include "support/temp_folder.h"

namespace {

// The output of a shell command and its exit status.
std::pair<int, std::string> shell(const std::string& command) {
    std::string text;
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (!pipe) return {-1, ""};
    char buffer[512];
    while (size_t n = fread(buffer, 1, sizeof buffer, pipe)) text.append(buffer, n);
    const int status = pclose(pipe);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, text};
}

int series(const std::vector<std::string>& words, const std::string& cache, std::string* err = nullptr) {
    std::ostringstream out, errors;
    const int status = run_cli(words, series_places(cache), out, errors, false);
    if (err) *err = errors.str();
    return status;
}

class SingleNodeSlurm {
public:
    explicit SingleNodeSlurm(std::string state) : state_(std::move(state)) {
        const auto [status, text] = shell(script() + " start " + state_);
        started_ = status == 0;
        why_ = text;
    }
    ~SingleNodeSlurm() { shell(script() + " stop " + state_); }
    bool started() const { return started_; }
    const std::string& why() const { return why_; }
    std::string conf() const { return state_ + "/slurm.conf"; }

private:
    static std::string script() { return std::string(CANDELUX_SOURCE_DIR) + "/scripts/cluster/slurm-single-node"; }
    std::string state_;
    bool started_ = false;
    std::string why_;
};

TEST(SeriesOnSlurm, AnArrayJobOfTheEmittedJobsCollectsToThePlainRunsBytes) {
    TempFolder work;
    ASSERT_EQ(write_day_series(work.path() / "day", 12, 32).size(), 12u);
    const std::string day = (work.path() / "day").string(), plain = (work.path() / "plain.csv").string(),
                      csv = (work.path() / "slurm.csv").string();
    std::string err;
    ASSERT_EQ(series({"series", day, "--csv", plain, "--glare", day_glare_options}, work.str(), &err), 0) << err;

    const SingleNodeSlurm slurm(work.str() + "/slurm");
    if (!slurm.started()) GTEST_SKIP() << "no Slurm daemons here: " << slurm.why();
    // A machine whose daemons start may still not run jobs (no cgroups, a
    // container without the user's name): a job that does nothing tells,
    // and only then is a failure of ours.
    const auto [probe, probe_text] =
        shell("cd " + work.str() + " && SLURM_CONF=" + slurm.conf() + " timeout 30 sbatch --wait --wrap true");
    if (probe != 0) GTEST_SKIP() << "this Slurm runs no jobs: " << probe_text;

    std::ostringstream jobs, errors;
    ASSERT_EQ(run_cli({"series", day, "--glare", day_glare_options, "--emit-jobs", "--chunk", "4", "--csv", csv},
                      series_places(work.str()), jobs, errors, false),
              0)
        << errors.str();
    write_file(work / "jobs.txt", jobs.str());
    const std::string submit = "cd " + work.str() + " && SLURM_CONF=" + slurm.conf() + " XDG_CACHE_HOME=" + work.str() +
                               " XDG_CONFIG_HOME=" + work.str() + " timeout 50 sbatch --wait --array=1-3 " +
                               CANDELUX_SOURCE_DIR + "/scripts/cluster/series.slurm jobs.txt";
    const auto [status, text] = shell(submit);
    ASSERT_EQ(status, 0) << text;
    ASSERT_EQ(series({"series", "--collect", csv + ".part-1", csv + ".part-2", csv + ".part-3", "--csv", csv},
                     work.str(), &err),
              0)
        << err;
    EXPECT_EQ(read_file(csv), read_file(plain));
}

}  // namespace
