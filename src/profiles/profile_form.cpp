#include "profiles/profile_form.h"

#include <algorithm>
#include <filesystem>

#include "common/text_format.h"
#include "picture/rgbe_reader.h"
#include "profiles/image_circle.h"
#include "profiles/vignetting_fit.h"

namespace fs = std::filesystem;

namespace {

std::string number_text(double value) { return strprintf("%.10g", value); }

// The whole text as a number; nothing when it is not one.
std::optional<double> number_of(const std::string& text) {
    double value = 0;
    if (text.empty() || parse_decimal_prefix(text, value) != text.size()) return std::nullopt;
    return value;
}

// A name as a file name: the characters a folder path would split on become _.
std::string file_name_of(const std::string& name) {
    std::string file = name;
    std::replace_if(file.begin(), file.end(), [](char c) { return c == '/' || c == '\\' || c == ':'; }, '_');
    return file + profile_extension;
}

}  // namespace

std::vector<ProfileEntry> list_profiles(const std::string& folder) {
    std::vector<ProfileEntry> entries;
    std::error_code ec;
    if (folder.empty() || !fs::is_directory(folder, ec)) return entries;
    for (const auto& item : fs::directory_iterator(folder, ec)) {
        if (item.path().extension() != profile_extension) continue;
        auto profile = read_camera_profile(item.path().string());
        // A damaged file is still listed, so it can be deleted from here.
        std::string name = profile && !profile.value().name.empty() ? profile.value().name : item.path().stem().string();
        entries.push_back({name, item.path().string()});
    }
    std::sort(entries.begin(), entries.end(),
              [](const ProfileEntry& a, const ProfileEntry& b) { return a.name < b.name || (a.name == b.name && a.path < b.path); });
    return entries;
}

ProfileForm::ProfileForm(ProfileDesktop& desktop, std::string folder)
    : desktop_(desktop), folder_(std::move(folder)) {
    on_refresh();
    if (folder_.empty()) status = "No configuration folder: profiles can only be opened";
}

void ProfileForm::on_refresh() {
    const std::string current = selected >= 0 ? entries[static_cast<size_t>(selected)].path : "";
    entries = list_profiles(folder_);
    for (const ProfileEntry& entry : opened_) entries.push_back(entry);
    selected = -1;
    for (size_t i = 0; i < entries.size(); ++i)
        if (entries[i].path == current) selected = static_cast<int>(i);
    status = strprintf("%zu profiles", entries.size());
}

int ProfileForm::add_entry(const ProfileEntry& entry) {
    for (size_t i = 0; i < entries.size(); ++i)
        if (fs::path(entries[i].path) == fs::path(entry.path)) return static_cast<int>(i);
    opened_.push_back(entry);
    entries.push_back(entry);
    return static_cast<int>(entries.size()) - 1;
}

void ProfileForm::clear_fields() {
    fields = {};
    details.clear();
    loaded_ = {};
    changed = false;
}

void ProfileForm::show_profile(const CameraProfile& profile) {
    loaded_ = profile;
    fields = {};
    fields[profile_field::name] = profile.name;
    fields[profile_field::camera] = profile.camera;
    fields[profile_field::lens] = profile.lens;
    fields[profile_field::nd_factor] = number_text(profile.nd_factor);
    fields[profile_field::calibration_factor] = number_text(profile.calibration_factor);
    if (profile.projection) {
        const LensProjection& p = *profile.projection;
        fields[profile_field::view] = p.view;
        fields[profile_field::horizontal_angle] = number_text(p.horizontal_angle);
        fields[profile_field::vertical_angle] = number_text(p.vertical_angle);
        fields[profile_field::centre_x] = number_text(p.circle.centre_x);
        fields[profile_field::centre_y] = number_text(p.circle.centre_y);
        fields[profile_field::radius] = number_text(p.circle.radius);
    }
    fields[profile_field::note] = profile.note;
    fields[profile_field::vignetting_picture] = profile.vignetting_picture;
    describe(profile);
    changed = false;
}

void ProfileForm::describe(const CameraProfile& profile) {
    details = profile.response ? "Response curves stored" : "Response curves recovered from each series";
    details += profile.vignetting.empty()
                   ? "; no vignetting correction"
                   : strprintf("; vignetting: %.0f %% of the centre's signal at the rim",
                               100 * vignetting_falloff(profile.vignetting, 1));
    if (!profile.vignetting_picture.empty()) details += " (the vignetting picture takes its place)";
    if (!profile.date.empty()) details += "; changed " + profile.date;
}

bool ProfileForm::offer_to_save() {
    if (!changed || selected < 0) return true;
    if (desktop_.profile_question("Save the changes to the profile \"" + fields[profile_field::name] + "\"?"))
        return on_save();
    changed = false;
    return true;
}

bool ProfileForm::on_select(int index) {
    if (index == selected && index >= 0) return true;
    if (!offer_to_save()) return false;
    if (index < 0 || static_cast<size_t>(index) >= entries.size()) {
        selected = -1;
        clear_fields();
        return true;
    }
    selected = index;
    const ProfileEntry& entry = entries[static_cast<size_t>(index)];
    auto profile = read_camera_profile(entry.path);
    if (!profile) {
        clear_fields();
        status = profile.failure().message;
        return true;
    }
    show_profile(profile.value());
    status = entry.path;
    return true;
}

void ProfileForm::on_edit(int field, const std::string& text) {
    if (selected < 0 || field < 0 || field >= profile_field::count) return;
    if (fields[static_cast<size_t>(field)] == text) return;
    fields[static_cast<size_t>(field)] = text;
    // A projection chosen for the first time starts from a full fisheye.
    if (field == profile_field::view && !text.empty()) {
        for (int f : {profile_field::horizontal_angle, profile_field::vertical_angle})
            if (fields[static_cast<size_t>(f)].empty()) fields[static_cast<size_t>(f)] = "180";
        for (int f : {profile_field::centre_x, profile_field::centre_y, profile_field::radius})
            if (fields[static_cast<size_t>(f)].empty()) fields[static_cast<size_t>(f)] = "0";
    }
    changed = true;
}

bool ProfileForm::on_save() {
    if (selected < 0) return false;
    CameraProfile profile = loaded_;
    const auto refuse = [this](const std::string& text) {
        desktop_.profile_message(text, MessageIcon::warning);
        return false;
    };
    profile.name = fields[profile_field::name];
    if (profile.name.empty()) return refuse("The profile needs a name.");
    profile.camera = fields[profile_field::camera];
    profile.lens = fields[profile_field::lens];
    const auto nd = number_of(fields[profile_field::nd_factor]);
    const auto calibration = number_of(fields[profile_field::calibration_factor]);
    if (!nd || !(*nd > 0)) return refuse("The ND factor must be a positive number (1 for no filter).");
    if (!calibration || !(*calibration > 0))
        return refuse("The calibration factor must be a positive number (1 for none).");
    profile.nd_factor = *nd;
    profile.calibration_factor = *calibration;
    if (fields[profile_field::view].empty()) {
        profile.projection.reset();
    } else {
        LensProjection p;
        p.view = fields[profile_field::view];
        const auto h = number_of(fields[profile_field::horizontal_angle]);
        const auto v = number_of(fields[profile_field::vertical_angle]);
        const auto cx = number_of(fields[profile_field::centre_x]);
        const auto cy = number_of(fields[profile_field::centre_y]);
        const auto r = number_of(fields[profile_field::radius]);
        if (!h || !v || !(*h > 0 && *h <= 360 && *v > 0 && *v <= 360))
            return refuse("The view angles must be numbers above 0 and up to 360 degrees.");
        if (!cx || !cy || !r || *r < 0)
            return refuse("The image circle needs its centre in pixels and a radius of 0 (none known) or more.");
        p.horizontal_angle = *h;
        p.vertical_angle = *v;
        p.circle = {*cx, *cy, *r};
        profile.projection = p;
    }
    profile.note = fields[profile_field::note];
    profile.vignetting_picture = fields[profile_field::vignetting_picture];
    if (!profile.vignetting_picture.empty()) {
        profile.folder = fs::path(entries[static_cast<size_t>(selected)].path).parent_path().string();
        const std::string picture = vignetting_picture_path(profile);
        if (!read_picture_header(picture))
            return refuse("The vignetting picture " + picture + " is not a readable Radiance picture.");
    }
    profile.date = profile_date_today();
    ProfileEntry& entry = entries[static_cast<size_t>(selected)];
    auto written = write_camera_profile(entry.path, profile);
    if (!written) {
        desktop_.profile_message(written.failure().message, MessageIcon::error);
        return false;
    }
    show_profile(profile);
    entry.name = profile.name;
    for (ProfileEntry& other : opened_)
        if (other.path == entry.path) other.name = profile.name;
    changed = false;
    status = "Saved " + entry.path;
    return true;
}

bool ProfileForm::on_new() {
    if (!offer_to_save()) return false;
    if (folder_.empty()) {
        desktop_.profile_message("There is no configuration folder to keep profiles in.", MessageIcon::warning);
        return false;
    }
    const std::string name = desktop_.ask_profile_name();
    if (name.empty()) return false;
    const std::string path = (fs::path(folder_) / file_name_of(name)).string();
    std::error_code ec;
    if (fs::exists(path, ec)) {
        desktop_.profile_message("A profile file " + path + " exists already.", MessageIcon::warning);
        return false;
    }
    fs::create_directories(folder_, ec);
    CameraProfile profile;
    profile.name = name;
    profile.date = profile_date_today();
    auto written = write_camera_profile(path, profile);
    if (!written) {
        desktop_.profile_message(written.failure().message, MessageIcon::error);
        return false;
    }
    selected = -1;
    on_refresh();
    for (size_t i = 0; i < entries.size(); ++i)
        if (entries[i].path == path) on_select(static_cast<int>(i));
    status = "Created " + path;
    return true;
}

bool ProfileForm::on_open() {
    if (!offer_to_save()) return false;
    const std::string path = desktop_.choose_profile_file();
    if (path.empty()) return false;
    auto profile = read_camera_profile(path);
    if (!profile) {
        desktop_.profile_message(profile.failure().message, MessageIcon::error);
        return false;
    }
    const std::string name = profile.value().name.empty() ? fs::path(path).stem().string() : profile.value().name;
    const int index = add_entry({name, path});
    selected = -1;
    on_select(index);
    return true;
}

bool ProfileForm::on_delete() {
    if (selected < 0) return false;
    const ProfileEntry entry = entries[static_cast<size_t>(selected)];
    if (!desktop_.profile_question("Delete the profile \"" + entry.name + "\" (" + entry.path + ")?")) return false;
    std::error_code ec;
    if (!fs::remove(entry.path, ec)) {
        desktop_.profile_message(entry.path + ": cannot be deleted", MessageIcon::error);
        return false;
    }
    std::erase_if(opened_, [&](const ProfileEntry& e) { return e.path == entry.path; });
    selected = -1;
    clear_fields();
    on_refresh();
    status = "Deleted " + entry.path;
    return true;
}

void ProfileForm::on_close() { offer_to_save(); }

bool ProfileForm::on_fit_vignetting() {
    if (selected < 0) return false;
    const std::string path = desktop_.choose_profile_picture("Fit Vignetting to a Uniform Scene");
    if (path.empty()) return false;
    auto map = load_luminance_map(path);
    if (!map || map.value().empty()) {
        desktop_.profile_message(path + ": not a readable Radiance picture", MessageIcon::error);
        return false;
    }
    ImageCircle circle;
    const auto radius = number_of(fields[profile_field::radius]);
    const bool known = !fields[profile_field::view].empty() && radius && *radius > 0;
    if (known) {
        circle = {number_of(fields[profile_field::centre_x]).value_or(0),
                  number_of(fields[profile_field::centre_y]).value_or(0), *radius};
    } else if (auto found = find_image_circle(map.value())) {
        // A fisheye's disc: the circle goes into the projection's fields.
        circle = found.value();
        if (fields[profile_field::view].empty()) on_edit(profile_field::view, "-vta");
        // Hundredths of a pixel: what a hand measurement could check.
        on_edit(profile_field::centre_x, strprintf("%.2f", circle.centre_x));
        on_edit(profile_field::centre_y, strprintf("%.2f", circle.centre_y));
        on_edit(profile_field::radius, strprintf("%.2f", circle.radius));
    }
    auto fit = fit_vignetting(map.value(), circle);
    if (!fit) {
        desktop_.profile_message(path + ": " + fit.failure().message, MessageIcon::warning);
        return false;
    }
    store_vignetting_fit(loaded_, fit.value());
    describe(loaded_);
    changed = true;
    status = strprintf("Fitted to %s: %.2f %% rms over %zu rings; Save keeps it",
                       fs::path(path).filename().c_str(), fit.value().rms_percent, fit.value().rings.size());
    return true;
}

bool ProfileForm::on_choose_vignetting_picture() {
    if (selected < 0) return false;
    const std::string path = desktop_.choose_profile_picture("Choose the Vignetting Picture");
    if (path.empty()) return false;
    // Beside the profile, the name alone: the two can then move together.
    const fs::path folder = fs::path(entries[static_cast<size_t>(selected)].path).parent_path();
    const fs::path chosen(path);
    on_edit(profile_field::vignetting_picture,
            chosen.parent_path() == folder ? chosen.filename().string() : chosen.string());
    return true;
}
