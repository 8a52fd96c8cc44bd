// getinfo's printed header as the header dialog and the projection's header
// rewrite take it apart, and the dialog's text written back.

#include <string>
#include <string_view>

#include "common/numeric_edit.h"
#include "common/unsigned_field.h"
#include "tools/header_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto lines = header_lines_of(text);
    (void)projection_header(lines, 1.5f);
    (void)header_file_text(header_edit_text(text));
    (void)parse_unsigned_field(text);
    (void)read_numeric_edit(text, static_cast<int>(size % 17));
    (void)parse_numeric_field(text);
    return 0;
}
