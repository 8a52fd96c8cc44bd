#pragma once
// The sample file "pvalues" that rcalc reads: one sample per line, printed
// as "%f" (six decimals, the C locale's point) and ended by a bare line feed.

#include <span>
#include <string>

// Appends value as "%f" would print it (widened to double).
void append_fixed6(std::string& out, float value);

// Writes the samples, replacing the file; false when it cannot be created or
// written completely.
bool write_sample_file(const std::string& path, std::span<const float> samples);
