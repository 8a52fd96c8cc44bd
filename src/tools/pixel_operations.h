#pragma once
// The pixel-wise operations done by pcomb: applying a mask file, vignetting
// correction, arithmetic between two pictures and division by a constant;
// and the conversion of BMP and TIFF masks into pictures.
//
// Command lines keep their historical blanks (sequence files hold them), so
// they are built here and nowhere else.
//
// Operands count as the application reads them. pcomb nests every input's
// header, EXPOSURE lines included, in its output and writes no top-level
// EXPOSURE, so the result is read at the product of all the inputs'
// exposures. Each formula is therefore "the operation on the values as read
// (ri(n)/le(n)), times le(1)*le(2)", shortened where factors cancel:
//   mask         if(ri(1)-0.5,ri(2)*le(1),0)   (the mask's stored value decides)
//   vignetting   ri(1)*le(2)*le(2)/ri(2)
//   A + B, A - B ri(1)*le(2)+ri(2)*le(1), ri(1)*le(2)-ri(2)*le(1)
//   A * B        ri(1)*ri(2)
//   A / B        ri(1)*le(2)*le(2)/ri(2)
//   I / k        ri(1)/k
// (and likewise with gi, bi). A kept mask pixel so keeps its luminance, a
// correction divides by its values as read, and A + B is the sum of the
// luminances, whatever exposures the pictures carry.

#include <string>

class Desktop;
class ProcessRunner;

// The type index of the "Open Mask File" dialog.
enum MaskType : int { mask_hdr = 1, mask_pic = 2, mask_bmp = 3, mask_tiff = 4 };

// The "Open Mask File" dialog's filters, in type-index order.
struct FileDialogRequest;
FileDialogRequest mask_file_request();

// "/C ra_bmp -r F M" or "/C ra_tiff -r F M"; "" for pictures, used directly.
std::string mask_conversion_command(const std::string& file, int type, const std::string& converted);
// Pixels where the mask is dark (stored value not above 0.5) become 0; the
// mask is pcomb's first input.
std::string mask_application_command(const std::string& mask, const std::string& input, const std::string& output);
std::string vignetting_command(const std::string& input, const std::string& correction, const std::string& output);
// op is one of "+", "-", "*", "/".
std::string image_operation_command(const std::string& a, const std::string& op, const std::string& b,
                                    const std::string& output);
// k in the default stream format ("2.5").
std::string constant_division_command(const std::string& input, float k, const std::string& output);

// Applies a mask file of the given type to `input` and puts the result in
// `target` (the working copy for Apply Maskfile, a scratch file of its own
// for an analysis region). A BMP or TIFF mask is converted into dmask.hdr
// first. `target` is replaced only on clear success, like every editing step;
// 0, or -1 after the failure has been shown.
int apply_mask_file(ProcessRunner& runner, Desktop& desktop, const std::string& cache_directory,
                    const std::string& mask_file, int type, const std::string& input, const std::string& target);
