#include "common/huge_pages.h"

#include <cstdint>

#if defined(__linux__)
#include <sys/mman.h>
#endif

void advise_huge_pages(void* data, size_t bytes) {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    constexpr uintptr_t huge = uintptr_t{1} << 21;
    const auto begin = reinterpret_cast<uintptr_t>(data);
    const uintptr_t first = (begin + huge - 1) & ~(huge - 1);
    const uintptr_t last = (begin + bytes) & ~(huge - 1);
    if (data == nullptr || last <= first) return;
    // Advice only: a refusal leaves ordinary pages, which work the same.
    (void)::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
#else
    (void)data;
    (void)bytes;
#endif
}

void populate_pages(void* data, size_t bytes) {
#if defined(__linux__)
#ifndef MADV_POPULATE_WRITE
#define MADV_POPULATE_WRITE 23
#endif
    constexpr uintptr_t page = 4096;
    const auto begin = reinterpret_cast<uintptr_t>(data) & ~(page - 1);
    const uintptr_t end = reinterpret_cast<uintptr_t>(data) + bytes;
    if (data == nullptr || bytes == 0) return;
    (void)::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_POPULATE_WRITE);
#else
    (void)data;
    (void)bytes;
#endif
}
