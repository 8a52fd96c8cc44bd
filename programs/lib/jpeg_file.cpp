#include "lib/jpeg_file.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>

#include "lib/file_handle.h"

namespace {

// libjpeg reports a fatal error by calling error_exit, whose default ends the
// process; ours jumps back to the encoder instead.
struct JumpingErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

[[noreturn]] void jump_back(j_common_ptr info) {
    std::longjmp(reinterpret_cast<JumpingErrorManager*>(info->err)->jump, 1);
}

void stay_silent(j_common_ptr, int) {}

// Plain C state only between setjmp and longjmp: no destructor is skipped.
bool encode_into(const DisplayImage& image, int quality, unsigned char** bytes, unsigned long* size) {
    jpeg_compress_struct info;
    JumpingErrorManager errors;
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = jump_back;
    errors.base.emit_message = stay_silent;
    if (setjmp(errors.jump)) {
        jpeg_destroy_compress(&info);
        return false;
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, bytes, size);
    info.image_width = static_cast<JDIMENSION>(image.width);
    info.image_height = static_cast<JDIMENSION>(image.height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    // Full-resolution colour: small pictures and sharp coloured edges keep
    // their look, at a modest cost in size.
    for (int c = 0; c < info.num_components; ++c) {
        info.comp_info[c].h_samp_factor = 1;
        info.comp_info[c].v_samp_factor = 1;
    }
    jpeg_start_compress(&info, TRUE);
    const size_t stride = 3 * static_cast<size_t>(image.width);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(image.rgb.data() + stride * info.next_scanline);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return true;
}

}  // namespace

std::vector<uint8_t> encode_jpeg(const DisplayImage& image, int quality) {
    if (image.width <= 0 || image.height <= 0 || image.rgb.size() != 3 * size_t(image.width) * size_t(image.height))
        return {};
    unsigned char* bytes = nullptr;
    unsigned long size = 0;
    const bool ok = encode_into(image, quality, &bytes, &size);
    std::vector<uint8_t> out;
    if (ok && bytes) out.assign(bytes, bytes + size);
    std::free(bytes);
    return out;
}

bool write_jpeg(const std::string& path, const DisplayImage& image, int quality) {
    const auto bytes = encode_jpeg(image, quality);
    if (bytes.empty()) return false;
    FileHandle file = open_file(path, "wb");
    if (!file) return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size();
    ok = std::fclose(file.release()) == 0 && ok;
    if (!ok) std::remove(path.c_str());
    return ok;
}
