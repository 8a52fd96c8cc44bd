#pragma once
// Small JPEG and TIFF pictures made by the tests, without EXIF data.

#include <cstdint>
#include <filesystem>
#include <functional>

// code(x, y, channel) gives each sample.
using SampleCode = std::function<int(int x, int y, int channel)>;

void write_test_jpeg(const std::filesystem::path& path, int width, int height, const SampleCode& code);
void write_test_tiff(const std::filesystem::path& path, int width, int height, int bits, const SampleCode& code);
