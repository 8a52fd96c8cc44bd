#include "profiles/camera_profile.h"

#include <cmath>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>

#include "common/clock_text.h"
#include "common/text_file.h"
#include "settings/platform_folders.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* format_name = "candelux camera profile 1";
constexpr const char* channel_keys[3] = {"red", "green", "blue"};

Failure bad(const std::string& message) { return Failure{-1, message}; }

// A member that must be a string when present.
bool read_text(const JsonValue& root, const char* key, std::string& out, std::string& error) {
    const JsonValue* value = root.find(key);
    if (!value || value->is_null()) return true;
    if (!value->is_string()) {
        error = std::string("\"") + key + "\" is not a text";
        return false;
    }
    out = value->as_string();
    return true;
}

bool read_positive(const JsonValue& root, const char* key, double& out, std::string& error) {
    const JsonValue* value = root.find(key);
    if (!value || value->is_null()) return true;
    if (!value->is_number() || !(value->as_number() > 0)) {
        error = std::string("\"") + key + "\" is not a positive number";
        return false;
    }
    out = value->as_number();
    return true;
}

bool read_number(const JsonValue& root, const char* key, double& out, std::string& error) {
    const JsonValue* value = root.find(key);
    if (!value) return true;
    if (!value->is_number()) {
        error = std::string("\"") + key + "\" is not a number";
        return false;
    }
    out = value->as_number();
    return true;
}

std::optional<ResponseCurve> read_response(const JsonValue& value, std::string& error) {
    ResponseCurve curve;
    for (int c = 0; c < 3; ++c) {
        const JsonValue* channel = value.find(channel_keys[c]);
        if (!channel || !channel->is_array() || channel->as_array().size() != response_nodes) {
            error = std::string("\"response\" needs ") + std::to_string(response_nodes) + " numbers for \"" +
                    channel_keys[c] + "\"";
            return std::nullopt;
        }
        for (const JsonValue& node : channel->as_array()) {
            // A recovered curve may rise a little above full well between
            // its last nodes; a signal of several full wells is no curve.
            if (!node.is_number() || !std::isfinite(node.as_number()) || node.as_number() > 1) {
                error = "\"response\" holds a value that is not a logarithm of a signal up to full well";
                return std::nullopt;
            }
            curve.log_signal[c].push_back(node.as_number());
        }
    }
    return curve;
}

std::optional<LensProjection> read_projection(const JsonValue& value, std::string& error) {
    LensProjection projection;
    if (!value.is_object()) {
        error = "\"projection\" is not an object";
        return std::nullopt;
    }
    if (!read_text(value, "view", projection.view, error) ||
        !read_positive(value, "horizontal_angle", projection.horizontal_angle, error) ||
        !read_positive(value, "vertical_angle", projection.vertical_angle, error) ||
        !read_number(value, "centre_x", projection.circle.centre_x, error) ||
        !read_number(value, "centre_y", projection.circle.centre_y, error) ||
        !read_number(value, "radius", projection.circle.radius, error))
        return std::nullopt;
    if (projection.view.size() != 4 || projection.view.compare(0, 3, "-vt") != 0) {
        error = "\"projection\": \"" + projection.view + "\" is not a view type such as -vta";
        return std::nullopt;
    }
    if (projection.circle.radius < 0) {
        error = "\"projection\": the radius is negative";
        return std::nullopt;
    }
    return projection;
}

JsonValue numbers(const std::vector<double>& values) {
    JsonValue::Array items;
    for (double v : values) items.emplace_back(v);
    return JsonValue(std::move(items));
}

}  // namespace

std::string vignetting_picture_path(const CameraProfile& profile) {
    if (profile.vignetting_picture.empty()) return "";
    const fs::path picture(profile.vignetting_picture);
    if (picture.is_absolute() || profile.folder.empty()) return picture.string();
    return (fs::path(profile.folder) / picture).string();
}

double vignetting_falloff(const std::vector<double>& coefficients, double r) {
    const double r2 = r * r;
    double power = r2;
    double falloff = 1;
    for (double a : coefficients) {
        falloff += a * power;
        power *= r2;
    }
    return falloff;
}

Result<CameraProfile> parse_camera_profile(const std::string& text) {
    auto document = parse_json(text);
    if (!document) return document.failure();
    const JsonValue& root = document.value();
    if (!root.is_object()) return bad("a camera profile is a JSON object");
    const JsonValue* format = root.find("format");
    if (!format || !format->is_string() || format->as_string() != format_name)
        return bad(std::string("not a camera profile (\"format\" is not \"") + format_name + "\")");
    CameraProfile profile;
    std::string error;
    if (!read_text(root, "name", profile.name, error) || !read_text(root, "camera", profile.camera, error) ||
        !read_text(root, "lens", profile.lens, error) || !read_text(root, "date", profile.date, error) ||
        !read_text(root, "note", profile.note, error) || !read_positive(root, "nd_factor", profile.nd_factor, error) ||
        !read_positive(root, "calibration_factor", profile.calibration_factor, error))
        return bad(error);
    if (const JsonValue* response = root.find("response"); response && !response->is_null()) {
        profile.response = read_response(*response, error);
        if (!profile.response) return bad(error);
    }
    if (const JsonValue* vignetting = root.find("vignetting"); vignetting && !vignetting->is_null()) {
        if (!vignetting->is_array()) return bad("\"vignetting\" is not a list of numbers");
        for (const JsonValue& a : vignetting->as_array()) {
            if (!a.is_number()) return bad("\"vignetting\" is not a list of numbers");
            profile.vignetting.push_back(a.as_number());
        }
        // A fall-off that reaches zero or below inside the circle cannot be divided out.
        for (int i = 0; i <= 100; ++i)
            if (!(vignetting_falloff(profile.vignetting, i / 100.0) > 0.01))
                return bad("\"vignetting\" leaves no light inside the image circle");
    }
    if (const JsonValue* data = root.find("vignetting_data"); data && !data->is_null()) {
        const auto pair_of = [](const JsonValue& item) {
            return item.is_array() && item.as_array().size() == 2 && item.as_array()[0].is_number() &&
                   item.as_array()[1].is_number();
        };
        if (!data->is_array()) return bad("\"vignetting_data\" is not a list of [r, measured] pairs");
        for (const JsonValue& item : data->as_array()) {
            if (!pair_of(item)) return bad("\"vignetting_data\" is not a list of [r, measured] pairs");
            profile.vignetting_data.emplace_back(item.as_array()[0].as_number(), item.as_array()[1].as_number());
        }
    }
    if (!read_text(root, "vignetting_picture", profile.vignetting_picture, error)) return bad(error);
    if (const JsonValue* projection = root.find("projection"); projection && !projection->is_null()) {
        profile.projection = read_projection(*projection, error);
        if (!profile.projection) return bad(error);
    }
    profile.document = std::move(document).value();
    return profile;
}

std::string camera_profile_text(const CameraProfile& profile) {
    JsonValue root = profile.document.is_object() ? profile.document : JsonValue(JsonValue::Object{});
    root.set("format", format_name);
    root.set("name", profile.name);
    root.set("camera", profile.camera);
    root.set("lens", profile.lens);
    if (profile.response) {
        JsonValue curves{JsonValue::Object{}};
        for (int c = 0; c < 3; ++c) curves.set(channel_keys[c], numbers(profile.response->log_signal[c]));
        root.set("response", curves);
    } else {
        root.erase("response");
    }
    if (profile.vignetting.empty()) root.erase("vignetting");
    else root.set("vignetting", numbers(profile.vignetting));
    if (profile.vignetting_data.empty()) {
        root.erase("vignetting_data");
    } else {
        JsonValue::Array rings;
        for (const auto& [r, measured] : profile.vignetting_data) rings.emplace_back(JsonValue::Array{r, measured});
        root.set("vignetting_data", JsonValue(std::move(rings)));
    }
    if (profile.vignetting_picture.empty()) root.erase("vignetting_picture");
    else root.set("vignetting_picture", profile.vignetting_picture);
    if (profile.projection) {
        // Keep keys of the projection object a later version may have added.
        const JsonValue* old = root.find("projection");
        JsonValue projection = old && old->is_object() ? *old : JsonValue(JsonValue::Object{});
        projection.set("view", profile.projection->view);
        projection.set("horizontal_angle", profile.projection->horizontal_angle);
        projection.set("vertical_angle", profile.projection->vertical_angle);
        projection.set("centre_x", profile.projection->circle.centre_x);
        projection.set("centre_y", profile.projection->circle.centre_y);
        projection.set("radius", profile.projection->circle.radius);
        root.set("projection", projection);
    } else {
        root.erase("projection");
    }
    root.set("nd_factor", profile.nd_factor);
    root.set("calibration_factor", profile.calibration_factor);
    root.set("date", profile.date);
    root.set("note", profile.note);
    return json_text(root);
}

Result<CameraProfile> read_camera_profile(const std::string& path) {
    const auto bytes = read_file_bytes(path);
    if (!bytes) return bad(path + ": cannot be read");
    // Profiles are a few kilobytes; anything far larger is not one.
    if (bytes->size() > (1u << 20)) return bad(path + ": too large for a camera profile");
    auto profile = parse_camera_profile(*bytes);
    if (!profile) return bad(path + ": " + profile.failure().message);
    profile.value().folder = fs::path(path).parent_path().string();
    return profile;
}

Result<bool> write_camera_profile(const std::string& path, const CameraProfile& profile) {
    const std::string temporary = path + ".part";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << camera_profile_text(profile);
        if (!out.flush()) {
            std::error_code ec;
            fs::remove(temporary, ec);
            return bad(path + ": cannot be written");
        }
    }
    std::error_code ec;
    fs::rename(temporary, path, ec);
    if (ec) {
        fs::remove(temporary, ec);
        return bad(path + ": cannot be written");
    }
    return true;
}

std::string profile_folder() { return profile_folder(platform_folders_from_environment().appdata); }

std::string profile_folder(const std::optional<std::string>& configuration_folder) {
    if (!configuration_folder) return "";
    return *configuration_folder + "/candelux/profiles";
}

std::string profile_path(const std::string& name_or_path) {
    std::error_code ec;
    const bool has_extension = name_or_path.size() > 11 &&
                               name_or_path.compare(name_or_path.size() - 11, 11, profile_extension) == 0;
    if (fs::is_regular_file(name_or_path, ec) || name_or_path.find('/') != std::string::npos || has_extension)
        return name_or_path;
    const std::string folder = profile_folder();
    return (folder.empty() ? std::string(".") : folder) + "/" + name_or_path + profile_extension;
}

std::string profile_date_today() { return now_as_text("%Y-%m-%d", Clock::utc); }
