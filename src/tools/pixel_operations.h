#pragma once
// The pixel-wise operations done by pcomb: applying a mask file, vignetting
// correction, arithmetic between two pictures and division by a constant;
// and the conversion of BMP and TIFF masks into pictures.
//
// Command lines keep their historical blanks (sequence files hold them), so
// they are built here and nowhere else.

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
// Pixels where the mask is dark become 0: the mask is pcomb's first input.
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
