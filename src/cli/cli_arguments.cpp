#include "cli/cli_arguments.h"

#include <charconv>

#include "assembly/series_exposures.h"
#include "common/numeric_edit.h"
#include "common/text_format.h"
#include "common/unsigned_field.h"

namespace {

Failure bad(std::string message) { return Failure{-2, std::move(message)}; }

// Options are long ("--rect"); a word with one dash is a value ("-1").
bool is_option(const std::string& word) { return word.rfind("--", 0) == 0 || word == "-h"; }

bool is_help(const std::string& word) { return word == "--help" || word == "-h"; }

std::vector<std::string> split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (;;) {
        const size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos) return parts;
        start = end + 1;
    }
}

std::optional<int64_t> whole_number(const std::string& text) {
    int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

// The words of one command: its options, each with its value where it takes
// one, and the positional words in order.
class Words {
public:
    Words(const std::vector<std::string>& words) : words_(words) {}

    bool more() const { return at_ < words_.size(); }
    const std::string& take() { return words_[at_++]; }
    Result<std::string> value_of(const std::string& option) {
        if (!more()) return bad(option + " needs a value");
        return take();
    }
    Result<std::string> non_empty_value_of(const std::string& option, const std::string& what = "a value") {
        auto value = value_of(option);
        if (value && value.value().empty()) return bad(option + " needs " + what);
        return value;
    }

private:
    const std::vector<std::string>& words_;
    size_t at_ = 1;  // after the command's name
};

Failure positional_failure(const std::vector<std::string>& positional, size_t wanted, const std::string& usage) {
    if (positional.size() > wanted) return bad("unexpected word \"" + positional[wanted] + "\"; usage: " + usage);
    return bad("too few words; usage: " + usage);
}

// --percentile U,L, --criterion KIND,T and --weighted into `options`: true
// when `word` is one of them.
Result<bool> take_figure_option(const std::string& word, Words& words, RegionFigureOptions& options) {
    if (word == "--weighted") {
        options.weighted = true;
        return true;
    }
    if (word != "--percentile" && word != "--criterion") return false;
    auto value = words.value_of(word);
    if (!value) return value.failure();
    const std::vector<std::string> parts = split(value.value(), ',');
    if (word == "--percentile") {
        // The wizard's fields take whole percentages; a fraction or a sign
        // would be cut there without a word, so it is refused here.
        if (parts.size() != 2) return bad("--percentile: \"" + value.value() + "\" is not 2 numbers separated by \",\"");
        float percents[2];
        for (size_t i = 0; i < 2; ++i) {
            const auto percent = parse_unsigned_field(parts[i]);
            if (!percent || *percent < 1 || *percent > 100)
                return bad("--percentile: each percentage must be a whole number from 1 to 100, not \"" + parts[i] +
                           "\"");
            percents[i] = static_cast<float>(*percent);
        }
        options.upper_percentile = percents[0];
        options.lower_percentile = percents[1];
        return true;
    }
    const std::string kind = parts.front();
    if (kind == "greater") options.criterion_kind = CriterionKind::greater_than;
    else if (kind == "lesser") options.criterion_kind = CriterionKind::lesser_than;
    else if (kind == "equal") options.criterion_kind = CriterionKind::equal_to;
    else return bad("--criterion: \"" + kind + "\" is not greater, lesser or equal");
    if (parts.size() != 2) return bad("--criterion: give the kind and a threshold number, e.g. lesser,2000");
    const auto threshold = parse_unsigned_field(parts[1]);
    if (!threshold)
        return bad("--criterion: the threshold must be a whole number of cd/m2 from 0, not \"" + parts[1] + "\"");
    options.criterion_threshold = static_cast<float>(*threshold);
    return true;
}

Result<RegionChoice> parse_region(const std::string& option, const std::string& value) {
    RegionChoice choice;
    choice.source = RegionChoice::Source::drawn;
    Region& r = choice.geometry;
    if (option == "--rect") {
        auto numbers = parse_number_list(value, 4);
        if (!numbers) return bad("--rect: " + numbers.failure().message);
        const auto& n = numbers.value();
        choice.tool = RegionKind::rectangle;
        r.x0 = n[0], r.y0 = n[1], r.x1 = n[2], r.y1 = n[3];
    } else if (option == "--circle") {
        auto numbers = parse_number_list(value, 3);
        if (!numbers) return bad("--circle: " + numbers.failure().message);
        const auto& n = numbers.value();
        choice.tool = RegionKind::circle;
        r.radius = n[0], r.centre_x = n[1], r.centre_y = n[2];
    } else if (option == "--polygon") {
        const std::vector<std::string> vertices = split(value, ';');
        if (vertices.size() > static_cast<size_t>(max_polygon_vertices))
            return bad("--polygon: at most 256 vertices");
        choice.tool = RegionKind::polygon;
        for (const std::string& vertex : vertices) {
            auto numbers = parse_number_list(vertex, 2);
            if (!numbers) return bad("--polygon: vertex \"" + vertex + "\": " + numbers.failure().message);
            r.vertices[static_cast<size_t>(r.vertex_count++)] = {numbers.value()[0], numbers.value()[1]};
        }
    } else {
        choice.source = RegionChoice::Source::mask_file;
        choice.mask_file = value;
        choice.mask_type = mask_type_of(value);
        if (choice.mask_type == 0) return bad("--mask: " + value + " is not a .hdr, .pic, .bmp or .tif file");
    }
    return choice;
}

// Exactly `count` words and no option, for a command that takes none.
Result<std::vector<std::string>> only_positional(Words& words, size_t count, const std::string& usage) {
    std::vector<std::string> positional;
    while (words.more()) {
        const std::string& word = words.take();
        if (is_option(word)) return bad("unknown option " + word);
        positional.push_back(word);
    }
    if (positional.size() != count) return positional_failure(positional, count, usage);
    return positional;
}

Result<CliCommand> parse_luminance(Words words) {
    auto words_given = only_positional(words, 3, "luminance PICTURE X Y");
    if (!words_given) return words_given.failure();
    const std::vector<std::string>& positional = words_given.value();
    LuminanceOptions options;
    options.picture = positional[0];
    const auto x = whole_number(positional[1]), y = whole_number(positional[2]);
    if (!x || *x < 0) return bad("X must be a whole number from 0, not \"" + positional[1] + "\"");
    if (!y || *y < 0) return bad("Y must be a whole number from 0, not \"" + positional[2] + "\"");
    options.x = *x;
    options.y = *y;
    return CliCommand{options};
}

Result<CliCommand> parse_illuminance(Words words) {
    IlluminanceOptions options;
    std::vector<std::string> positional;
    while (words.more()) {
        const std::string word = words.take();
        if (!is_option(word)) {
            positional.push_back(word);
        } else if (word == "--weights") {
            auto value = words.value_of(word);
            if (!value) return value.failure();
            const auto weights = luminance_weights_named(value.value());
            if (!weights) return bad("--weights: \"" + value.value() + "\" is neither bt709 nor radiance");
            options.weights = *weights;
        } else {
            return bad("unknown option " + word);
        }
    }
    if (positional.size() != 1) return positional_failure(positional, 1, "illuminance PICTURE [--weights bt709|radiance]");
    options.picture = positional[0];
    return CliCommand{options};
}

Result<CliCommand> parse_stats(Words words) {
    StatsOptions options;
    std::vector<std::string> positional;
    bool region_given[2] = {false, false};
    bool in_b = false;
    while (words.more()) {
        const std::string word = words.take();
        if (!is_option(word)) {
            positional.push_back(word);
        } else if (word == "--rect" || word == "--circle" || word == "--polygon" || word == "--mask") {
            auto value = words.value_of(word);
            if (!value) return value.failure();
            auto region = parse_region(word, value.value());
            if (!region) return region.failure();
            if (region_given[in_b]) return bad(std::string(in_b ? "Region B" : "the region") + " is given twice");
            region_given[in_b] = true;
            if (in_b) options.region_b = region.value();
            else options.region = region.value();
        } else if (word == "--region-b") {
            if (in_b) return bad("--region-b is given twice");
            in_b = true;
        } else if (auto figure = take_figure_option(word, words, options); !figure || figure.value()) {
            if (!figure) return figure.failure();
        } else if (word == "--report") {
            auto value = words.value_of(word);
            if (!value) return value.failure();
            options.report_base = value.value();
        } else if (word == "--overwrite") {
            options.overwrite = true;
        } else if (word == "--json") {
            options.json = true;
        } else if (word == "--csv") {
            options.csv = true;
        } else if (word == "--regions") {
            auto value = words.non_empty_value_of(word);
            if (!value) return value.failure();
            if (!options.regions_file.empty()) return bad("--regions is given twice");
            options.regions_file = value.value();
        } else {
            return bad("unknown option " + word);
        }
    }
    if (positional.size() != 1) return positional_failure(positional, 1, "stats PICTURE [options]");
    options.picture = positional[0];
    if (in_b && !region_given[1]) return bad("--region-b needs a region option after it");
    if (in_b && (options.upper_percentile || options.criterion_kind))
        return bad("--percentile and --criterion are for one region; two regions give their contrast");
    if (!options.regions_file.empty() && (region_given[0] || in_b))
        return bad("--regions takes its regions from the file; give no other region option with it");
    if (options.csv && options.regions_file.empty()) return bad("--csv goes with --regions");
    if (options.csv && options.json) return bad("give --json or --csv, not both");
    return CliCommand{options};
}

Result<CliCommand> parse_falsecolor(Words words) {
    FalsecolorOptions options;
    std::vector<std::string> positional;
    std::vector<std::string> folder_only;  // options that need --out-dir
    int scale_choices = 0;
    while (words.more()) {
        const std::string word = words.take();
        if (!is_option(word)) {
            positional.push_back(word);
        } else if (word == "--range") {
            auto value = words.value_of(word);
            if (!value) return value.failure();
            auto numbers = parse_number_list(value.value(), 2);
            if (!numbers) return bad("--range: " + numbers.failure().message);
            const std::vector<std::string> parts = split(value.value(), ',');
            // The window would show a negative bound as positive.
            for (size_t i = 0; i < 2; ++i)
                if (numbers.value()[i] < 0 || parts[i].find('-') != std::string::npos)
                    return bad("--range: a luminance cannot be negative, not \"" + parts[i] + "\"");
            options.bottom_text = parts[0];
            options.top_text = parts[1];
            ++scale_choices;
        } else if (word == "--overwrite") {
            options.overwrite = true;
        } else if (word == "--out-dir" || word == "--scale") {
            auto value = words.non_empty_value_of(word);
            if (!value) return value.failure();
            (word == "--out-dir" ? options.out_dir : options.scale_file) = value.value();
            if (word == "--scale") ++scale_choices, folder_only.push_back(word);
        } else if (word == "--auto-scale" || word == "--legend" || word == "--extrema" || word == "--contours" ||
                   word == "--png") {
            (word == "--auto-scale" ? options.auto_scale
             : word == "--legend"   ? options.legend
             : word == "--extrema"  ? options.extrema
             : word == "--contours" ? options.contours
                                    : options.png) = true;
            if (word == "--auto-scale") ++scale_choices;
            folder_only.push_back(word);
        } else {
            return bad("unknown option " + word);
        }
    }
    if (scale_choices > 1) return bad("give one of --scale, --range and --auto-scale");
    if (options.out_dir.empty()) {
        if (!folder_only.empty()) return bad(folder_only.front() + " needs --out-dir DIR");
        if (positional.size() != 2)
            return positional_failure(positional, 2, "falsecolor PICTURE OUT.bmp [--range LO,HI]");
        options.picture = positional[0];
        options.output = positional[1];
        return CliCommand{options};
    }
    if (positional.empty()) return bad("too few words; usage: falsecolor PICTURE... --out-dir DIR [options]");
    options.pictures = positional;
    return CliCommand{options};
}

Result<CliCommand> parse_batch(Words words) {
    BatchOptions options;
    std::vector<std::string> positional;
    while (words.more()) {
        const std::string word = words.take();
        if (!is_option(word)) {
            positional.push_back(word);
        } else if (word == "--jobs") {
            auto value = words.value_of(word);
            if (!value) return value.failure();
            const auto jobs = whole_number(value.value());
            if (!jobs || *jobs < 1 || *jobs > 1024)
                return bad("--jobs must be a whole number from 1 to 1024, not \"" + value.value() + "\"");
            options.jobs = static_cast<int>(*jobs);
        } else if (word == "--overwrite") {
            options.overwrite = true;
        } else if (word == "--emit-jobs") {
            options.emit_jobs = true;
        } else if (word == "--cache-folder" || word == "--picture") {
            auto value = words.non_empty_value_of(word);
            if (!value) return value.failure();
            (word == "--picture" ? options.picture : options.cache_folder) = value.value();
        } else if (word == "--regions") {
            auto value = words.non_empty_value_of(word);
            if (!value) return value.failure();
            if (!options.regions_file.empty()) return bad("--regions is given twice");
            options.regions_file = value.value();
        } else if (auto figure = take_figure_option(word, words, options); !figure || figure.value()) {
            if (!figure) return figure.failure();
        } else {
            return bad("unknown option " + word);
        }
    }
    if (positional.size() != 2) return positional_failure(positional, 2, "batch SEQUENCE FOLDER [options]");
    if (options.regions_file.empty() &&
        (options.upper_percentile || options.criterion_kind || options.weighted))
        return bad("--percentile, --criterion and --weighted go with --regions");
    options.sequence = positional[0];
    options.folder = positional[1];
    return CliCommand{options};
}

Result<CliCommand> parse_series(Words words) {
    SeriesCliOptions options;
    const char* usage = "series FOLDER --csv OUT.csv [options], or series --collect PART... --csv OUT.csv";
    bool figures_given = false;
    while (words.more()) {
        const std::string word = words.take();
        if (!is_option(word)) {
            options.inputs.push_back(word);
        } else if (word == "--jobs" || word == "--chunk") {
            auto value = words.value_of(word);
            if (!value) return value.failure();
            const auto number = whole_number(value.value());
            if (!number || *number < 1 || *number > 1024)
                return bad(word + " must be a whole number from 1 to 1024, not \"" + value.value() + "\"");
            (word == "--jobs" ? options.jobs : options.chunk) = static_cast<int>(*number);
        } else if (word == "--csv" || word == "--regions" || word == "--plot" || word == "--figure" ||
                   word == "--picture") {
            auto value = words.non_empty_value_of(word);
            if (!value) return value.failure();
            if (word == "--csv") options.csv = value.value();
            else if (word == "--regions") options.regions_file = value.value();
            else if (word == "--plot") options.plot = value.value();
            else if (word == "--picture") options.only.push_back(value.value());
            else options.figures = value.value(), figures_given = true;
        } else if (word == "--glare") {
            auto value = words.value_of(word);
            if (!value) return value.failure();
            options.glare = value.value();
        } else if (word == "--resume") {
            options.resume = true;
        } else if (word == "--overwrite") {
            options.overwrite = true;
        } else if (word == "--emit-jobs") {
            options.emit_jobs = true;
        } else if (word == "--collect") {
            options.collect = true;
        } else {
            return bad("unknown option " + word);
        }
    }
    if (options.inputs.empty()) return bad(std::string("too few words; usage: ") + usage);
    if (options.csv.empty()) return bad("--csv OUT.csv is needed");
    if (options.resume && options.overwrite) return bad("--resume and --overwrite exclude each other");
    if (figures_given && options.plot.empty()) return bad("--figure needs --plot");
    if (options.collect && (options.emit_jobs || options.glare || !options.regions_file.empty() || options.resume ||
                            !options.only.empty()))
        return bad("--collect takes only the parts, --csv, --overwrite and --plot with --figure");
    if (options.emit_jobs && !options.plot.empty()) return bad("--plot goes with --collect, not with --emit-jobs");
    return CliCommand{options};
}

Result<CliCommand> parse_assemble(Words words) {
    AssembleOptions options;
    std::vector<std::string> positional;
    while (words.more()) {
        const std::string word = words.take();
        if (!is_option(word)) {
            positional.push_back(word);
        } else if (word == "--response" || word == "--save-response") {
            auto value = words.non_empty_value_of(word, "a file");
            if (!value) return value.failure();
            (word == "--response" ? options.response_file : options.save_response_file) = value.value();
        } else if (word == "--exposures") {
            auto value = words.value_of(word);
            if (!value) return value.failure();
            std::vector<double> seconds;
            for (const std::string& part : split(value.value(), ',')) {
                const auto time = parse_exposure_time(part);
                if (!time) return bad("--exposures: \"" + part + "\" is not an exposure time such as 1/250 or 0.5");
                seconds.push_back(*time);
            }
            options.exposures = seconds;
        } else if (word == "--meter-constant") {
            auto value = words.value_of(word);
            if (!value) return value.failure();
            const auto number = parse_numeric_field(value.value());
            if (!number || !(*number > 0)) return bad("--meter-constant must be a positive number");
            options.meter_constant = *number;
        } else if (word == "--meter-lux" || word == "--ev-tolerance") {
            auto value = words.value_of(word);
            if (!value) return value.failure();
            const auto number = parse_numeric_field(value.value());
            if (!number || !(*number > 0)) return bad(word + " must be a positive number");
            (word == "--meter-lux" ? options.meter_lux : options.ev_tolerance) = *number;
        } else if (word == "--align") {
            options.align = true;
        } else if (word == "--profile") {
            auto value = words.non_empty_value_of(word, "a profile");
            if (!value) return value.failure();
            options.profile = value.value();
        } else if (word == "--force") {
            options.force = true;
        } else if (word == "--overwrite") {
            options.overwrite = true;
        } else if (word == "--json") {
            options.json = true;
        } else {
            return bad("unknown option " + word);
        }
    }
    if (positional.size() < 2)
        return positional_failure(positional, 2, "assemble OUTPUT.hdr PICTURE... [options]");
    options.output = positional[0];
    options.pictures.assign(positional.begin() + 1, positional.end());
    if (options.force && options.profile.empty()) return bad("--force goes with --profile");
    if (options.ev_tolerance && !options.meter_lux) return bad("--ev-tolerance goes with --meter-lux");
    if (options.exposures && options.exposures->size() != options.pictures.size())
        return bad(strprintf("--exposures gives %zu times for %zu pictures", options.exposures->size(),
                             options.pictures.size()));
    return CliCommand{options};
}

Result<CliCommand> parse_capture(Words words) {
    CaptureOptions options;
    std::vector<std::string> positional;
    while (words.more()) {
        const std::string word = words.take();
        if (!is_option(word)) {
            positional.push_back(word);
        } else if (word == "--shutter" || word == "--aperture") {
            auto value = words.non_empty_value_of(word);
            if (!value) return value.failure();
            if (word == "--aperture") {
                options.aperture = value.value();
                continue;
            }
            for (const std::string& label : split(value.value(), ','))
                if (!label.empty()) options.shutter_labels.push_back(label);
        } else if (word == "--assemble") {
            options.assemble = true;
        } else if (word == "--profile") {
            auto value = words.non_empty_value_of(word, "a profile");
            if (!value) return value.failure();
            options.profile = value.value();
        } else if (word == "--json") {
            options.json = true;
        } else {
            return bad("unknown option " + word);
        }
    }
    if (positional.size() != 1) return positional_failure(positional, 1, "capture FOLDER [options]");
    if (!options.aperture.empty() && options.shutter_labels.empty())
        return bad("--aperture goes with --shutter; autocap.asf names the apertures of its own exposures");
    if (!options.profile.empty() && !options.assemble) return bad("--profile goes with --assemble");
    options.folder = positional[0];
    return CliCommand{options};
}

Result<CliCommand> parse_profile(Words words) {
    ProfileOptions options;
    std::vector<std::string> positional;
    while (words.more()) {
        const std::string word = words.take();
        if (!is_option(word)) {
            positional.push_back(word);
        } else if (word == "--json") {
            options.json = true;
        } else if (word == "--save") {
            auto value = words.non_empty_value_of(word, "a profile");
            if (!value) return value.failure();
            options.save_to = value.value();
        } else if (word == "--keep-picture") {
            options.keep_picture = true;
        } else if (word == "--out-dir") {
            auto value = words.non_empty_value_of(word, "a folder");
            if (!value) return value.failure();
            options.out_dir = value.value();
        } else if (word == "--overwrite") {
            options.overwrite = true;
        } else {
            return bad("unknown option " + word);
        }
    }
    const std::string usage =
        "profile circle PICTURE | show PROFILE | vignetting PROFILE PICTURE... | response PROFILE PICTURE... | apply "
        "PROFILE PICTURE... --out-dir DIR";
    if (positional.empty()) return bad("too few words; usage: " + usage);
    options.action = positional[0];
    if (options.action == "circle") {
        if (positional.size() != 2) return positional_failure(positional, 2, "profile circle PICTURE [--json] [--save PROFILE]");
        options.pictures = {positional[1]};
    } else if (options.action == "show") {
        if (positional.size() != 2) return positional_failure(positional, 2, "profile show PROFILE [--json]");
        options.profile = positional[1];
    } else if (options.action == "vignetting") {
        if (positional.size() < 3) return positional_failure(positional, 3, "profile vignetting PROFILE PICTURE-OR-SERIES...");
        options.profile = positional[1];
        options.pictures.assign(positional.begin() + 2, positional.end());
    } else if (options.action == "apply") {
        if (positional.size() < 3) return positional_failure(positional, 3, "profile apply PROFILE PICTURE... --out-dir DIR");
        if (options.out_dir.empty()) return bad("profile apply needs --out-dir DIR");
        options.profile = positional[1];
        options.pictures.assign(positional.begin() + 2, positional.end());
    } else if (options.action == "response") {
        if (positional.size() < 4) return positional_failure(positional, 4, "profile response PROFILE PICTURE PICTURE...");
        options.profile = positional[1];
        options.pictures.assign(positional.begin() + 2, positional.end());
    } else {
        return bad("unknown profile action \"" + options.action + "\"; usage: " + usage);
    }
    if (!options.save_to.empty() && options.action != "circle") return bad("--save goes with profile circle");
    if (options.keep_picture && options.action != "vignetting") return bad("--keep-picture goes with profile vignetting");
    if ((!options.out_dir.empty() || options.overwrite) && options.action != "apply")
        return bad("--out-dir and --overwrite go with profile apply");
    return CliCommand{options};
}

}  // namespace

Result<std::vector<float>> parse_number_list(const std::string& text, size_t count, char separator) {
    const std::vector<std::string> parts = split(text, separator);
    const std::string wanted = strprintf("%zu numbers separated by \"%c\"", count, separator);
    if (parts.size() != count) return bad("\"" + text + "\" is not " + wanted);
    std::vector<float> numbers;
    for (const std::string& part : parts) {
        const auto number = parse_numeric_field(part);
        if (!number || part.empty()) return bad("\"" + part + "\" in \"" + text + "\" is not a number");
        numbers.push_back(*number);
    }
    return numbers;
}

Result<CliCommand> parse_cli_arguments(const std::vector<std::string>& words) {
    if (words.empty() || is_help(words[0]) || words[0] == "help") {
        return CliCommand{HelpRequest{words.size() > 1 && !is_option(words[1]) ? words[1] : ""}};
    }
    const std::string& command = words[0];
    if (command != "luminance" && command != "stats" && command != "falsecolor" && command != "batch" &&
        command != "illuminance" && command != "assemble" && command != "capture" && command != "profile" &&
        command != "series")
        return bad("unknown command \"" + command +
                   "\"; the commands are luminance, stats, illuminance, falsecolor, batch, assemble, capture, "
                   "profile and series");
    for (const std::string& word : words)
        if (is_help(word)) return CliCommand{HelpRequest{command}};
    if (command == "luminance") return parse_luminance(Words(words));
    if (command == "stats") return parse_stats(Words(words));
    if (command == "illuminance") return parse_illuminance(Words(words));
    if (command == "falsecolor") return parse_falsecolor(Words(words));
    if (command == "assemble") return parse_assemble(Words(words));
    if (command == "capture") return parse_capture(Words(words));
    if (command == "profile") return parse_profile(Words(words));
    if (command == "series") return parse_series(Words(words));
    return parse_batch(Words(words));
}
