#include "series_picture.h"

#include <jpeglib.h>
#include <tiffio.h>

#include <algorithm>
#include <cmath>
#include <csetjmp>
#include <cstdio>

#include "assembly/picture_kind.h"

namespace {

// libjpeg's default reaction to a damaged file ends the process; ours jumps
// back to the call, which then reports the file damaged. Between setjmp and
// the jump only plain data is touched, so no destructor is skipped.
struct JumpingErrors {
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

[[noreturn]] void jump_back(j_common_ptr info) { std::longjmp(reinterpret_cast<JumpingErrors*>(info->err)->jump, 1); }

void stay_quiet(j_common_ptr, int) {}

class JpegPicture final : public SeriesPicture {
public:
    ~JpegPicture() override {
        jpeg_destroy_decompress(&info_);
        if (file_) std::fclose(file_);
    }

    // scale_denominator n gives the means of n x n cells.
    bool open(const std::string& path, unsigned scale_denominator) {
        info_.err = jpeg_std_error(&errors_.base);
        errors_.base.error_exit = jump_back;
        errors_.base.emit_message = stay_quiet;
        jpeg_create_decompress(&info_);
        file_ = std::fopen(path.c_str(), "rb");
        if (!file_) return false;
        if (setjmp(errors_.jump)) return false;
        jpeg_stdio_src(&info_, file_);
        jpeg_read_header(&info_, TRUE);
        info_.out_color_space = JCS_RGB;
        info_.scale_num = 1;
        info_.scale_denom = scale_denominator;
        if (scale_denominator > 1) info_.dct_method = JDCT_IFAST;
        jpeg_start_decompress(&info_);
        if (info_.output_components != 3) return false;
        width_ = static_cast<int>(info_.output_width);
        height_ = static_cast<int>(info_.output_height);
        row_.resize(static_cast<size_t>(width_) * 3);
        return true;
    }

    bool read_rows(int rows, std::span<uint16_t> out) override {
        JSAMPLE* row = row_.data();
        const size_t row_size = row_.size();
        if (setjmp(errors_.jump)) return false;
        for (int r = 0; r < rows; ++r) {
            JSAMPROW pointers[1] = {row};
            if (jpeg_read_scanlines(&info_, pointers, 1) != 1) return false;
            uint16_t* target = out.data() + static_cast<size_t>(r) * row_size;
            for (size_t i = 0; i < row_size; ++i) target[i] = row[i];
        }
        return true;
    }

private:
    jpeg_decompress_struct info_{};
    JumpingErrors errors_{};
    std::FILE* file_ = nullptr;
    std::vector<JSAMPLE> row_;
};

class TiffPicture final : public SeriesPicture {
public:
    ~TiffPicture() override {
        if (tiff_) TIFFClose(tiff_);
    }

    // Failure text for what this reader does not decode; "" when it opened.
    std::string open(const std::string& path) {
        TIFFSetErrorHandler(nullptr);
        TIFFSetWarningHandler(nullptr);
        tiff_ = TIFFOpen(path.c_str(), "r");
        if (!tiff_) return "damaged TIFF file";
        uint32_t width = 0, height = 0;
        uint16_t bits = 0, samples = 1, planar = PLANARCONFIG_CONTIG, photometric = PHOTOMETRIC_RGB;
        TIFFGetField(tiff_, TIFFTAG_IMAGEWIDTH, &width);
        TIFFGetField(tiff_, TIFFTAG_IMAGELENGTH, &height);
        TIFFGetFieldDefaulted(tiff_, TIFFTAG_BITSPERSAMPLE, &bits);
        TIFFGetFieldDefaulted(tiff_, TIFFTAG_SAMPLESPERPIXEL, &samples);
        TIFFGetFieldDefaulted(tiff_, TIFFTAG_PLANARCONFIG, &planar);
        TIFFGetField(tiff_, TIFFTAG_PHOTOMETRIC, &photometric);
        if (TIFFIsTiled(tiff_)) return "tiled TIFF pictures are not read";
        if (bits != 8 && bits != 16) return "only 8- and 16-bit TIFF pictures are read";
        if (planar != PLANARCONFIG_CONTIG) return "only TIFF pictures with interleaved samples are read";
        const bool grey = photometric == PHOTOMETRIC_MINISBLACK && samples >= 1;
        const bool rgb = photometric == PHOTOMETRIC_RGB && samples >= 3;
        if (!grey && !rgb) return "only grey and RGB TIFF pictures are read";
        if (width == 0 || height == 0 || width > (1u << 20) || height > (1u << 20)) return "unusable TIFF size";
        width_ = static_cast<int>(width);
        height_ = static_cast<int>(height);
        levels_ = bits == 8 ? 255 : 65535;
        bits_ = bits;
        samples_ = samples;
        grey_ = grey;
        scanline_.resize(static_cast<size_t>(TIFFScanlineSize64(tiff_)));
        if (scanline_.size() < static_cast<size_t>(width_) * samples_ * (bits_ / 8)) return "damaged TIFF file";
        return "";
    }

    bool read_rows(int rows, std::span<uint16_t> out) override {
        for (int r = 0; r < rows; ++r, ++next_row_) {
            if (TIFFReadScanline(tiff_, scanline_.data(), static_cast<uint32_t>(next_row_)) < 0) return false;
            uint16_t* target = out.data() + static_cast<size_t>(r) * width_ * 3;
            for (int x = 0; x < width_; ++x)
                for (int c = 0; c < 3; ++c) target[x * 3 + c] = sample(x * samples_ + (grey_ ? 0 : c));
        }
        return true;
    }

private:
    uint16_t sample(size_t index) const {
        if (bits_ == 8) return scanline_[index];
        uint16_t value;
        std::copy_n(&scanline_[index * 2], 2, reinterpret_cast<unsigned char*>(&value));
        return value;  // libtiff has already put it in this machine's byte order
    }

    TIFF* tiff_ = nullptr;
    int bits_ = 8;
    int samples_ = 3;
    bool grey_ = false;
    int next_row_ = 0;
    std::vector<unsigned char> scanline_;
};

Result<std::unique_ptr<SeriesPicture>> open_picture(const std::string& path, unsigned jpeg_scale) {
    const auto kind = picture_kind_of(path);
    if (!kind) return kind.failure();
    if (kind.value() == PictureKind::jpeg) {
        auto picture = std::make_unique<JpegPicture>();
        if (!picture->open(path, jpeg_scale)) return Failure{-1, path + ": damaged or unusable JPEG file"};
        return std::unique_ptr<SeriesPicture>(std::move(picture));
    }
    auto picture = std::make_unique<TiffPicture>();
    if (const std::string refusal = picture->open(path); !refusal.empty()) return Failure{-1, path + ": " + refusal};
    return std::unique_ptr<SeriesPicture>(std::move(picture));
}

}  // namespace

Result<std::unique_ptr<SeriesPicture>> open_series_picture(const std::string& path) { return open_picture(path, 1); }

Result<ReducedPicture> read_reduced_picture(const std::string& path) {
    auto opened = open_picture(path, reduction);
    if (!opened) return opened.failure();
    SeriesPicture& picture = *opened.value();
    const int width = picture.width(), height = picture.height();
    const bool already_reduced = picture_kind_of(path).value() == PictureKind::jpeg;
    ReducedPicture reduced{already_reduced ? width : (width + reduction - 1) / reduction,
                           already_reduced ? height : (height + reduction - 1) / reduction,
                           picture.levels(), {}};
    reduced.rgb.resize(static_cast<size_t>(reduced.width) * reduced.height * 3);
    const int band = already_reduced ? 1 : reduction;
    std::vector<uint16_t> rows(static_cast<size_t>(width) * 3 * band);
    std::vector<double> sums(static_cast<size_t>(reduced.width) * 3);
    for (int y = 0; y < reduced.height; ++y) {
        const int count = std::min(band, height - y * band);
        if (!picture.read_rows(count, rows)) return Failure{-1, path + ": damaged picture file"};
        if (already_reduced) {
            std::copy_n(rows.begin(), sums.size(), reduced.rgb.begin() + static_cast<ptrdiff_t>(y * sums.size()));
            continue;
        }
        std::fill(sums.begin(), sums.end(), 0.0);
        std::vector<int> pixels(static_cast<size_t>(reduced.width), 0);
        for (int r = 0; r < count; ++r)
            for (int x = 0; x < width; ++x) {
                ++pixels[static_cast<size_t>(x / reduction)];
                for (int c = 0; c < 3; ++c)
                    sums[static_cast<size_t>(x / reduction) * 3 + c] += rows[(static_cast<size_t>(r) * width + x) * 3 + c];
            }
        for (size_t i = 0; i < sums.size(); ++i)
            reduced.rgb[y * sums.size() + i] = static_cast<uint16_t>(std::lround(sums[i] / pixels[i / 3]));
    }
    return reduced;
}
