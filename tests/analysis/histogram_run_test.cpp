// The histogram of log10 luminance through rcalc | histo: the range, the
// command line, the check of histo's table, and bins equal to those of
// histo's own rule applied to the same samples.

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <random>

#include "analysis/histogram_run.h"
#include "analysis/sample_file.h"
#include "macro/macro_recorder.h"
#include "support/scripted_desktop.h"
#include "support/temp_folder.h"
#include "tools/process_runner.h"

namespace {

std::string table(int lines, const char* end = "\n") {
    std::string out;
    for (int i = 0; i < lines; ++i) out += std::to_string(i) + ".5\t" + std::to_string(i % 7) + end;
    return out;
}

// What histo counts for these samples: each as pvalues prints it, its log10
// as rcalc prints it (%.9g), binned by trunc(n (d - lo) / (hi - lo)).
std::vector<long> expected_bins(const std::vector<float>& samples, const HistogramRange& range) {
    const double lo = std::stod(range.lo), hi = std::stod(range.hi);
    std::vector<long> bins(256, 0);
    for (float sample : samples) {
        std::string printed;
        append_fixed6(printed, sample);
        const double value = std::stod(printed);
        if (!(value - 1e-7 > 0)) continue;
        char text[64];
        std::snprintf(text, sizeof text, "%.9g", std::log10(value));
        const double d = std::stod(text);
        if (d <= lo || d >= hi) continue;
        const int bin = static_cast<int>(256.0 * (d - lo) / (hi - lo));
        if (bin < 256) ++bins[static_cast<size_t>(bin)];
    }
    return bins;
}

class HistogramThroughPrograms : public ::testing::Test {
protected:
    std::optional<LuminanceHistogram> run(const std::vector<float>& samples, HistogramRange range) {
        const std::string path = (folder / "pvalues").string();
        if (!write_sample_file(path, samples)) return std::nullopt;
        const ProcessOutput output = runner.run(histogram_command(path, range), true);
        desktop.close_progress();
        EXPECT_TRUE(output.started);
        return parse_histogram(output.text);
    }

    TempFolder folder;
    ScriptedDesktop desktop;
    MacroRecorder recorder;
    ProcessRunner runner{desktop, recorder};
    void SetUp() override { runner.set_program_folder(CANDELUX_PROGRAMS_DIR); }
};

TEST(HistogramRun, TheRangeReachesAHundredthBeyondTheSamplesInLogTen) {
    const HistogramRange range = histogram_range(0.5f, 100.0f);
    EXPECT_EQ(range.lo, "-0.31103");
    EXPECT_EQ(range.hi, "2.01");
    EXPECT_EQ(histogram_range(2000.0f, 1234567.0f).hi, "6.10151");
    // Near 1 cd/m² the lower end is tiny and printed in exponent form.
    EXPECT_NE(histogram_range(1.02329f, 10.0f).lo.find("e-0"), std::string::npos);
}

TEST(HistogramRun, TheCommandLineSingleQuotesRcalcsFieldNames) {
    EXPECT_EQ(histogram_command("/home/u/.cache/candelux/pvalues", {"-0.31103", "2.01"}),
              "/C rcalc -e 'L=$1;cond=L-1e-7;$1=log10(L)' /home/u/.cache/candelux/pvalues | histo -0.31103 2.01 256");
}

TEST(HistogramRun, HistosTableIsReadWithEitherLineEnd) {
    for (const char* end : {"\n", "\r\n"}) {
        const auto histogram = parse_histogram(table(256, end));
        ASSERT_TRUE(histogram) << (end[0] == '\r' ? "CR LF" : "LF");
        EXPECT_EQ((*histogram)[0].centre, 0.5f);
        EXPECT_EQ((*histogram)[255].centre, 255.5f);
        EXPECT_EQ((*histogram)[13].count, 6.0f);
    }
    std::string no_last_end = table(256);
    no_last_end.pop_back();
    EXPECT_TRUE(parse_histogram(no_last_end));
}

TEST(HistogramRun, AnythingButTwoHundredFiftySixLinesOfTwoNumbersIsNotAHistogram) {
    EXPECT_FALSE(parse_histogram(""));
    EXPECT_FALSE(parse_histogram(table(255)));
    EXPECT_FALSE(parse_histogram(table(257)));
    EXPECT_FALSE(parse_histogram(table(256) + "histo: write error\n"));
    // Bare centres: what histo prints when rcalc gave it nothing.
    std::string centres;
    for (int i = 0; i < 256; ++i) centres += std::to_string(i) + ".5\n";
    EXPECT_FALSE(parse_histogram(centres));
    std::string bad = table(256);
    bad.replace(bad.find("3.5\t3"), 5, "3.5\tx");
    EXPECT_FALSE(parse_histogram(bad));
    EXPECT_FALSE(parse_histogram("rcalc: pvalues: cannot open\n" + table(255)));
}

TEST_F(HistogramThroughPrograms, ThreeSamplesFallInTheirDocumentedBins) {
    const std::vector<float> samples = {0.5f, 1.0f, 100.0f};
    const auto histogram = run(samples, histogram_range(0.5f, 100.0f));
    ASSERT_TRUE(histogram);
    for (int i = 0; i < 256; ++i) {
        const float expected = (i == 1 || i == 34 || i == 254) ? 1.0f : 0.0f;
        EXPECT_EQ((*histogram)[static_cast<size_t>(i)].count, expected) << "bin " << i;
    }
    EXPECT_FLOAT_EQ((*histogram)[0].centre, -0.306497f);
}

TEST_F(HistogramThroughPrograms, EveryBinEqualsHistosRuleAppliedToTheSameSamples) {
    std::mt19937 random(21);
    std::uniform_real_distribution<double> exponent(-5.5, 5.5);
    std::vector<float> samples;
    for (int i = 0; i < 20000; ++i) samples.push_back(static_cast<float>(std::pow(10.0, exponent(random))));
    samples.push_back(2e-6f);  // prints as 0.000002
    samples.push_back(3e-6f);
    std::sort(samples.begin(), samples.end());
    const HistogramRange range = histogram_range(samples.front(), samples.back());
    const auto histogram = run(samples, range);
    ASSERT_TRUE(histogram);
    const std::vector<long> expected = expected_bins(samples, range);
    long total = 0;
    for (int i = 0; i < 256; ++i) {
        EXPECT_EQ((*histogram)[static_cast<size_t>(i)].count, static_cast<float>(expected[static_cast<size_t>(i)]))
            << "bin " << i;
        total += expected[static_cast<size_t>(i)];
    }
    EXPECT_EQ(total, static_cast<long>(samples.size()));
}

TEST_F(HistogramThroughPrograms, ValuesOnBinEdgesLandInTheBinAbove) {
    // lo = -0.01, hi = 2.55: bins of a hundredth in log10, so the samples
    // 10^0.5, 10^1 and 10^2 lie on bin edges, up to rounding.
    std::vector<float> samples = {1.0f, 3.16227766f, 10.0f, 100.0f, 346.737f};
    const HistogramRange range = histogram_range(samples.front(), samples.back());
    const auto histogram = run(samples, range);
    ASSERT_TRUE(histogram);
    const std::vector<long> expected = expected_bins(samples, range);
    for (int i = 0; i < 256; ++i)
        EXPECT_EQ((*histogram)[static_cast<size_t>(i)].count, static_cast<float>(expected[static_cast<size_t>(i)]))
            << "bin " << i;
}

}  // namespace
