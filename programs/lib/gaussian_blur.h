#pragma once
// A normalised Gaussian blur of a single-channel float image, separable,
// with the image's edge values repeated beyond its borders.
//
// The kernel is the sampled Gaussian out to three standard deviations (at
// least one pixel each side), divided by its sum, so a uniform image stays
// exactly uniform up to rounding.

#include <vector>

// Blurs `in` (height rows of width values) into `out` (resized to match).
void gaussian_blur(const std::vector<float>& in, int width, int height, double sigma, std::vector<float>& out);

// The normalised kernel, 2 * radius + 1 weights.
std::vector<float> gaussian_kernel(double sigma);
