#include "analysis/calibration_finish.h"

#include <cmath>

#include "analysis/masked_map.h"
#include "common/text_format.h"
#include "desktop/busy_cursor.h"
#include "desktop/desktop.h"
#include "picture/rgbe_reader.h"
#include "tools/pixel_operations.h"
#include "tools/working_files.h"

namespace {

bool refuse(CalibrationHost& host, const std::string& text) {
    host.desktop().message_box(text, calibration_error_caption, MessageIcon::warning, Owner::dialog);
    return false;
}

bool positive_reading(float measured) { return std::isfinite(measured) && measured > 0; }

// The mean of the lit pixels of the masked working copy: the mask is applied
// to a scratch copy, so the picture itself keeps what lies outside the mask.
std::optional<float> masked_mean(CalibrationHost& host, const CalibrationSettings& record) {
    StatisticsContext context = host.statistics_context();
    const auto map = masked_working_copy(context, record.mask_file, record.mask_type, calibration_mask_scratch);
    if (!map) return std::nullopt;
    StatisticsContext masked_context{*map, context.cache_directory, context.runner, context.desktop, true};
    return compute_region_statistics(masked_context, Region{}, RegionKind::mask, AnalysisSettings{}).statistics.mean;
}

// Divides the whole working copy by the record's factor and shows it again.
// The wizard closes whatever the division gave.
bool divide_working_copy(CalibrationHost& host, const CalibrationSettings& record) {
    const std::string cache = host.statistics_context().cache_directory;
    const std::string command = constant_division_command(cache + working_file::working_copy, record.factor,
                                                          cache + working_file::step_output);
    if (host.run_editing_step(command) == 0) {
        host.desktop().close_progress();
        host.clear_selection();
        host.set_main_window_enabled(true);
        host.reload_working_copy();
    }
    return true;
}

// The factor, when it is a number the division can use.
bool set_factor(CalibrationHost& host, CalibrationSettings& record, float computed, float measured) {
    record.factor = computed / measured;
    if (std::isnormal(record.factor) && record.factor > 0) return true;
    return refuse(host, "The measured value gives no usable calibration factor (" + format_default(record.factor) +
                            "). Please correct it.");
}

}  // namespace

bool finish_luminance_calibration(CalibrationHost& host, CalibrationSettings& record, const WizardRegion& region) {
    BusyCursor busy(host.desktop());
    if (!positive_reading(record.measured_luminance))
        return refuse(host, "The measured luminance must be a number above 0.");
    float mean = 0;
    if (record.source == CalibrationSource::from_mask_file) {
        host.clear_selection();
        const auto masked = masked_mean(host, record);
        if (!masked) return false;
        mean = *masked;
    } else {
        StatisticsContext context = host.statistics_context();
        context.mean_only = true;
        mean = compute_region_statistics(context, region.geometry, region.tool, AnalysisSettings{}).statistics.mean;
    }
    // Samples are brighter than the threshold, so a mean of 0 means none.
    if (!(mean > 0))
        return refuse(host, "The selected region has no lit pixels to calibrate against. Please select another "
                            "region.");
    record.computed_mean = mean;
    if (!set_factor(host, record, mean, record.measured_luminance)) return false;
    return divide_working_copy(host, record);
}

bool finish_illuminance_calibration(CalibrationHost& host, CalibrationSettings& record,
                                    const VerticalIlluminance& computed) {
    BusyCursor busy(host.desktop());
    host.clear_selection();
    if (!positive_reading(record.measured_illuminance))
        return refuse(host, "The measured illuminance must be a number above 0.");
    if (computed.pixels == 0 || !(computed.lux > 0))
        return refuse(host, "The picture has no lit pixels to compute an illuminance from.");
    record.computed_illuminance = computed.lux;
    if (!set_factor(host, record, computed.lux, record.measured_illuminance)) return false;
    return divide_working_copy(host, record);
}

PictureIlluminance working_copy_illuminance(CalibrationHost& host) {
    StatisticsContext context = host.statistics_context();
    const auto header = read_picture_header(context.cache_directory + working_file::working_copy);
    const std::optional<View> view = header.ok() ? picture_view(header.value()) : std::nullopt;
    return {vertical_illuminance(context.map, view), view ? view->type : '\0'};
}

std::string illuminance_rule_text(const PictureIlluminance& computed) {
    const VerticalIlluminance& value = computed.value;
    if (value.pixels == 0) return "This picture has no lit pixels.";
    const std::string sum = "\u03a3 L\u00b7cos \u03b8\u00b7\u03c9 over ";
    std::string rule;
    if (value.pi_times_mean) {
        rule = "\u03c0 \u00d7 mean luminance of the lit pixels";
        if (computed.view_type == 0) rule += "; the picture names no view and is taken as a hemispherical fisheye";
        else if (computed.view_type == 'h') rule += " of the hemispherical fisheye";
        else rule += std::string(" (-vt") + computed.view_type + " view)";
    } else if (value.method == 'a') {
        rule = sum + "the angular fisheye view";
    } else if (value.method == 's') {
        rule = sum + "the stereographic fisheye view";
    } else if (value.method == 'h') {
        rule = sum + "the hemispherical fisheye view narrower than 180\u00b0";
    } else {
        rule = sum + "the picture's view (-vt" + value.method + ")";
    }
    return "This picture gives " + format_default(value.lux) + " lux (" + rule + ").";
}
