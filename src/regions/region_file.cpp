#include "regions/region_file.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <optional>

#include "analysis/region_scan.h"
#include "common/regular_file.h"
#include "common/text_format.h"

namespace fs = std::filesystem;

namespace {

// A region file lists a few dozen regions; anything this large is no region
// file, and is not read into memory whole.
constexpr std::uintmax_t largest_region_file = 16u << 20;

Failure bad(const std::string& message) { return Failure{-1, message}; }

// How a message names a region while it is read: by its name when it has
// one, else by its place in the list.
std::string label_of(const JsonValue& object, size_t index) {
    const JsonValue* name = object.find("name");
    if (name && name->is_string() && !name->as_string().empty()) return "Region \"" + name->as_string() + "\"";
    return strprintf("region %zu", index + 1);
}

std::optional<float> finite_float(const JsonValue* value) {
    if (!value || !value->is_number()) return std::nullopt;
    const double number = value->as_number();
    if (!std::isfinite(number) || std::fabs(number) > std::numeric_limits<float>::max()) return std::nullopt;
    return static_cast<float>(number);
}

std::optional<PointF> point_of(const JsonValue& value) {
    if (!value.is_array() || value.as_array().size() != 2) return std::nullopt;
    const auto x = finite_float(&value.as_array()[0]);
    const auto y = finite_float(&value.as_array()[1]);
    if (!x || !y) return std::nullopt;
    return PointF{*x, *y};
}

// A float as the double its fewest digits read back as, so that the file
// shows 0.1 rather than 0.10000000149011612.
JsonValue number_of(float value) {
    const std::string text = format_shortest(value);
    double number = 0;
    std::from_chars(text.data(), text.data() + text.size(), number);
    return JsonValue(number);
}

JsonValue point_value(PointF point) { return JsonValue(JsonValue::Array{number_of(point.x), number_of(point.y)}); }

Result<NamedRegion> parse_region(const JsonValue& object, size_t index) {
    const std::string label = label_of(object, index);
    if (!object.is_object()) return bad(label + " is not an object");
    NamedRegion region;
    region.document = object;

    const JsonValue* name = object.find("name");
    if (!name || !name->is_string()) return bad(label + " has no \"name\" text");
    region.name = name->as_string();
    if (region.name.empty()) return bad(label + " has an empty \"name\"");

    if (const JsonValue* color = object.find("color")) {
        if (!color->is_string() || !is_region_color(color->as_string()))
            return bad(label + ": \"color\" must be \"#rrggbb\", six hexadecimal digits");
        region.color = color->as_string();
    } else {
        region.color = default_region_color(index);
    }

    if (const JsonValue* visible = object.find("visible")) {
        if (!visible->is_bool()) return bad(label + ": \"visible\" must be true or false");
        region.visible = visible->as_bool();
    }

    const JsonValue* kind = object.find("kind");
    if (!kind || !kind->is_string()) return bad(label + " has no \"kind\"");
    const std::string& kind_name = kind->as_string();
    Region& g = region.geometry;
    const JsonValue* points = object.find("points");
    if (kind_name == "rectangle") {
        region.kind = RegionKind::rectangle;
        if (!points || !points->is_array() || points->as_array().size() != 2)
            return bad(label + ": a rectangle needs \"points\" [[x0, y0], [x1, y1]]");
        const auto p0 = point_of(points->as_array()[0]);
        const auto p1 = point_of(points->as_array()[1]);
        if (!p0 || !p1) return bad(label + ": each point must be [x, y], two numbers");
        g.x0 = p0->x, g.y0 = p0->y, g.x1 = p1->x, g.y1 = p1->y;
    } else if (kind_name == "circle") {
        region.kind = RegionKind::circle;
        const JsonValue* center = object.find("center");
        const auto centre = center ? point_of(*center) : std::nullopt;
        if (!centre) return bad(label + ": a circle needs \"center\" [x, y]");
        const auto radius = finite_float(object.find("radius"));
        if (!radius || *radius < 0) return bad(label + ": a circle needs a \"radius\" of 0 or more pixels");
        g.centre_x = centre->x, g.centre_y = centre->y, g.radius = *radius;
    } else if (kind_name == "polygon") {
        region.kind = RegionKind::polygon;
        if (!points || !points->is_array() || points->as_array().size() < 3)
            return bad(label + ": a polygon needs \"points\" [[x, y], ...], three or more");
        if (points->as_array().size() > static_cast<size_t>(max_polygon_vertices))
            return bad(label + strprintf(": a polygon has at most %d points", max_polygon_vertices));
        for (const JsonValue& value : points->as_array()) {
            const auto point = point_of(value);
            if (!point) return bad(label + ": each point must be [x, y], two numbers");
            g.vertices[static_cast<size_t>(g.vertex_count++)] = *point;
        }
    } else if (kind_name == "mask") {
        region.kind = RegionKind::mask;
        const JsonValue* file = object.find("file");
        if (!file || !file->is_string() || file->as_string().empty())
            return bad(label + ": a mask needs \"file\", the mask picture's name");
        region.mask_file = file->as_string();
        if (mask_type_of(region.mask_file) == 0)
            return bad(label + ": the mask " + region.mask_file + " is not a .hdr, .pic, .bmp or .tif file");
    } else {
        return bad(label + ": unknown kind \"" + kind_name + "\"; the kinds are rectangle, circle, polygon and mask");
    }
    return region;
}

std::optional<int32_t> picture_size(const JsonValue* value) {
    if (!value || !value->is_number()) return std::nullopt;
    const double number = value->as_number();
    if (!(number >= 1) || number > std::numeric_limits<int32_t>::max() || number != std::floor(number))
        return std::nullopt;
    return static_cast<int32_t>(number);
}

JsonValue region_value(const NamedRegion& region) {
    JsonValue object = region.document.is_object() ? region.document : JsonValue(JsonValue::Object{});
    object.set("name", region.name);
    object.set("color", region.color);
    object.set("kind", region_kind_name(region.kind));
    for (const char* key : {"points", "center", "radius", "file"}) object.erase(key);
    const Region& g = region.geometry;
    switch (region.kind) {
    case RegionKind::rectangle:
        object.set("points", JsonValue::Array{point_value({g.x0, g.y0}), point_value({g.x1, g.y1})});
        break;
    case RegionKind::circle:
        object.set("center", point_value({g.centre_x, g.centre_y}));
        object.set("radius", number_of(g.radius));
        break;
    case RegionKind::polygon: {
        JsonValue::Array points;
        for (int i = 0; i < g.vertex_count; ++i) points.push_back(point_value(g.vertices[static_cast<size_t>(i)]));
        object.set("points", std::move(points));
        break;
    }
    case RegionKind::mask: object.set("file", region.mask_file); break;
    }
    if (region.visible) object.erase("visible");
    else object.set("visible", false);
    return object;
}

}  // namespace

std::string default_region_file_path(const std::string& picture_path) { return picture_path + region_file_suffix; }

std::string default_region_name(const std::vector<NamedRegion>& regions) {
    for (size_t n = regions.size() + 1;; ++n) {
        const std::string name = strprintf("Region %zu", n);
        bool taken = false;
        for (const NamedRegion& region : regions) taken = taken || region.name == name;
        if (!taken) return name;
    }
}

std::string default_region_color(size_t index) {
    // Saturated hues a step apart, then lighter ones: each differs from its
    // neighbours in the list and from the greys of a luminance picture.
    static constexpr std::array<const char*, 10> palette = {"#ff0000", "#00c000", "#0060ff", "#ff9900", "#cc00cc",
                                                            "#00cccc", "#ffff00", "#ff66aa", "#99ff66", "#9966ff"};
    return palette[index % palette.size()];
}

bool is_region_color(const std::string& text) {
    if (text.size() != 7 || text[0] != '#') return false;
    for (size_t i = 1; i < text.size(); ++i) {
        const char c = text[i];
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'))) return false;
    }
    return true;
}

const char* region_kind_name(RegionKind kind) {
    switch (kind) {
    case RegionKind::rectangle: return "rectangle";
    case RegionKind::circle: return "circle";
    case RegionKind::polygon: return "polygon";
    case RegionKind::mask: return "mask";
    }
    return "rectangle";
}

NamedRegion drawn_named_region(std::string name, std::string color, const Region& geometry, RegionKind tool) {
    NamedRegion region;
    region.name = std::move(name);
    region.color = std::move(color);
    region.kind = tool;
    Region& g = region.geometry;
    switch (tool) {
    case RegionKind::rectangle:
        g.x0 = geometry.x0, g.y0 = geometry.y0, g.x1 = geometry.x1, g.y1 = geometry.y1;
        break;
    case RegionKind::circle:
        g.centre_x = geometry.centre_x, g.centre_y = geometry.centre_y, g.radius = geometry.radius;
        break;
    case RegionKind::polygon:
        g.vertex_count = geometry.vertex_count;
        for (int i = 0; i < geometry.vertex_count; ++i)
            g.vertices[static_cast<size_t>(i)] = geometry.vertices[static_cast<size_t>(i)];
        break;
    case RegionKind::mask: break;
    }
    return region;
}

NamedRegion mask_named_region(std::string name, std::string color, std::string mask_file) {
    NamedRegion region;
    region.name = std::move(name);
    region.color = std::move(color);
    region.kind = RegionKind::mask;
    region.mask_file = std::move(mask_file);
    return region;
}

Result<RegionFile> parse_region_file(const std::string& text) {
    auto document = parse_json(text);
    if (!document) return bad("not a region file: " + document.failure().message);
    const JsonValue& root = document.value();
    if (!root.is_object()) return bad("not a region file: it holds no JSON object");
    RegionFile file;
    const auto width = picture_size(root.find("width"));
    const auto height = picture_size(root.find("height"));
    if (!width || !height) return bad("\"width\" and \"height\" must be the picture's size, whole numbers from 1");
    file.width = *width;
    file.height = *height;
    const JsonValue* regions = root.find("regions");
    if (!regions || !regions->is_array()) return bad("\"regions\" must be a list of regions");
    for (size_t i = 0; i < regions->as_array().size(); ++i) {
        auto region = parse_region(regions->as_array()[i], i);
        if (!region) return region.failure();
        file.regions.push_back(std::move(region).value());
    }
    file.document = std::move(document).value();
    return file;
}

std::string region_file_text(const RegionFile& file) {
    JsonValue root = file.document.is_object() ? file.document : JsonValue(JsonValue::Object{});
    root.set("width", static_cast<double>(file.width));
    root.set("height", static_cast<double>(file.height));
    JsonValue::Array regions;
    for (const NamedRegion& region : file.regions) regions.push_back(region_value(region));
    root.set("regions", std::move(regions));
    return json_text(root);
}

Result<RegionFile> read_region_file(const std::string& path) {
    std::string kind;
    std::FILE* stream = open_regular_file(path, &kind);
    if (!stream) return bad(path + ": " + (kind.empty() ? std::string("cannot be opened") : kind));
    std::string text;
    char buffer[65536];
    size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, stream)) > 0) {
        text.append(buffer, got);
        if (text.size() > largest_region_file) break;
    }
    const bool failed = std::ferror(stream) != 0;
    std::fclose(stream);
    if (failed) return bad(path + ": cannot be read");
    if (text.size() > largest_region_file) return bad(path + ": too large for a region file");
    auto file = parse_region_file(text);
    if (!file) return bad(path + ": " + file.failure().message);
    for (const NamedRegion& region : file.value().regions) {
        if (region.kind != RegionKind::mask) continue;
        const std::string mask = region_mask_path(path, region);
        std::error_code ec;
        if (!fs::exists(mask, ec))
            return bad(path + ": the mask file " + mask + " of " + region_label(region) + " does not exist");
        if (const std::string problem = regular_file_problem(mask); !problem.empty())
            return bad(path + ": the mask file " + mask + " of " + region_label(region) + ": " + problem);
    }
    return file;
}

Result<bool> write_region_file(const std::string& path, const RegionFile& file) {
    const std::string text = region_file_text(file);
    const std::string temporary = path + ".part";
    std::FILE* stream = create_regular_file(temporary);
    if (!stream) return bad(path + ": cannot be written");
    const bool written = std::fwrite(text.data(), 1, text.size(), stream) == text.size();
    const bool closed = std::fclose(stream) == 0;
    std::error_code ec;
    if (!written || !closed) {
        fs::remove(temporary, ec);
        return bad(path + ": cannot be written");
    }
    // A rename replaces whatever stands under the name, a symbolic link
    // included, without writing through it.
    fs::rename(temporary, path, ec);
    if (ec) {
        fs::remove(temporary, ec);
        return bad(path + ": cannot be written");
    }
    return true;
}

std::string region_mask_path(const std::string& region_file_path, const NamedRegion& region) {
    const fs::path mask(region.mask_file);
    if (mask.is_absolute()) return region.mask_file;
    const fs::path folder = fs::path(region_file_path).parent_path();
    // From the current folder the name gets "./" so that a name starting
    // with "-" is never taken for an option by the programs it reaches.
    return folder.empty() ? "./" + region.mask_file : (folder / mask).string();
}

std::string stored_mask_name(const std::string& region_file_path, const std::string& mask_path) {
    std::error_code ec;
    const fs::path folder = fs::weakly_canonical(fs::absolute(fs::path(region_file_path), ec).parent_path(), ec);
    const fs::path mask = fs::weakly_canonical(fs::absolute(fs::path(mask_path), ec), ec);
    if (ec) return mask_path;
    const fs::path relative = mask.lexically_relative(folder);
    if (relative.empty() || *relative.begin() == "..") return mask_path;
    return relative.string();
}

RegionChoice region_choice(const NamedRegion& region, const std::string& region_file_path) {
    RegionChoice choice;
    if (region.kind == RegionKind::mask) {
        choice.source = RegionChoice::Source::mask_file;
        choice.mask_file = region_mask_path(region_file_path, region);
        choice.mask_type = mask_type_of(choice.mask_file);
        return choice;
    }
    choice.source = RegionChoice::Source::drawn;
    choice.tool = region.kind;
    choice.geometry = region.geometry;
    return choice;
}

NamedRegion scaled_region(const NamedRegion& region, double sx, double sy) {
    NamedRegion scaled = region;
    Region& g = scaled.geometry;
    auto x = [&](float& value) { value = static_cast<float>(value * sx); };
    auto y = [&](float& value) { value = static_cast<float>(value * sy); };
    x(g.x0), x(g.x1), x(g.centre_x);
    y(g.y0), y(g.y1), y(g.centre_y);
    g.radius = static_cast<float>(g.radius * std::sqrt(sx * sy));
    for (int i = 0; i < g.vertex_count; ++i) {
        x(g.vertices[static_cast<size_t>(i)].x);
        y(g.vertices[static_cast<size_t>(i)].y);
    }
    return scaled;
}

std::string region_label(const NamedRegion& region) { return "Region \"" + region.name + "\""; }

RegionFit fit_region_file(const RegionFile& file, int32_t width, int32_t height) {
    RegionFit fit;
    fit.file.document = file.document;
    fit.file.width = width;
    fit.file.height = height;
    const bool same = file.width == width && file.height == height;
    const double sx = file.width > 0 ? static_cast<double>(width) / file.width : 1.0;
    const double sy = file.height > 0 ? static_cast<double>(height) / file.height : 1.0;
    if (!same)
        fit.scaled_message = strprintf(
            "The regions were drawn on a picture of %d x %d pixels and were scaled to this one's %d x %d.", file.width,
            file.height, width, height);
    for (const NamedRegion& region : file.regions) {
        NamedRegion fitted = same ? region : scaled_region(region, sx, sy);
        if (fitted.kind != RegionKind::mask) {
            RegionChoice choice;
            choice.source = RegionChoice::Source::drawn;
            choice.tool = fitted.kind;
            choice.geometry = fitted.geometry;
            const std::string problem = region_problem(choice, region_label(fitted), width, height);
            if (!problem.empty()) {
                fit.refused.push_back(problem);
                continue;
            }
        }
        fit.file.regions.push_back(std::move(fitted));
    }
    return fit;
}
