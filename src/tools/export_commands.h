#pragma once
// Save As and the two tone-mapping dialogs: output names, the save dialogs'
// file types and the command lines of ra_bmp, ra_gif, ReinhardTM, pcond and
// tm_linear.

#include <array>
#include <string>

#include "desktop/desktop.h"

// Save As's types, by the index the dialog returns.
enum SaveType : int { save_rgbe = 1, save_bmp = 2, save_jpeg = 3, save_gif = 4 };

// "x" → "x.jpg", "x.jpeg" → "x.jpeg.jpg", "x.JPG" → "x.JPG.jpg", "x.jpg"
// stays: the three characters after the name's last full stop (its first
// three without one) must be the type's extension, letter case included.
// `extension` is without its full stop ("jpg").
std::string apply_output_name_rule(const std::string& path, const std::string& extension);

// "Save Image as": only the bitmap type in the falsecolor view (and PNG
// after it with `offer_png`), else four.
FileDialogRequest save_image_request(bool falsecolor_view, bool offer_png = false);
// The tone-mapping dialogs' Browse: one type, "JPG Image".
FileDialogRequest jpeg_save_request();

// The extension a Save As type writes ("hdr", "bmp", "jpg", "gif").
std::string save_type_extension(int type);

std::string save_bmp_command(const std::string& working_copy, const std::string& output);
std::string save_gif_command(const std::string& working_copy, const std::string& output);
std::string reinhard_save_command(const std::string& working_copy, const std::string& output);
// The Ward pair: pcond into a scratch picture, then tm_linear into the JPEG.
std::string pcond_command(const std::string& options, const std::string& working_copy, const std::string& scratch);
std::string tm_linear_command(const std::string& scratch, const std::string& output);

// A float as a default stream of the original platform writes it in command
// lines: six significant digits, exponents with at least three digits
// ("1e+020").
std::string format_default_wide_exponent(float value);

struct ReinhardOptions {
    bool dodging = false;  // -scale
    float key = 0.18f;
    float white = 1e20f;
    float gamma = 1.6f;
    float threshold = 0.05f;
};
// "/C ReinhardTM -i I -o N[ -scale ] -key K -white W -gamma G -threshold T".
std::string reinhard_command(const std::string& working_copy, const std::string& output,
                             const ReinhardOptions& options);

// pcond's switches in dialog order: -h, -a, -v, -s, -c, -w, -l.
struct WardOptions {
    std::array<bool, 7> switches{};
    float exposure = 1.0f;
};
inline constexpr std::array<const char*, 7> ward_switch_names{"-h", "-a", "-v", "-s", "-c", "-w", "-l"};
// P: " -h " and so on for each checked switch, then " -e " and the exposure
// when the linear response (-l) is on and the exposure is not 0, then one
// blank. pcond's switches
// toggle and -h stands for -a -v -s -c as well, so with -h checked those four
// are not sent again (sending them would switch them off); and -e only
// means something with the linear response.
std::string ward_option_text(const WardOptions& options);
