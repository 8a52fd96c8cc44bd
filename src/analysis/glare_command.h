#pragma once
// The command lines of a glare analysis: pfilt's down-scaling of a large
// picture, and evalglare with the options the glare pages chose.
//
// Sizes are the working copy's, scanlines as rows (as pfilt and our reader
// see them). Task positions are pixels of the working copy, x from the left
// and y from the bottom; evalglare gets them in pixels of the picture it
// reads, which is the down-scaled one when the working copy is too large.

#include <string>
#include <string_view>

#include "analysis/glare_settings.h"

// evalglare is given pictures of at most this many pixels either way.
inline constexpr int glare_size_limit = 800;

struct GlareScale {
    std::string factor;  // pfilt's divisor as its command line has it; empty when not scaled
    int width = 0;       // the working copy
    int height = 0;
    int scaled_width = 0;  // the picture evalglare reads
    int scaled_height = 0;
    // The working copy numbers its rows downward (a "+Y" resolution line,
    // as protate writes): evalglare then counts a task's row from the top.
    bool rows_from_top = false;
    bool scaled() const { return !factor.empty(); }
};

// The longer side divided by the limit, when it exceeds the limit; the new
// sizes as pfilt computes them from the factor it reads.
GlareScale glare_scale(int width, int height);

struct TaskPixel {
    int x = 0;
    int y = 0;  // the row as evalglare counts it
};
// The pixel of the picture evalglare reads that holds pixel (x, y) of the
// working copy: pfilt's box filter averages input pixel k into output pixel
// floor(k · new size / size), counted from the top, so the task stays on the
// same point of the scene. Its row counts from the top where evalglare
// counts it so (rows_from_top).
TaskPixel scaled_task_position(const GlareScale& scale, int x, int y);

// Whether the picture's resolution line numbers its rows downward (no minus
// sign on Y); false when it cannot be read.
bool rows_numbered_from_top(const std::string& picture);

// evalglare's options in their fixed order, each with its blanks (" -x "
// with every page at its defaults).
std::string glare_option_text(const GlareSettings& settings, const GlareScale& scale);

std::string glare_downscale_command(const std::string& factor, const std::string& input, const std::string& output);
std::string glare_command(const std::string& check_picture, const std::string& options, const std::string& input);

// True when evalglare's text holds its result line (notices may surround it).
bool has_glare_result(std::string_view text);
