#include "analysis/statistics_reports.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

#include "analysis/lens_report.h"
#include "analysis/result_lines.h"
#include "analysis/sample_file.h"
#include "common/text_format.h"
#include "desktop/desktop.h"

namespace {

// A text file written line by line with CR LF, through a large buffer (a
// region file can hold millions of samples).
class CsvFile {
public:
    explicit CsvFile(const std::string& path) : file_(std::fopen(path.c_str(), "wb")) { buffer_.reserve(block); }
    ~CsvFile() {
        if (file_) std::fclose(file_);
    }
    CsvFile(const CsvFile&) = delete;
    CsvFile& operator=(const CsvFile&) = delete;

    bool opened() const { return file_ != nullptr; }
    std::string& text() { return buffer_; }
    void end_line() {
        buffer_ += "\r\n";
        if (buffer_.size() >= block) flush();
    }
    void line(const std::string& text) {
        buffer_ += text;
        end_line();
    }
    bool close() {
        flush();
        const bool closed = std::fclose(file_) == 0;
        file_ = nullptr;
        return closed && ok_;
    }

private:
    static constexpr size_t block = 1 << 20;
    void flush() {
        ok_ = ok_ && std::fwrite(buffer_.data(), 1, buffer_.size(), file_) == buffer_.size();
        buffer_.clear();
    }
    std::FILE* file_;
    std::string buffer_;
    bool ok_ = true;
};

// "%d" of a coordinate: the float truncated toward zero.
long long cut(float value) {
    if (!(std::fabs(value) < 9.0e18f)) return 0;
    return static_cast<long long>(value);
}

void append_integer(std::string& out, long long value) {
    char text[24];
    const auto [end, error] = std::to_chars(text, text + sizeof text, value);
    out.append(text, end);
}

std::string f(float value) { return format_fixed6(value); }

const char* type_name(ReportRegionType type) {
    switch (type) {
    case ReportRegionType::rectangle: return "Rectangle";
    case ReportRegionType::circle: return "Circle";
    case ReportRegionType::polygon: return "Polygon";
    case ReportRegionType::unknown: return "Unknown";
    }
    return "Unknown";
}

// The geometry line(s) of the region file; the two-region file writes the
// circle with commas.
void geometry_lines(CsvFile& file, const Region& r, bool two_regions) {
    switch (report_region_type(r)) {
    case ReportRegionType::rectangle:
        file.line(strprintf("TYPE,Rectangle=left(%lld);top(%lld);right(%lld);bottom(%lld)", cut(r.x0), cut(r.y0),
                            cut(r.x1), cut(r.y1)));
        break;
    case ReportRegionType::circle:
        file.line(strprintf(two_regions ? "TYPE,Circle=radius(%lldpx),center(%lld,%lld)"
                                        : "TYPE,Circle=radius(%lldpx);center(%lld %lld)",
                            cut(r.radius), cut(r.centre_x), cut(r.centre_y)));
        break;
    case ReportRegionType::polygon: {
        file.line(strprintf("TYPE,Polygon=NumVertices(%d)", r.vertex_count));
        const int count = std::min(r.vertex_count, max_polygon_vertices);
        for (int i = 0; i < count; ++i) {
            const PointF v = r.vertices[static_cast<size_t>(i)];
            file.text() += strprintf("POINTS=(%lld %lld)", cut(v.x), cut(v.y));
        }
        file.end_line();
        break;
    }
    case ReportRegionType::unknown: file.line("TYPE,Unknown"); break;
    }
}

void sample_fields(std::string& out, const RegionStatistics& s, size_t i) {
    append_integer(out, s.positions[i].x);
    out += ',';
    append_integer(out, s.positions[i].y);
    out += ',';
    append_fixed6(out, s.samples[i]);
}

size_t listed_samples(const RegionStatistics& s) { return std::min(s.samples.size(), s.positions.size()); }

void single_stats(CsvFile& file, const ReportInput& in) {
    const RegionStatistics& s = in.single.analysis.statistics;
    file.line("SINGLE REGION OF INTEREST");
    file.line(std::string("TYPE,") + type_name(report_region_type(in.single.geometry)));
    file.line("MIN," + f(s.minimum));
    file.line("MAX," + f(s.maximum));
    file.line("MEAN," + f(s.mean));
    file.line("MEDIAN," + f(s.median));
    file.line("STANDARD_DEVIATION," + f(s.standard_deviation));
    if (in.main.percentile_enabled) file.line("PERCENTILE_RATIO," + f(s.percentile_ratio));
    if (in.main.criterion_enabled) file.line("CRITERIA," + f(s.criterion_percentage) + "%");
}

void single_histogram(CsvFile& file, const ReportInput& in) {
    file.line("HISTOGRAM");
    file.line("BIN_NO,LUMINANCE_RANGE,COUNT");
    const LuminanceHistogram& h = in.single.analysis.histogram;
    for (int i = 0; i < histogram_bins; ++i)
        file.line(strprintf("%d,%f,%f", i, h[static_cast<size_t>(i)].centre, h[static_cast<size_t>(i)].count));
}

void single_region(CsvFile& file, const ReportInput& in) {
    file.line("REGION");
    geometry_lines(file, in.single.geometry, false);
    file.line("X-COORDINATE,Y-COORDINATE,LUMINANCE_VALUE");
    const RegionStatistics& s = in.single.analysis.statistics;
    for (size_t i = 0, n = listed_samples(s); i < n; ++i) {
        sample_fields(file.text(), s, i);
        file.end_line();
    }
}

void two_stats(CsvFile& file, const ReportInput& in) {
    const RegionStatistics& a = in.a.analysis.statistics;
    const RegionStatistics& b = in.b.analysis.statistics;
    file.line("MULTIPLE REGION OF INTEREST");
    file.line(std::string("TYPE-A,") + type_name(report_region_type(in.a.geometry)));
    file.line(std::string("TYPE-B,") + type_name(report_region_type(in.b.geometry)));
    file.line(",REGION-A,REGION-B");
    file.line("MIN," + f(a.minimum) + "," + f(b.minimum));
    file.line("MAX," + f(a.maximum) + "," + f(b.maximum));
    file.line("MEAN," + f(a.mean) + "," + f(b.mean));
    file.line("MEDIAN," + f(a.median) + "," + f(b.median));
    file.line("STANDARD_DEVIATION," + f(a.standard_deviation) + "," + f(b.standard_deviation));
    if (in.main.percentile_enabled) file.line("CONTRAST_RATIO," + f(region_contrast(a.mean, b.mean)));
}

void two_histograms(CsvFile& file, const ReportInput& in) {
    file.line("HISTOGRAM");
    file.line("BIN_NO,LUMINANCE_RANGE-A,COUNT-A,LUMINANCE_RANGE-B,COUNT-B");
    const LuminanceHistogram& a = in.a.analysis.histogram;
    const LuminanceHistogram& b = in.b.analysis.histogram;
    for (size_t i = 0; i < histogram_bins; ++i)
        file.line(strprintf("%d,%f,%f,%f,%f", static_cast<int>(i), a[i].centre, a[i].count, b[i].centre, b[i].count));
}

void two_regions(CsvFile& file, const ReportInput& in) {
    file.line("REGION-A");
    geometry_lines(file, in.a.geometry, true);
    file.line("REGION-B");
    geometry_lines(file, in.b.geometry, true);
    file.line("REGION-A,,,REGION-B");
    file.line("X-COORDINATE,Y-COORDINATE,LUMINANCE_VALUE,X-COORDINATE,Y-COORDINATE,LUMINANCE_VALUE");
    const RegionStatistics& a = in.a.analysis.statistics;
    const RegionStatistics& b = in.b.analysis.statistics;
    const size_t na = listed_samples(a), nb = listed_samples(b);
    for (size_t i = 0; i < std::max(na, nb); ++i) {
        std::string& out = file.text();
        if (i < na) {
            sample_fields(out, a, i);
            out += ',';
        } else {
            out += ",,,";
        }
        if (i < nb) sample_fields(out, b, i);
        else out += ",,";
        file.end_line();
    }
}

}  // namespace

ReportRegionType report_region_type(const Region& region) {
    if (region.has_rectangle()) return ReportRegionType::rectangle;
    if (region.radius > 0) return ReportRegionType::circle;
    if (region.vertex_count > 3) return ReportRegionType::polygon;
    return ReportRegionType::unknown;
}

std::vector<std::string> report_paths(const std::string& folder, const std::string& base) {
    return {folder + base + "_stats.csv", folder + base + "_hist.csv", folder + base + "_region.csv",
            folder + base + "_geometry.csv"};
}

ReportName report_name(const std::string& chosen_path) {
    const size_t slash = chosen_path.find_last_of('/');
    ReportName name;
    name.folder = slash == std::string::npos ? std::string() : chosen_path.substr(0, slash + 1);
    name.base = slash == std::string::npos ? chosen_path : chosen_path.substr(slash + 1);
    const size_t dot = name.base.find_last_of('.');
    if (dot != std::string::npos) {
        std::string ending = name.base.substr(dot + 1, 3);
        for (char& c : ending) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        if (ending == "csv") name.base.resize(dot);
    }
    return name;
}

bool write_statistics_reports(Desktop& desktop, const std::string& folder, const std::string& base,
                              const ReportInput& input) {
    if (!input.main.general_statistics) return false;
    const bool single = input.main.kind == AnalysisKind::single_region;
    if (!single && input.main.kind != AnalysisKind::multiple_regions) return false;
    using Writer = void (*)(CsvFile&, const ReportInput&);
    const Writer writers[3] = {single ? single_stats : two_stats, single ? single_histogram : two_histograms,
                               single ? single_region : two_regions};
    const std::vector<std::string> paths = report_paths(folder, base);
    for (size_t i = 0; i < 3; ++i) {
        CsvFile file(paths[i]);
        bool written = file.opened();
        if (written) {
            writers[i](file, input);
            written = file.close();
        }
        if (!written) {
            desktop.message_box("Could not access file " + paths[i], "File IO Error!", MessageIcon::warning,
                                Owner::none);
            return false;
        }
    }
    if (!input.lens) return true;
    if (write_geometry_report(paths[3], input)) return true;
    desktop.message_box("Could not access file " + paths[3], "File IO Error!", MessageIcon::warning, Owner::none);
    return false;
}
