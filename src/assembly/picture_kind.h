#pragma once
// Which of the picture formats an exposure series may come in a file is,
// told by its first bytes rather than its name.

#include <string>

#include "common/result.h"

enum class PictureKind { jpeg, tiff };

// A failure names the file: it cannot be opened, is not a regular file, or
// is neither a JPEG nor a TIFF picture.
Result<PictureKind> picture_kind_of(const std::string& path);
