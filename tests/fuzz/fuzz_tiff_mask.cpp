// TIFF masks as ra_tiff -r reads them, written out as a picture.

#include <tiffio.h>

#include "fuzz_support.h"
#include "lib/tiff_conversion.h"

namespace {
// libtiff reports every oddity of a damaged file; a fuzzer has no use for them.
void quiet(const char*, const char*, va_list) {}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool silenced = [] {
        TIFFSetWarningHandler(quiet);
        TIFFSetErrorHandler(quiet);
        return true;
    }();
    (void)silenced;
    TiffOptions options;
    options.command = "ra_tiff -r";
    options.input = fuzz_input_file(data, size, ".tif");
    options.output = fuzz_input_file(nullptr, 0, "-out.hdr");
    (void)tiff_to_picture(options);
    return 0;
}
