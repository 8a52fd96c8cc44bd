// View options as they come in VIEW= lines, view files and command lines.

#include <string>

#include "picture/view_options.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    (void)is_view_line(text);
    View view;
    apply_view_options(view, text);
    if (!view_problem(view)) (void)view_options_text(view);
    return 0;
}
