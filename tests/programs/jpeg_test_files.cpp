#include "jpeg_test_files.h"

#include <csetjmp>
#include <cstdio>
#include <memory>

#include <jpeglib.h>

namespace {

struct ErrorJump {
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

[[noreturn]] void jump_back(j_common_ptr info) { std::longjmp(reinterpret_cast<ErrorJump*>(info->err)->jump, 1); }

void quiet(j_common_ptr, int) {}

bool decode(std::FILE* file, DecodedJpeg& out) {
    jpeg_decompress_struct info;
    ErrorJump errors;
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = jump_back;
    errors.base.emit_message = quiet;
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_stdio_src(&info, file);
    jpeg_read_header(&info, TRUE);
    out.components = info.num_components;
    out.jfif = info.saw_JFIF_marker;
    out.progressive = info.progressive_mode;
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    out.width = static_cast<int>(info.output_width);
    out.height = static_cast<int>(info.output_height);
    out.rgb.resize(3 * static_cast<size_t>(out.width) * out.height);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = out.rgb.data() + 3 * static_cast<size_t>(out.width) * info.output_scanline;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

}  // namespace

double DecodedJpeg::mean(int channel, int x0, int y0, int x1, int y1) const {
    double sum = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) sum += at(x, y)[channel];
    return sum / (double(x1 - x0) * double(y1 - y0));
}

DecodedJpeg decode_jpeg(const std::filesystem::path& path) {
    DecodedJpeg out;
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), std::fclose);
    if (!file) return out;
    out.ok = decode(file.get(), out);
    return out;
}
