#pragma once
// Small helpers shared by the fuzz targets.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Writes the input to a file of this process (the same path every call, in
// $TMPDIR or /tmp) and returns its path; for readers that take a path.
std::string fuzz_input_file(const uint8_t* data, size_t size, const std::string& suffix);

// The input cut into lines at LF (a CR before it kept, as file readers see it).
std::vector<std::string> fuzz_lines(const uint8_t* data, size_t size);
