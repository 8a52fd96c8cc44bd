#include "regions/region_table.h"

#include <atomic>
#include <cmath>
#include <cstdio>
#include <optional>
#include <thread>

#include "analysis/analyse_region.h"
#include "common/json_value.h"
#include "common/regular_file.h"
#include "common/text_format.h"

namespace {

// The scratch copy a mask region is applied to, in the cache folder.
constexpr const char* region_mask_scratch = "/dmask_region.hdr";

Failure bad(const std::string& message) { return Failure{-1, message}; }

// Numbers as candelux-cli stats --json writes them, so that a row and a
// single region's JSON agree to the digit; "" where that writes null.
std::string float_field(float value) { return std::isfinite(value) ? format_shortest(value) : std::string(); }
std::string double_field(double value) { return std::isfinite(value) ? json_number(value) : std::string(); }

std::string csv_text(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string quoted = "\"";
    for (char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

}  // namespace

AnalysisSettings region_record(const AnalysisSettings& settings, const RegionChoice& choice) {
    AnalysisSettings record = settings;
    record.kind = AnalysisKind::single_region;
    record.general_statistics = true;
    if (choice.source == RegionChoice::Source::mask_file) {
        record.source = RegionSource::from_mask_file;
        record.mask_file = choice.mask_file;
        record.mask_type = choice.mask_type;
    } else {
        record.source = RegionSource::from_image;
        record.mask_file.clear();
        record.mask_type = 0;
    }
    return record;
}

Result<RegionAnalysis> analyse_region_choice(StatisticsContext& context, const PictureLens& lens,
                                             const RegionChoice& choice, const AnalysisSettings& record,
                                             bool histogram) {
    StatisticsContext region_context{context.map,       context.cache_directory, context.runner, context.desktop,
                                     context.mean_only, histogram};
    RegionAttempt attempt = analyse_region(region_context, lens, wizard_region(choice), record, region_mask_scratch);
    if (!attempt.analysis) return bad("the mask " + choice.mask_file + " could not be applied");
    if (attempt.program_failed) return bad("the histogram could not be made");
    RegionAnalysis analysis = std::move(*attempt.analysis);
    if (record.weight_by_solid_angle) weight_by_solid_angle(lens, record, context.map.width, analysis.statistics);
    return analysis;
}

Result<RegionTable> analyse_region_table(StatisticsContext& context, const RegionFile& file,
                                         const std::string& region_file_path, const RegionTableRequest& request) {
    RegionTable table;
    table.settings = request.settings;
    table.lens = working_copy_lens(context);
    const size_t count = file.regions.size();
    std::vector<std::optional<Result<RegionAnalysis>>> results(count);
    auto analyse = [&](size_t k) {
        const RegionChoice choice = region_choice(file.regions[k], region_file_path);
        results[k] = analyse_region_choice(context, table.lens, choice, region_record(request.settings, choice),
                                           request.histograms);
    };
    // A drawn region without its histogram is arithmetic on the map alone:
    // such regions are analysed side by side. A mask or a histogram runs the
    // picture programs, which go through the runner one at a time.
    std::vector<size_t> alone, programs;
    for (size_t k = 0; k < count; ++k)
        (file.regions[k].kind != RegionKind::mask && !request.histograms ? alone : programs).push_back(k);
    std::atomic<size_t> next{0};
    auto work = [&] {
        for (size_t at; (at = next++) < alone.size();) analyse(alone[at]);
    };
    const size_t threads = std::min<size_t>(alone.size(), std::max(1u, std::thread::hardware_concurrency()));
    std::vector<std::thread> others;
    for (size_t t = 1; t < threads; ++t) others.emplace_back(work);
    work();
    for (std::thread& other : others) other.join();
    for (size_t k : programs) {
        analyse(k);
        if (!*results[k]) break;
    }

    for (size_t k = 0; k < count; ++k) {
        const NamedRegion& region = file.regions[k];
        if (!results[k]) continue;
        Result<RegionAnalysis>& analysis = *results[k];
        if (!analysis) return bad(region_label(region) + ": " + analysis.failure().message);
        RegionRow row;
        row.name = region.name;
        row.color = region.color;
        row.kind = region.kind;
        row.analysis = std::move(analysis).value();
        row.has_histogram = request.histograms;
        // Where each sample lay served the lens figures; fifty regions of a
        // large picture would otherwise hold three times its size.
        row.analysis.statistics.positions = {};
        table.rows.push_back(std::move(row));
    }
    if (table.rows.size() != count) return bad("the analysis stopped");
    return table;
}

Result<RegionAnalysis> analyse_region_row(StatisticsContext& context, const RegionTable& table,
                                          const RegionFile& file, const std::string& region_file_path, size_t row) {
    if (row >= file.regions.size()) return bad("there is no such region");
    const RegionChoice choice = region_choice(file.regions[row], region_file_path);
    return analyse_region_choice(context, table.lens, choice, region_record(table.settings, choice), true);
}

std::string regions_csv_name(const std::string& base) { return base + "_regions.csv"; }

std::string region_table_csv(const RegionTable& table) {
    std::string text =
        "name,kind,count,minimum,maximum,mean,median,standard_deviation,criterion_percentage,percentile_ratio,"
        "count_in_view,solid_angle_sr,weighted_mean,vertical_illuminance_lx,illuminance_share,ceiling_pixels\r\n";
    for (const RegionRow& row : table.rows) {
        const RegionStatistics& s = row.analysis.statistics;
        const LensFigures& f = row.analysis.lens;
        auto viewed = [&](const std::string& field) { return f.has_view ? field : std::string(); };
        text += csv_text(row.name) + "," + region_kind_name(row.kind) + "," + strprintf("%d", row.analysis.count());
        for (float value : {s.minimum, s.maximum, s.mean, s.median, s.standard_deviation, s.criterion_percentage,
                            s.percentile_ratio})
            text += "," + float_field(value);
        text += "," + viewed(strprintf("%lld", static_cast<long long>(f.count_in_view)));
        for (double value : {f.solid_angle, f.weighted_mean, f.vertical_illuminance, f.illuminance_share})
            text += "," + viewed(double_field(value));
        text += "," + strprintf("%lld", static_cast<long long>(f.ceiling_pixels)) + "\r\n";
    }
    return text;
}

bool write_region_table_csv(const std::string& path, const RegionTable& table) {
    const std::string text = region_table_csv(table);
    std::FILE* stream = create_regular_file(path);
    if (!stream) return false;
    const bool written = std::fwrite(text.data(), 1, text.size(), stream) == text.size();
    return std::fclose(stream) == 0 && written;
}
