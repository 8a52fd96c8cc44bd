// rcalc piped into histo as the statistics run them: log10 of the values
// above 1e-7, counted into equal bins.

#include <gtest/gtest.h>

#include <sstream>

#include "program_run.h"
#include "support/temp_folder.h"

namespace {

const char* const log_expression = "rcalc -e 'L=$1;cond=L-1e-7;$1=log10(L)' ";

std::vector<std::string> lines_of(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

TEST(Rcalc, WritesTheLogarithmOfEveryValueAboveTheThreshold) {
    TempFolder folder;
    write_file(folder / "pvalues", "0.500000\n1.000000\n100.000000\n");
    const auto run = run_in(folder, std::string(log_expression) + "pvalues");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "-0.301029996\n0\n2\n");
    EXPECT_EQ(run.err, "");
}

TEST(Rcalc, DropsValuesNotAboveOneTenMillionth) {
    TempFolder folder;
    write_file(folder / "pvalues", "0.000000\n1e-07\n1.01e-07\n-5\n0.000000\n123.5\n123.5\n");
    const auto run = run_in(folder, std::string(log_expression) + "pvalues");
    EXPECT_EQ(run.out, "-6.99567863\n2.09166696\n2.09166696\n");
}

TEST(Rcalc, ReadsFieldsAndWritesSeveralOutputs) {
    TempFolder folder;
    write_file(folder / "in", "1 2 3\n  4\t5\n7 word 9\n");
    const auto run = run_in(folder, "rcalc -e '$1=$3;$2=$1+$2' < in");
    EXPECT_EQ(run.out, "3\t3\n0\t9\n9\t7\n");
}

TEST(Rcalc, ReportsAMissingFileAndAnExpressionTheShellHasEmptied) {
    TempFolder folder;
    const auto missing = run_in(folder, std::string(log_expression) + "nosuch");
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, "nosuch: cannot open\n");
    write_file(folder / "pvalues", "1\n");
    // Double quotes let /bin/sh expand $1 to nothing.
    const auto emptied = run_in(folder, "rcalc -e \"L=$1;cond=L-1e-7;$1=log10(L)\" pvalues");
    EXPECT_EQ(emptied.status, 1);
    EXPECT_EQ(emptied.out, "");
    EXPECT_EQ(emptied.err, "L=;cond=L-1e-7;=log10(L)\n  ^ unexpected character\n");
}

TEST(Histo, CountsThePipedLogarithmsIntoTheDocumentedBins) {
    TempFolder folder;
    write_file(folder / "pvalues", "0.500000\n1.000000\n100.000000\n");
    const auto run = run_in(folder, std::string(log_expression) + "pvalues | histo -0.31103 2.01 256");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    const auto lines = lines_of(run.out);
    ASSERT_EQ(lines.size(), 256u);
    EXPECT_EQ(lines[0], "-0.306497\t0");
    EXPECT_EQ(lines[1], "-0.29743\t1");
    EXPECT_EQ(lines[34], "0.00176506\t1");
    EXPECT_EQ(lines[254], "1.9964\t1");
    int total = 0;
    for (const auto& line : lines) total += std::stoi(line.substr(line.find('\t') + 1));
    EXPECT_EQ(total, 3);

    const auto four = run_in(folder, std::string(log_expression) + "pvalues | histo -0.31103 2.01 4");
    EXPECT_EQ(four.out, "-0.0209012\t2\n0.559356\t0\n1.13961\t0\n1.71987\t1\n");
}

TEST(Histo, IgnoresValuesAtOrOutsideTheLimitsAndCountsEachColumn) {
    TempFolder folder;
    write_file(folder / "in", "0 1\n0.5 2.5\n1 9.99\n9.9 -1\n10 5\n");
    const auto run = run_in(folder, "histo 0 10 2 < in");
    EXPECT_EQ(run.out, "2.5\t2\t2\n7.5\t1\t2\n");
}

TEST(Histo, PrintsBareCentresWithoutInput) {
    TempFolder folder;
    EXPECT_EQ(run_in(folder, "histo 0 1 4 < /dev/null").out, "0.125\n0.375\n0.625\n0.875\n");
}

TEST(Histo, RefusesBadLimitsAndTooManyBins) {
    TempFolder folder;
    const auto many = run_in(folder, "histo 0 1 1025 < /dev/null");
    EXPECT_EQ(many.status, 1);
    EXPECT_EQ(many.out, "");
    const auto lines = lines_of(many.err);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "histo: maximum number of divisions: 1024");
    EXPECT_EQ(lines[1].rfind("Usage: histo", 0), 0u);
    const auto reversed = run_in(folder, "histo 2 1 10 < /dev/null");
    EXPECT_EQ(reversed.status, 1);
    EXPECT_EQ(lines_of(reversed.err).size(), 2u);
}

}  // namespace
