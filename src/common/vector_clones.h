#pragma once
// Hot loops compiled for the machine's widest vectors where the compiler can
// choose at load time: every lane does the same IEEE steps (no fused
// multiply-add is enabled), so the result is the same bit for bit.

#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
#define CANDELUX_VECTOR_CLONES __attribute__((target_clones("avx2", "default")))
#else
#define CANDELUX_VECTOR_CLONES
#endif
