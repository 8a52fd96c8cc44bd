#include "picture_kind.h"

#include <cstdio>
#include <filesystem>
#include <memory>

Result<PictureKind> picture_kind_of(const std::string& path) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error))
        return Failure{-1, path + ": not a picture file"};
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!file) return Failure{-1, path + ": cannot be opened"};
    unsigned char magic[4] = {};
    const size_t got = std::fread(magic, 1, sizeof magic, file.get());
    if (got >= 3 && magic[0] == 0xFF && magic[1] == 0xD8 && magic[2] == 0xFF) return PictureKind::jpeg;
    if (got == 4 && ((magic[0] == 'I' && magic[1] == 'I' && magic[2] == 42 && magic[3] == 0) ||
                     (magic[0] == 'M' && magic[1] == 'M' && magic[2] == 0 && magic[3] == 42)))
        return PictureKind::tiff;
    return Failure{-1, path + ": neither a JPEG nor a TIFF picture"};
}
