#pragma once
// How long a picture's text header may be. Radiance headers are a few lines,
// a few kilobytes even with the nested headers of every program that made
// the picture; a file whose header does not end within a megabyte is not a
// picture, and reading on would only fill memory (a text file of endless
// lines never reaches the empty line that ends a header).

#include <cstdint>

inline constexpr uint64_t max_header_bytes = uint64_t{1} << 20;
inline constexpr const char* header_too_long_text = "header too long";
