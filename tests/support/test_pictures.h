#pragma once
// JPEG and TIFF pictures made by the tests and benchmarks, without EXIF data
// unless a JPEG is given its APP1 block.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

// code(x, y, channel) gives each sample.
using SampleCode = std::function<int(int x, int y, int channel)>;

// quality: libjpeg's 0 to 100; exif: the APP1 marker's body ("" for none).
void write_test_jpeg(const std::filesystem::path& path, int width, int height, const SampleCode& code,
                     int quality = 95, const std::string& exif = "");
void write_test_tiff(const std::filesystem::path& path, int width, int height, int bits, const SampleCode& code);
