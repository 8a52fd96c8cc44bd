#include "support/test_pictures.h"

#include <jpeglib.h>
#include <tiffio.h>

#include <cstdio>
#include <vector>

void write_test_jpeg(const std::filesystem::path& path, int width, int height, const SampleCode& code, int quality,
                     const std::string& exif) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return;
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, file);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    if (!exif.empty())
        jpeg_write_marker(&info, JPEG_APP0 + 1, reinterpret_cast<const JOCTET*>(exif.data()),
                          static_cast<unsigned>(exif.size()));
    std::vector<JSAMPLE> row(static_cast<size_t>(width) * 3);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < 3; ++c) row[static_cast<size_t>(x) * 3 + c] = static_cast<JSAMPLE>(code(x, y, c));
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::fclose(file);
}

void write_test_tiff(const std::filesystem::path& path, int width, int height, int bits, const SampleCode& code) {
    TIFF* tiff = TIFFOpen(path.c_str(), "w");
    if (!tiff) return;
    TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, static_cast<uint32_t>(width));
    TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, static_cast<uint32_t>(height));
    TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, 3);
    TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, bits);
    TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
    TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tiff, TIFFTAG_COMPRESSION, COMPRESSION_DEFLATE);
    TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, 16);
    std::vector<uint8_t> row8(static_cast<size_t>(width) * 3);
    std::vector<uint16_t> row16(static_cast<size_t>(width) * 3);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < 3; ++c) {
                row8[static_cast<size_t>(x) * 3 + c] = static_cast<uint8_t>(code(x, y, c));
                row16[static_cast<size_t>(x) * 3 + c] = static_cast<uint16_t>(code(x, y, c));
            }
        TIFFWriteScanline(tiff, bits == 8 ? static_cast<void*>(row8.data()) : row16.data(), static_cast<uint32_t>(y));
    }
    TIFFClose(tiff);
}
