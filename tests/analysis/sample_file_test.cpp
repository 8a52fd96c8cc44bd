// The sample file rcalc reads: "%f" and a bare line feed per sample.

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>

#include "analysis/sample_file.h"
#include "common/text_format.h"
#include "support/comma_locale.h"
#include "support/temp_folder.h"

namespace {

std::string fixed6(float value) {
    std::string out;
    append_fixed6(out, value);
    return out;
}

TEST(SampleFile, NumbersReadAsPrintfWritesThem) {
    EXPECT_EQ(fixed6(0.5f), "0.500000");
    EXPECT_EQ(fixed6(2000.0f), "2000.000000");
    EXPECT_EQ(fixed6(1e-6f), "0.000001");
    // Exact ties between two printed values round as printf rounds them.
    EXPECT_EQ(fixed6(1.0f / 128.0f), strprintf("%f", 1.0 / 128.0));
    EXPECT_EQ(fixed6(3.0f / 128.0f), strprintf("%f", 3.0 / 128.0));
    for (int k = 1; k < 2000; k += 2)  // every odd multiple of 2^-7 up to 16 ends in an exact tie
        ASSERT_EQ(fixed6(static_cast<float>(k) / 128.0f), strprintf("%f", static_cast<double>(k) / 128.0)) << k;
    EXPECT_EQ(fixed6(0.0f), "0.000000");
    EXPECT_EQ(fixed6(8.796093e12f), strprintf("%f", static_cast<double>(8.796093e12f)));
    EXPECT_EQ(fixed6(std::numeric_limits<float>::max()),
              strprintf("%f", static_cast<double>(std::numeric_limits<float>::max())));
    std::mt19937 random(5);
    std::uniform_int_distribution<uint32_t> bits(0x2b000000u, 0x7f000000u);  // 4.5e-13 .. 1.7e38
    for (int i = 0; i < 400000; ++i) {
        const uint32_t pattern = bits(random);
        float value;
        std::memcpy(&value, &pattern, sizeof value);
        ASSERT_EQ(fixed6(value), strprintf("%f", static_cast<double>(value))) << pattern;
    }
}

TEST(SampleFile, NumbersKeepTheirPointUnderACommaLocale) {
    const CommaLocale comma;
    SKIP_WITHOUT_COMMA_LOCALE(comma);
    EXPECT_EQ(fixed6(2.5f), "2.500000");
}

TEST(SampleFile, OneSamplePerLineWithABareLineFeed) {
    TempFolder folder;
    const std::string path = (folder / "pvalues").string();
    write_file(path, "old content that must go\n");
    ASSERT_TRUE(write_sample_file(path, std::vector<float>{0.5f, 1.0f, 100.0f}));
    EXPECT_EQ(read_file(path), "0.500000\n1.000000\n100.000000\n");
}

TEST(SampleFile, AFileThatCannotBeCreatedIsReported) {
    TempFolder folder;
    EXPECT_FALSE(write_sample_file((folder / "missing/pvalues").string(), std::vector<float>{1.0f}));
}

}  // namespace
