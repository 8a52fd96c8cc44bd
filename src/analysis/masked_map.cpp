#include "analysis/masked_map.h"

#include <filesystem>

#include "desktop/desktop.h"
#include "picture/rgbe_reader.h"
#include "tools/pixel_operations.h"
#include "tools/working_files.h"

std::optional<LuminanceMap> masked_working_copy(const StatisticsContext& context, const std::string& mask_file,
                                                int mask_type, const char* scratch) {
    const std::string& cache = context.cache_directory;
    const std::string masked = cache + scratch;
    if (apply_mask_file(context.runner, context.desktop, cache, mask_file, mask_type,
                        cache + working_file::working_copy, masked) != 0)
        return std::nullopt;
    auto map = load_luminance_map(masked);
    std::error_code ec;
    std::filesystem::remove(masked, ec);
    if (!map.ok()) {
        context.desktop.message_box("Could not read the masked picture " + masked + ": " + map.failure().message,
                                    "File IO Error!", MessageIcon::warning, Owner::none);
        return std::nullopt;
    }
    return std::move(map).value();
}
