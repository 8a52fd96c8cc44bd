#include "assemble_series.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <thread>

#include "assembly/assembly_header.h"
#include "assembly/full_well.h"
#include "assembly/merge_tables.h"
#include "assembly/response_samples.h"
#include "assembly/series_picture.h"
#include "common/physics.h"
#include "common/text_format.h"
#include "picture/rgbe_writer.h"
#include "picture/scanline_codec.h"

namespace {

constexpr int band_rows = 32;
constexpr double mid_grey = 0.18;

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

// Runs both jobs, the second on a thread of its own.
template <class First, class Second>
void run_both(First first, Second second) {
    std::thread other(second);
    first();
    other.join();
}

Result<std::vector<ReducedPicture>> read_reduced(const AssemblyRequest& request) {
    std::vector<ReducedPicture> reduced;
    for (const std::string& path : request.pictures) {
        auto picture = read_reduced_picture(path);
        if (!picture) return picture.failure();
        reduced.push_back(std::move(picture).value());
    }
    return reduced;
}

bool every_cell_is_black(const ReducedPicture& picture) {
    return std::all_of(picture.rgb.begin(), picture.rgb.end(), [](uint16_t value) { return value == 0; });
}

bool every_cell_is_clipped(const ReducedPicture& picture) {
    const int clipped = clipped_code(picture.levels);
    return std::all_of(picture.rgb.begin(), picture.rgb.end(), [clipped](uint16_t value) { return value >= clipped; });
}

// Sizes and code depth must agree, the series must hold two pictures at
// least, and not be black or clipped throughout.
std::optional<Failure> check_series(const AssemblyRequest& request,
                                    const std::vector<std::unique_ptr<SeriesPicture>>& pictures,
                                    const std::vector<ReducedPicture>& reduced, const std::vector<double>& exposures) {
    if (request.exposures.size() != request.pictures.size())
        return Failure{-1, "every picture of the series needs its exposure"};
    const SeriesPicture& first = *pictures.front();
    for (size_t j = 1; j < pictures.size(); ++j) {
        const SeriesPicture& other = *pictures[j];
        if (other.width() != first.width() || other.height() != first.height())
            return Failure{-1, strprintf("%s is %d x %d but %s is %d x %d: the pictures of a series must have one size",
                                         request.pictures[j].c_str(), other.width(), other.height(),
                                         request.pictures[0].c_str(), first.width(), first.height())};
        if (other.levels() != first.levels())
            return Failure{-1, request.pictures[j] + " has another bit depth than " + request.pictures[0]};
    }
    const size_t shortest = static_cast<size_t>(std::min_element(exposures.begin(), exposures.end()) - exposures.begin());
    if (std::all_of(reduced.begin(), reduced.end(), every_cell_is_black))
        return Failure{-1, "every picture of the series is black: nothing to assemble"};
    if (every_cell_is_clipped(reduced[shortest]))
        return Failure{-1, "even the shortest exposure (" + request.pictures[shortest] +
                               ") is over-exposed everywhere: nothing to assemble"};
    return std::nullopt;
}

class Assembly {
public:
    Assembly(std::vector<std::unique_ptr<SeriesPicture>> pictures, const MergeTables& tables)
        : pictures_(std::move(pictures)), tables_(tables) {
        const size_t samples = static_cast<size_t>(width()) * 3 * band_rows;
        for (size_t j = 0; j < pictures_.size(); ++j) bands_.emplace_back(samples);
        merged_.resize(samples);
        pixels_.resize(static_cast<size_t>(width()) * band_rows);
    }

    int width() const { return pictures_.front()->width(); }
    int height() const { return pictures_.front()->height(); }

    // Decodes, merges and writes one band; the name of a damaged picture
    // otherwise.
    std::optional<std::string> band(int first_row, std::FILE* out, const std::vector<std::string>& names) {
        const int rows = std::min(band_rows, height() - first_row);
        std::vector<char> decoded(pictures_.size(), 1);
        const auto decode = [&](size_t parity) {
            for (size_t j = parity; j < pictures_.size(); j += 2)
                decoded[j] = pictures_[j]->read_rows(rows, bands_[j]);
        };
        run_both([&] { decode(0); }, [&] { decode(1); });
        for (size_t j = 0; j < pictures_.size(); ++j)
            if (!decoded[j]) return names[j];

        const size_t row_pixels = static_cast<size_t>(width());
        const int split = rows / 2;
        size_t saturated[2] = {0, 0}, black[2] = {0, 0};
        std::vector<uint8_t> encoded[2];
        const auto merge = [&](int half) {
            const int from = half ? split : 0, to = half ? rows : split;
            for (int r = from; r < to; ++r) {
                std::vector<const uint16_t*> codes;
                for (const auto& band : bands_) codes.push_back(band.data() + r * row_pixels * 3);
                float* values = merged_.data() + r * row_pixels * 3;
                saturated[half] += merge_band(tables_, codes, row_pixels, values, black[half]);
                RgbePixel* pixels = pixels_.data() + r * row_pixels;
                for (size_t x = 0; x < row_pixels; ++x)
                    pixels[x] = encode_rgbe(values[x * 3], values[x * 3 + 1], values[x * 3 + 2]);
                encode_scanline(std::span<const RgbePixel>(pixels, row_pixels), encoded[half]);
            }
        };
        run_both([&] { merge(0); }, [&] { merge(1); });
        saturated_ += saturated[0] + saturated[1];
        black_ += black[0] + black[1];
        for (const auto& bytes : encoded)
            if (std::fwrite(bytes.data(), 1, bytes.size(), out) != bytes.size()) return std::string();
        return std::nullopt;
    }

    size_t saturated() const { return saturated_; }
    size_t black() const { return black_; }

private:
    std::vector<std::unique_ptr<SeriesPicture>> pictures_;
    const MergeTables& tables_;
    std::vector<std::vector<uint16_t>> bands_;
    std::vector<float> merged_;
    std::vector<RgbePixel> pixels_;
    size_t saturated_ = 0;
    size_t black_ = 0;
};

}  // namespace

Result<AssemblyReport> assemble_series(const AssemblyRequest& request, const std::string& output,
                                       const AssemblyProgress& progress) {
    if (request.pictures.size() < 2)
        return Failure{-1, strprintf("an exposure series needs two pictures at least; %zu given",
                                     request.pictures.size())};
    std::vector<std::unique_ptr<SeriesPicture>> pictures;
    for (const std::string& path : request.pictures) {
        auto picture = open_series_picture(path);
        if (!picture) return picture.failure();
        pictures.push_back(std::move(picture).value());
    }
    AssemblyReport report;
    report.absolute = std::all_of(request.exposures.begin(), request.exposures.end(),
                                  [](const ShotExposure& shot) { return shot.exposure_value() > 0; });
    std::vector<double> exposures, log_exposures;
    for (const ShotExposure& shot : request.exposures) {
        exposures.push_back(report.absolute ? shot.exposure_value() : shot.seconds);
        log_exposures.push_back(std::log(exposures.back()));
    }
    auto reduced = read_reduced(request);
    if (!reduced) return reduced.failure();
    if (auto refusal = check_series(request, pictures, reduced.value(), exposures)) return *refusal;
    if (request.align) {
        auto shifts = align_series(request.pictures, exposures);
        if (!shifts) return shifts.failure();
        report.shifts = shifts.value();
        for (size_t j = 0; j < pictures.size(); ++j) {
            pictures[j] = shifted_picture(std::move(pictures[j]), report.shifts[j]);
            shift_reduced(reduced.value()[j], report.shifts[j]);
        }
    }

    if (request.response) {
        report.response = *request.response;
    } else {
        auto recovered = recover_response(choose_response_samples(reduced.value(), log_exposures));
        if (!recovered) return recovered.failure();
        report.response = recovered.value().curve;
        report.response_residual = recovered.value().residual;
        scale_to_full_well(reduced.value(), log_exposures, report.response);
    }
    reduced.value().clear();

    // The pixels hold the signal of the series' geometric middle exposure.
    double log_sum = 0;
    for (double value : log_exposures) log_sum += value;
    const double reference = std::exp(log_sum / static_cast<double>(log_exposures.size()));
    const MergeTables tables(report.response, exposures, reference, pictures.front()->levels());
    report.width = pictures.front()->width();
    report.height = pictures.front()->height();
    const double exposure =
        report.absolute ? physics::luminous_efficacy * mid_grey * reference / request.meter_constant : 0;
    SeriesHeader header = series_header(request, report.absolute, exposure, report.shifts);

    const std::string partial = output + ".part";
    std::unique_ptr<std::FILE, FileCloser> out(std::fopen(partial.c_str(), "wb"));
    if (!out) return Failure{-3, output + ": cannot be written"};
    const auto give_up = [&](Failure failure) {
        out.reset();
        std::remove(partial.c_str());
        return failure;
    };
    long saturated_at = 0;
    if (!write_series_header(out.get(), header, report.width, report.height, saturated_at))
        return give_up({-3, output + ": cannot be written"});

    Assembly assembly(std::move(pictures), tables);
    for (int row = 0; row < report.height; row += band_rows) {
        if (progress && !progress(static_cast<double>(row) / report.height))
            return give_up({assembly_cancelled, "assembly cancelled"});
        if (auto damaged = assembly.band(row, out.get(), request.pictures))
            return give_up({damaged->empty() ? -3 : -1, damaged->empty() ? output + ": cannot be written"
                                                                          : *damaged + ": damaged picture file"});
    }
    const double total = static_cast<double>(report.width) * report.height;
    if (assembly.black() == static_cast<size_t>(total))
        return give_up({-1, "every picture of the series is black: nothing to assemble"});
    if (assembly.saturated() == static_cast<size_t>(total))
        return give_up({-1, "even the shortest exposure is over-exposed everywhere: nothing to assemble"});
    report.saturated = assembly.saturated();
    report.saturated_share = 100.0 * static_cast<double>(report.saturated) / total;
    if (!fill_saturated_line(out.get(), saturated_at, report.saturated, report.saturated_share) ||
        std::fflush(out.get()) != 0)
        return give_up({-3, output + ": cannot be written"});
    out.reset();
    std::error_code error;
    std::filesystem::rename(partial, output, error);
    if (error) {
        std::remove(partial.c_str());
        return Failure{-3, output + ": cannot be written"};
    }
    if (progress) progress(1.0);
    report.header_lines = header.lines;
    report.header_lines[header.saturated_line] = saturated_line(report.saturated, report.saturated_share);
    return report;
}
