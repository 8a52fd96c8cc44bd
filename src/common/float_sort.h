#pragma once
// Sorting millions of positive floats (luminance samples) in ascending order.
//
// For positive floats the order of the values is the order of their bit
// patterns read as unsigned integers, and equal values have equal patterns,
// so a radix sort over the patterns gives exactly what std::sort gives. The
// passes run on every core: each thread counts and moves its own part of the
// array, the parts taken in order, so the result does not depend on how the
// work was shared.

#include <span>

// Sorts ascending. Every value must be above 0 (not NaN); returns false and
// leaves the values as they were otherwise.
bool sort_positive_floats(std::span<float> values);
