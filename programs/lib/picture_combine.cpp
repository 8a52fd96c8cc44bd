#include "lib/picture_combine.h"

#include <cstdio>
#include <iterator>
#include <memory>

#include "lib/calc_program.h"
#include "lib/picture_messages.h"
#include "lib/picture_output.h"
#include "lib/rgbe_color.h"
#include "picture/view_options.h"
#include "picture/rgbe_writer.h"

namespace {

const PictureMessages messages = {
    "{file}: {error}", "{file}: bad picture size", "{file}: not a Radiance picture", "{file}: bad picture size",
    "{file}: read error",
};

// The host functions, by id: a channel of input n, and input n's exposure.
const char* const function_names[4] = {"ri", "gi", "bi", "le"};
constexpr int exposure_function = 3;

// The current pixel of every input, as the host functions see it.
struct PixelContext {
    std::vector<std::vector<Color3>> lines;  // decoded scanline per input
    std::vector<float> scale;                // 1 or 1 / exposure per input
    std::vector<double> exposure;            // what le(n) gives: 1 after -o
    size_t x = 0;
};

double channel_of(void* context, int channel, double argument) {
    auto* pixel = static_cast<PixelContext*>(context);
    const double n = argument + 0.5;
    if (channel == exposure_function) {
        if (!(n >= 1) || n >= static_cast<double>(pixel->exposure.size() + 1)) return 1.0;
        return pixel->exposure[static_cast<size_t>(n) - 1];
    }
    if (!(n >= 1) || n >= static_cast<double>(pixel->lines.size() + 1)) {
        std::fprintf(stderr, "%s: domain error\n", function_names[channel]);
        return 0;
    }
    const size_t input = static_cast<size_t>(n) - 1;
    const Color3& c = pixel->lines[input][pixel->x];
    const float v = channel == 0 ? c.r : channel == 1 ? c.g : c.b;
    return static_cast<double>(v * pixel->scale[input]);
}

// The VIEW of the first input that has a usable top-level one.
std::optional<View> first_view(const std::vector<std::unique_ptr<PictureInput>>& inputs) {
    for (const auto& in : inputs) {
        View view;
        int found = 0;
        for (const auto& line : in->header().lines)
            if (is_view_line(line)) found += apply_view_options(view, line) > 0 ? 1 : 0;
        if (found > 0 && !view_problem(view)) return view;
    }
    return std::nullopt;
}

std::vector<std::string> combine_header(const CombineOptions& options,
                                        const std::vector<std::unique_ptr<PictureInput>>& inputs) {
    std::vector<std::string> lines = {"#?RADIANCE"};
    for (auto& line : date_lines()) lines.push_back(line);
    bool any_format = false;
    for (size_t i = 0; i < inputs.size(); ++i) {
        append_nested_header(lines, options.inputs[i].path, inputs[i]->header(), !options.inputs[i].original_values);
        any_format = any_format || inputs[i]->header().has_format();
    }
    lines.push_back(options.command);
    if (const auto view = first_view(inputs)) lines.push_back("VIEW=" + view_options_text(*view));
    if (any_format) lines.emplace_back(std::string("FORMAT=") + std::string(rgbe_format_name));
    return lines;
}

}  // namespace

ProgramStatus combine_pictures(const CombineOptions& options) {
    CalcDefinitions definitions;
    for (const auto& text : options.expressions)
        if (const auto error = definitions.add(text)) return plain_failure(error->describe());
    CalcHost host;
    host.functions.assign(std::begin(function_names), std::end(function_names));
    host.function = channel_of;
    std::string error;
    auto program = CalcProgram::compile(definitions, {"ro", "go", "bo"}, host, error);
    if (!program) return plain_failure(error);

    std::vector<std::unique_ptr<PictureInput>> inputs;
    for (const auto& input : options.inputs) {
        inputs.push_back(std::make_unique<PictureInput>());
        if (auto status = open_picture(*inputs.back(), input.path, messages); !status.ok()) return status;
        const auto& first = *inputs.front();
        if (inputs.back()->scanline_length() != first.scanline_length() ||
            inputs.back()->scanline_count() != first.scanline_count())
            return plain_failure(input.path + ": resolution mismatch");
    }

    const int width = inputs.front()->scanline_length();
    const int height = inputs.front()->scanline_count();
    const size_t n = static_cast<size_t>(width);
    PictureOutput out;
    out.open_standard_output();
    out.write_header(combine_header(options, inputs), standard_resolution(width, height));

    PixelContext pixel;
    pixel.lines.assign(inputs.size(), std::vector<Color3>(n));
    for (size_t i = 0; i < inputs.size(); ++i) {
        // le(n) is what the input's copied header multiplies into a reader
        // that counts every EXPOSURE line, as the application does: nested
        // copies included, so that a picture a pcomb made (its exposure only
        // nested) still counts its own. -o divides by the top-level lines,
        // which then stay out of the copy.
        const bool original = options.inputs[i].original_values;
        pixel.scale.push_back(original ? static_cast<float>(1.0 / inputs[i]->header().exposure()) : 1.0f);
        pixel.exposure.push_back(original ? 1.0 : inputs[i]->header().exposure_anywhere());
    }
    std::vector<uint8_t> planes(4 * n);
    std::vector<RgbePixel> result(n);
    for (int row = 0; row < height; ++row) {
        for (size_t i = 0; i < inputs.size(); ++i) {
            if (!inputs[i]->read_planes(planes.data())) return read_failure(messages, *inputs[i], options.inputs[i].path);
            for (size_t x = 0; x < n; ++x)
                pixel.lines[i][x] = decode_color(planes[x], planes[n + x], planes[2 * n + x], planes[3 * n + x]);
        }
        for (size_t x = 0; x < n; ++x) {
            pixel.x = x;
            program->begin_record();
            double rgb[3];
            for (size_t c = 0; c < 3; ++c)
                rgb[c] = program->has_output(c) ? program->evaluate(c, &pixel)
                                                : channel_of(&pixel, static_cast<int>(c), 1.0);
            result[x] = encode_color(static_cast<float>(rgb[0]), static_cast<float>(rgb[1]), static_cast<float>(rgb[2]));
        }
        out.write_pixels(result.data(), width);
    }
    if (!out.finish()) return program_failure("write error");
    return success();
}
