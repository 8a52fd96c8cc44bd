#pragma once
// Large buffers (a luminance map is tens to hundreds of megabytes) are
// filled page by page on first touch; with 4 KiB pages that is one fault per
// 1024 floats and a large share of the time taken to read a picture. Asking
// for huge pages where the system offers them on request makes it one fault
// per 2 MiB. Nothing changes where they are not offered.

#include <cstddef>

// Advises the system that the whole 2 MiB pages inside [data, data + bytes)
// are worth backing with huge pages. Call before the memory is first written.
void advise_huge_pages(void* data, size_t bytes);

// Makes the pages of [data, data + bytes) present and writable at once (the
// system clears each new page on its first touch), so that one thread can
// take that work off the threads that will fill the buffer. The contents
// stay as they are; where the system cannot, pages come on first touch.
void populate_pages(void* data, size_t bytes);
