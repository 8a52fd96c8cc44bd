#include "assembly/alignment.h"

#include <algorithm>
#include <cstdlib>

namespace {

// Pixels this close to the median flip between bitmaps with noise alone.
constexpr int exclusion = 4;

GreyPicture halved(const GreyPicture& picture) {
    GreyPicture half{picture.width / 2, picture.height / 2, {}};
    half.grey.resize(static_cast<size_t>(half.width) * half.height);
    for (int y = 0; y < half.height; ++y)
        for (int x = 0; x < half.width; ++x) {
            const size_t at = static_cast<size_t>(2 * y) * picture.width + 2 * x;
            const int sum = picture.grey[at] + picture.grey[at + 1] + picture.grey[at + picture.width] +
                            picture.grey[at + picture.width + 1];
            half.grey[static_cast<size_t>(y) * half.width + x] = static_cast<uint8_t>(sum / 4);
        }
    return half;
}

uint8_t median_of(const GreyPicture& picture) {
    size_t histogram[256] = {};
    for (uint8_t value : picture.grey) ++histogram[value];
    size_t seen = 0;
    for (int value = 0; value < 256; ++value) {
        seen += histogram[value];
        if (2 * seen >= picture.grey.size()) return static_cast<uint8_t>(value);
    }
    return 255;
}

// Threshold bit (1) and whether it counts (2), per pixel.
std::vector<uint8_t> bitmap_of(const GreyPicture& picture) {
    const int median = median_of(picture);
    std::vector<uint8_t> bits(picture.grey.size());
    for (size_t i = 0; i < bits.size(); ++i) {
        const int value = picture.grey[i];
        bits[i] = static_cast<uint8_t>((value > median ? 1 : 0) | (std::abs(value - median) > exclusion ? 2 : 0));
    }
    return bits;
}

// The share of the overlap where the bitmaps disagree: a share rather than a
// count, or larger shifts would win by overlapping less.
double disagreement(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b, int width, int height,
                    PictureShift shift) {
    size_t count = 0, compared = 0;
    for (int y = std::max(0, -shift.dy); y < std::min(height, height - shift.dy); ++y) {
        const uint8_t* row_a = &a[static_cast<size_t>(y) * width];
        const uint8_t* row_b = &b[static_cast<size_t>(y + shift.dy) * width];
        for (int x = std::max(0, -shift.dx); x < std::min(width, width - shift.dx); ++x) {
            const uint8_t p = row_a[x], q = row_b[x + shift.dx];
            compared += (p & q & 2) != 0;
            count += (p & q & 2) && ((p ^ q) & 1);
        }
    }
    return compared ? static_cast<double>(count) / static_cast<double>(compared) : 1.0;
}

Result<GreyPicture> grey_of(const std::string& path) {
    auto opened = open_series_picture(path);
    if (!opened) return opened.failure();
    SeriesPicture& picture = *opened.value();
    GreyPicture grey{picture.width(), picture.height(), {}};
    grey.grey.resize(static_cast<size_t>(grey.width) * grey.height);
    std::vector<uint16_t> row(static_cast<size_t>(grey.width) * 3);
    const int shift = picture.levels() > 255 ? 8 : 0;
    for (int y = 0; y < grey.height; ++y) {
        if (!picture.read_rows(1, row)) return Failure{-1, path + ": damaged picture file"};
        for (int x = 0; x < grey.width; ++x) {
            const uint16_t* rgb = &row[static_cast<size_t>(x) * 3];
            grey.grey[static_cast<size_t>(y) * grey.width + x] =
                static_cast<uint8_t>(((rgb[0] + 2 * rgb[1] + rgb[2]) / 4) >> shift);
        }
    }
    return grey;
}

class ShiftedPicture final : public SeriesPicture {
public:
    ShiftedPicture(std::unique_ptr<SeriesPicture> picture, PictureShift shift)
        : picture_(std::move(picture)), shift_(shift), row_(static_cast<size_t>(picture_->width()) * 3) {
        width_ = picture_->width();
        height_ = picture_->height();
        levels_ = picture_->levels();
    }

    bool read_rows(int rows, std::span<uint16_t> out) override {
        const size_t row_size = row_.size();
        for (int r = 0; r < rows; ++r, ++next_) {
            uint16_t* target = out.data() + static_cast<size_t>(r) * row_size;
            const int source = next_ + shift_.dy;
            // Rows above the picture are never read; rows before `source`
            // are read and passed over.
            while (read_ <= source && read_ < height_) {
                if (!picture_->read_rows(1, row_)) return false;
                ++read_;
            }
            if (source < 0 || source >= height_ || read_ != source + 1) {
                std::fill(target, target + row_size, uint16_t{0});
                continue;
            }
            for (int x = 0; x < width_; ++x) {
                const int from = x + shift_.dx;
                for (int c = 0; c < 3; ++c)
                    target[static_cast<size_t>(x) * 3 + c] =
                        from < 0 || from >= width_ ? 0 : row_[static_cast<size_t>(from) * 3 + c];
            }
        }
        return true;
    }

private:
    std::unique_ptr<SeriesPicture> picture_;
    PictureShift shift_;
    std::vector<uint16_t> row_;  // the last row read from the picture
    int next_ = 0;               // the next output row
    int read_ = 0;               // rows read from the picture so far
};

}  // namespace

PictureShift median_threshold_shift(const GreyPicture& reference, const GreyPicture& moved, int levels) {
    PictureShift shift;
    if (levels > 0 && reference.width >= 16 && reference.height >= 16) {
        shift = median_threshold_shift(halved(reference), halved(moved), levels - 1);
        shift.dx *= 2;
        shift.dy *= 2;
    }
    const std::vector<uint8_t> a = bitmap_of(reference), b = bitmap_of(moved);
    // The centre is tried first and kept on a tie: a picture whose median
    // sits on black or white (a very short or long exposure) has bitmaps
    // that agree everywhere, and must not drift.
    PictureShift best = shift;
    double fewest = disagreement(a, b, reference.width, reference.height, shift);
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
            if (dx == 0 && dy == 0) continue;
            const PictureShift tried{shift.dx + dx, shift.dy + dy};
            const double count = disagreement(a, b, reference.width, reference.height, tried);
            if (count < fewest) {
                fewest = count;
                best = tried;
            }
        }
    return best;
}

Result<std::vector<PictureShift>> align_series(const std::vector<std::string>& pictures,
                                               const std::vector<double>& exposures) {
    std::vector<size_t> order(pictures.size());
    for (size_t j = 0; j < order.size(); ++j) order[j] = j;
    std::sort(order.begin(), order.end(), [&](size_t a, size_t b) { return exposures[a] < exposures[b]; });
    const size_t middle = order.size() / 2;
    std::vector<PictureShift> shifts(pictures.size());
    auto reference = grey_of(pictures[order[middle]]);
    if (!reference) return reference.failure();
    // Each picture against its neighbour towards the middle, two stops or so
    // apart, where the bitmaps agree best; the shifts add up.
    for (int direction : {-1, 1}) {
        GreyPicture previous = reference.value();
        for (long k = static_cast<long>(middle) + direction; k >= 0 && k < static_cast<long>(order.size());
             k += direction) {
            auto next = grey_of(pictures[order[static_cast<size_t>(k)]]);
            if (!next) return next.failure();
            if (next.value().width != previous.width || next.value().height != previous.height)
                return shifts;  // the size check of the assembly says so
            const PictureShift step = median_threshold_shift(previous, next.value());
            const PictureShift before = shifts[order[static_cast<size_t>(k - direction)]];
            shifts[order[static_cast<size_t>(k)]] = {before.dx + step.dx, before.dy + step.dy};
            previous = std::move(next).value();
        }
    }
    return shifts;
}

std::unique_ptr<SeriesPicture> shifted_picture(std::unique_ptr<SeriesPicture> picture, PictureShift shift) {
    if (shift == PictureShift{}) return picture;
    return std::make_unique<ShiftedPicture>(std::move(picture), shift);
}

void shift_reduced(ReducedPicture& picture, PictureShift shift) {
    const int dx = shift.dx / reduction, dy = shift.dy / reduction;
    if (dx == 0 && dy == 0) return;
    std::vector<uint16_t> moved(picture.rgb.size(), 0);
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x) {
            const int fx = x + dx, fy = y + dy;
            if (fx < 0 || fy < 0 || fx >= picture.width || fy >= picture.height) continue;
            std::copy_n(&picture.rgb[(static_cast<size_t>(fy) * picture.width + fx) * 3], 3,
                        &moved[(static_cast<size_t>(y) * picture.width + x) * 3]);
        }
    picture.rgb = std::move(moved);
}
