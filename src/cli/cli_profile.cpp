// profile circle | show | vignetting: camera profiles from scripts.

#include <filesystem>
#include <unistd.h>

#include "assembly/assemble_series.h"
#include "assembly/series_exposures.h"
#include "cli/cli_commands.h"
#include "common/json_value.h"
#include "common/regular_file.h"
#include "common/text_format.h"
#include "picture/rgbe_reader.h"
#include "profiles/apply_profile.h"
#include "profiles/assemble_with_profile.h"
#include "profiles/camera_profile.h"
#include "profiles/image_circle.h"
#include "profiles/vignetting_fit.h"
#include "settings/platform_folders.h"

namespace fs = std::filesystem;

namespace {

JsonValue circle_json(const ImageCircle& circle) {
    JsonValue json{JsonValue::Object{}};
    json.set("centre_x", circle.centre_x);
    json.set("centre_y", circle.centre_y);
    json.set("radius", circle.radius);
    return json;
}

// An existing profile, or a new one named after its file.
Result<CameraProfile> open_or_create(const std::string& path, bool& created) {
    std::error_code ec;
    created = !fs::exists(path, ec);
    if (!created) return read_camera_profile(path);
    CameraProfile profile;
    profile.name = fs::path(path).stem().string();
    return profile;
}

Result<bool> save(const std::string& path, CameraProfile& profile) {
    const fs::path folder = fs::path(path).parent_path();
    if (!folder.empty() && folder.string() == profile_folder()) ensure_private_folder(folder.string());
    profile.date = profile_date_today();
    return write_camera_profile(path, profile);
}

LensProjection& projection_of(CameraProfile& profile) {
    if (!profile.projection) profile.projection = LensProjection{};
    return *profile.projection;
}

int run_circle(const ProfileOptions& options, const CliOutput& output) {
    auto map = read_picture(options.pictures[0]);
    if (!map) return output.fail(exit_bad_input, map.failure().message);
    auto circle = find_image_circle(map.value());
    if (!circle) return output.fail(exit_failed, options.pictures[0] + ": " + circle.failure().message);
    if (!options.save_to.empty()) {
        const std::string path = profile_path(options.save_to);
        bool created = false;
        auto profile = open_or_create(path, created);
        if (!profile) return output.fail(exit_bad_input, profile.failure().message);
        projection_of(profile.value()).circle = circle.value();
        auto saved = save(path, profile.value());
        if (!saved) return output.fail(exit_failed, saved.failure().message);
    }
    const ImageCircle& c = circle.value();
    if (options.json) output.out << json_text(circle_json(c));
    else output.out << strprintf("%.2f %.2f %.2f\n", c.centre_x, c.centre_y, c.radius);
    return 0;
}

std::string vignetting_text(const std::vector<double>& a) {
    if (a.empty()) return "none";
    std::string text = "1";
    for (size_t k = 0; k < a.size(); ++k) text += strprintf(" %+.6g r^%zu", a[k], 2 * (k + 1));
    return text + strprintf("  (%.1f %% of the centre's light at r = 1)", vignetting_falloff(a, 1) * 100);
}

int run_show(const ProfileOptions& options, const CliOutput& output) {
    const std::string path = profile_path(options.profile);
    auto read = read_camera_profile(path);
    if (!read) return output.fail(exit_bad_input, read.failure().message);
    const CameraProfile& p = read.value();
    if (options.json) {
        JsonValue json{JsonValue::Object{}};
        json.set("file", path);
        json.set("name", p.name);
        json.set("camera", p.camera);
        json.set("lens", p.lens);
        json.set("response", p.response.has_value());
        JsonValue::Array a;
        for (double v : p.vignetting) a.emplace_back(v);
        json.set("vignetting", a);
        json.set("vignetting_picture", p.vignetting_picture);
        if (p.projection) {
            JsonValue projection = circle_json(p.projection->circle);
            projection.set("view", p.projection->view);
            projection.set("horizontal_angle", p.projection->horizontal_angle);
            projection.set("vertical_angle", p.projection->vertical_angle);
            json.set("projection", projection);
        } else {
            json.set("projection", JsonValue());
        }
        json.set("nd_factor", p.nd_factor);
        json.set("calibration_factor", p.calibration_factor);
        json.set("date", p.date);
        json.set("note", p.note);
        output.out << json_text(json);
        return 0;
    }
    output.out << "file: " << path << "\nname: " << p.name << "\ncamera: " << (p.camera.empty() ? "any" : p.camera)
               << "\nlens: " << (p.lens.empty() ? "any" : p.lens) << "\nresponse: "
               << (p.response ? "stored" : "none (recovered from each series)") << "\nvignetting: "
               << vignetting_text(p.vignetting) << "\nvignetting picture: "
               << (p.vignetting_picture.empty() ? "none" : vignetting_picture_path(p) + " (in place of the polynomial)")
               << "\nprojection: ";
    if (p.projection) {
        const auto& j = *p.projection;
        output.out << strprintf("%s %g x %g degrees", j.view.c_str(), j.horizontal_angle, j.vertical_angle);
        if (j.circle.radius > 0)
            output.out << strprintf(", image circle centre %.2f %.2f radius %.2f", j.circle.centre_x,
                                    j.circle.centre_y, j.circle.radius);
        output.out << '\n';
    } else {
        output.out << "none\n";
    }
    output.out << strprintf("nd factor: %g\ncalibration factor: %g\n", p.nd_factor, p.calibration_factor)
               << "date: " << p.date << "\nnote: " << p.note << '\n';
    return 0;
}

std::string scratch_picture(const char* purpose) {
    return (fs::temp_directory_path() / ("candelux-" + std::string(purpose) + "-" + std::to_string(::getpid()) + ".hdr"))
        .string();
}

// One assembled picture as it is, or a series assembled into a scratch file;
// kept as `keep_as` too unless that is "".
Result<LuminanceMap> uniform_picture(const std::vector<std::string>& pictures, const CameraProfile& profile,
                                     std::vector<ShotExposure>& shots, const std::string& keep_as) {
    std::error_code ec;
    if (pictures.size() == 1 && read_picture_header(pictures[0])) {
        auto map = read_picture(pictures[0]);
        if (map && !keep_as.empty() && !fs::equivalent(pictures[0], keep_as, ec) &&
            !fs::copy_file(pictures[0], keep_as, fs::copy_options::overwrite_existing, ec))
            return Failure{-1, keep_as + ": cannot be written"};
        return map;
    }
    auto read = read_series_exposures(pictures, std::nullopt);
    if (!read) return read.failure();
    shots = read.value();
    const std::string scratch = keep_as.empty() ? scratch_picture("vignetting") : keep_as;
    AssemblyRequest request{pictures, shots, profile.response, 12.5, false};
    auto report = assemble_series(request, scratch);
    if (!report) return report.failure();
    auto map = read_picture(scratch);
    if (keep_as.empty()) fs::remove(scratch, ec);
    return map;
}

int run_vignetting(const ProfileOptions& options, const CliOutput& output) {
    const std::string path = profile_path(options.profile);
    bool created = false;
    auto opened = open_or_create(path, created);
    if (!opened) return output.fail(exit_bad_input, opened.failure().message);
    CameraProfile& profile = opened.value();
    std::vector<ShotExposure> shots;
    // Beside the profile, named after it, so the two move together.
    const std::string kept_name = fs::path(path).stem().string() + "-vignetting.hdr";
    const std::string kept = options.keep_picture ? (fs::path(path).parent_path() / kept_name).string() : "";
    if (options.keep_picture) {
        const fs::path folder = fs::path(path).parent_path();
        if (!folder.empty() && folder.string() == profile_folder()) ensure_private_folder(folder.string());
    }
    auto map = uniform_picture(options.pictures, profile, shots, kept);
    if (!map) return output.fail(exit_bad_input, map.failure().message);
    if (created && !shots.empty()) {
        profile.camera = shots[0].camera;
        profile.lens = shots[0].lens;
    }
    ImageCircle circle;
    if (profile.projection) circle = profile.projection->circle;
    bool found = false;
    if (circle.radius <= 0) {
        // A fisheye's disc on a uniform scene is found reliably; a lens that
        // covers the sensor has none, and its corners are the reference.
        if (auto detected = find_image_circle(map.value())) {
            circle = detected.value();
            projection_of(profile).circle = circle;
            found = true;
        }
    }
    auto fit = fit_vignetting(map.value(), circle);
    if (!fit) return output.fail(exit_failed, fit.failure().message);
    store_vignetting_fit(profile, fit.value());
    if (options.keep_picture) profile.vignetting_picture = kept_name;
    auto saved = save(path, profile);
    if (!saved) return output.fail(exit_failed, saved.failure().message);
    const VignettingFit& f = fit.value();
    const ImageCircle used = measuring_circle(map.value(), circle);
    if (options.json) {
        JsonValue json{JsonValue::Object{}};
        json.set("profile", path);
        JsonValue::Array a, rings;
        for (double v : f.coefficients) a.emplace_back(v);
        json.set("vignetting", a);
        json.set("rms_percent", f.rms_percent);
        json.set("circle", circle_json(used));
        json.set("circle_found", found);
        for (const VignettingRing& ring : f.rings)
            rings.emplace_back(JsonValue::Array{ring.radius, ring.measured, ring.fitted});
        json.set("rings", rings);
        if (options.keep_picture) json.set("vignetting_picture", kept);
        output.out << json_text(json);
        return 0;
    }
    output.out << strprintf("circle: %.2f %.2f %.2f%s\n", used.centre_x, used.centre_y, used.radius,
                            found ? " (found, stored)" : circle.radius > 0 ? "" : " (the picture's half diagonal)");
    output.out << "     r  measured    fitted\n";
    for (const VignettingRing& ring : f.rings)
        output.out << strprintf("%6.3f  %8.4f  %8.4f\n", ring.radius, ring.measured, ring.fitted);
    if (options.keep_picture) output.out << "vignetting picture: " << kept << '\n';
    output.out << "vignetting: " << vignetting_text(f.coefficients) << '\n'
               << strprintf("fit: %.2f %% rms over %zu rings\n", f.rms_percent, f.rings.size())
               << (created ? "created " : "stored in ") << path << '\n';
    return 0;
}

// The series is assembled as `assemble` does, the curve always recovered
// (never the profile's own), and kept.
int run_response(const ProfileOptions& options, const CliOutput& output) {
    const std::string path = profile_path(options.profile);
    bool created = false;
    auto opened = open_or_create(path, created);
    if (!opened) return output.fail(exit_bad_input, opened.failure().message);
    CameraProfile& profile = opened.value();
    auto shots = read_series_exposures(options.pictures, std::nullopt);
    if (!shots) return output.fail(exit_bad_input, shots.failure().message);
    if (created) {
        profile.camera = shots.value()[0].camera;
        profile.lens = shots.value()[0].lens;
    }
    const std::string mismatch = profile_mismatch(profile, options.pictures, shots.value());
    if (!mismatch.empty()) return output.fail(exit_bad_input, mismatch);
    for (const std::string& sentence : changing_settings(shots.value())) output.warn(sentence);
    const std::string scratch = scratch_picture("response");
    AssemblyRequest request{options.pictures, shots.value(), std::nullopt, 12.5, false};
    auto report = assemble_series(request, scratch);
    std::error_code ec;
    fs::remove(scratch, ec);
    if (!report) return output.fail(exit_bad_input, report.failure().message);
    profile.response = report.value().response;
    auto saved = save(path, profile);
    if (!saved) return output.fail(exit_failed, saved.failure().message);
    const double residual = report.value().response_residual.value_or(0);
    if (options.json) {
        JsonValue json{JsonValue::Object{}};
        json.set("profile", path);
        json.set("created", created);
        json.set("response_residual", residual);
        output.out << json_text(json);
        return 0;
    }
    output.out << strprintf("response: recovered from %zu pictures, residual %.4g\n", options.pictures.size(), residual)
               << (created ? "created " : "stored in ") << path << '\n';
    return 0;
}

// Every picture is checked before any is written.
int run_apply(const ProfileOptions& options, const CliOutput& output) {
    auto read = read_camera_profile(profile_path(options.profile));
    if (!read) return output.fail(exit_bad_input, read.failure().message);
    const CameraProfile& profile = read.value();
    std::error_code ec;
    if (!fs::is_directory(options.out_dir, ec))
        return output.fail(exit_bad_input, "the folder " + options.out_dir + " does not exist");
    std::vector<std::string> outputs;
    for (const std::string& picture : options.pictures) {
        if (const std::string problem = regular_file_problem(picture); !problem.empty())
            return output.fail(exit_bad_input, picture + ": " + problem);
        auto header = read_picture_header(picture);
        if (!header) return output.fail(exit_bad_input, picture + ": not a readable Radiance picture");
        for (const std::string& line : header.value())
            if (line.rfind("PROFILE=", 0) == 0)
                return output.fail(exit_bad_input, picture + " has a profile applied already (" + line + ")");
        const std::string target = (fs::path(options.out_dir) / fs::path(picture).filename()).string();
        if (fs::equivalent(picture, target, ec))
            return output.fail(exit_bad_input, picture + ": --out-dir is the picture's own folder");
        if (const std::string problem = existing_output_problem(target, options.overwrite); !problem.empty())
            return output.fail(exit_bad_input, problem);
        outputs.push_back(target);
    }
    for (size_t i = 0; i < outputs.size(); ++i) {
        auto applied = apply_profile(options.pictures[i], outputs[i], profile);
        if (!applied) return output.fail(exit_failed, applied.failure().message);
        output.out << outputs[i] << strprintf(": %d x %d", applied.value().width, applied.value().height)
                   << (applied.value().view_line.empty() ? "" : ", " + applied.value().view_line) << '\n';
    }
    return 0;
}

}  // namespace

int run_profile(const ProfileOptions& options, const CliOutput& output) {
    if (options.action == "circle") return run_circle(options, output);
    if (options.action == "show") return run_show(options, output);
    if (options.action == "response") return run_response(options, output);
    if (options.action == "apply") return run_apply(options, output);
    return run_vignetting(options, output);
}
