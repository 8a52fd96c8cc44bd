// Number reading and writing for rcalc and histo agree with strtod and
// printf exactly.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

#include "lib/text_stream.h"

namespace {

std::string printf_general(double v, int precision) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*g", precision, v);
    return text;
}

std::string ours(double v, int precision) {
    char text[64];
    return std::string(text, write_general(text, v, precision));
}

TEST(TextStream, WritesNumbersAsPrintfGeneralFormat) {
    std::mt19937_64 random(3);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    std::uniform_int_distribution<int> power(-40, 40);
    std::vector<double> values = {0.0, -0.0, 1.0, -1.0, 0.5, 1e-5, 0.0001, 123456789.0, 999999999.5, 999999998.5,
                                  1e9, 1e100, 1.5e-300, 0.30102999566398120, -0.301029996, 2.0, 1e21, 1e23,
                                  std::log10(0.5), std::log10(123.5), 0.000123456789, 12345.6789012};
    for (int i = 0; i < 200000; ++i) values.push_back((i % 3 ? 1 : -1) * unit(random) * std::pow(10.0, power(random)));
    // Exact decimal ties at nine digits must round as printf rounds them.
    for (int i = 0; i < 2000; ++i) values.push_back((100000000 + i * 37) + 0.5);
    for (const double v : values)
        for (const int precision : {9, 6, 1})
            ASSERT_EQ(ours(v, precision), printf_general(v, precision)) << std::hexfloat << v << " " << precision;
    EXPECT_EQ(ours(std::numeric_limits<double>::infinity(), 9), "inf");
}

TEST(TextStream, ReadsNumbersAsStrtodDoes) {
    std::mt19937_64 random(4);
    std::uniform_int_distribution<uint64_t> digits(0, 999999999999ULL);
    std::vector<std::string> words = {"0.500000", "1.000000", "100.000000", "-3", "+2.5", ".5", "5.", "1e-07", "1e+20",
                                      "123456789012345678901234", "0.0000000000000000000000001", "-0.0", "inf"};
    for (int i = 0; i < 100000; ++i) {
        // Whole part and fraction of varying lengths, as %f and longer.
        char text[64];
        std::snprintf(text, sizeof text, "%llu.%0*llu", static_cast<unsigned long long>(digits(random) % 1000000),
                      1 + i % 9, static_cast<unsigned long long>(digits(random) % 1000000000ULL));
        words.emplace_back(text);
    }
    for (const auto& word : words) {
        double value = -1;
        const char* end = read_number(word.data(), word.data() + word.size(), value);
        ASSERT_EQ(end, word.data() + word.size()) << word;
        ASSERT_EQ(value, std::strtod(word.c_str(), nullptr)) << word;
    }
    double value = 7;
    const std::string word = "word";
    EXPECT_EQ(read_number(word.data(), word.data() + 4, value), word.data());
}

}  // namespace
