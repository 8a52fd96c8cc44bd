#include "support/day_series.h"

#include <cmath>

#include "common/text_format.h"
#include "support/formula_pictures.h"

std::vector<DayPicture> write_day_series(const std::filesystem::path& folder, int count, int size) {
    std::filesystem::create_directories(folder);
    std::vector<DayPicture> pictures(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        const int minutes = 6 * 60 + 15 * i;
        // Names shuffled against the times (29 is prime to 48).
        pictures[static_cast<size_t>(i)] = {strprintf("shot-%02d.hdr", (i * 29 + 7) % count),
                                            strprintf("2026-06-21T%02d:%02d:00", minutes / 60, minutes % 60)};
    }
    // Written in yet another order, so that neither the files' times nor
    // their names give the capture order.
    for (int k = 0; k < count; ++k) {
        const int i = (k * 17 + 5) % count;
        const DayPicture& picture = pictures[static_cast<size_t>(i)];
        const std::string capdate = "CAPDATE= " + picture.time.substr(0, 4) + ":" + picture.time.substr(5, 2) + ":" +
                                    picture.time.substr(8, 2) + " " + picture.time.substr(11);
        const double centre = size / 2.0;
        // The sun patch on the floor below the window grows until late
        // afternoon; a window of 2000 cd/m² above, walls of 80 cd/m².
        const double patch = 1.0 + 0.18 * i;
        const auto grey = [=](int x, int y) -> float {
            const double dx = x + 0.5 - centre, dy = y + 0.5 - centre;
            if (dx * dx + dy * dy > centre * centre) return 0.0f;
            double luminance = 80;
            if (std::fabs(dx) < size * 0.18 && dy < -size * 0.05 && dy > -size * 0.3) luminance = 2000;
            const double px = dx - size * 0.1, py = dy - size * 0.2;
            if (px * px + py * py < patch * patch) luminance = 60000;
            return static_cast<float>(luminance / 179.0);
        };
        if (!write_grey_picture((folder / picture.name).string(), size, size, grey,
                                {capdate, "VIEW= -vta -vh 180 -vv 180"}))
            return {};
    }
    return pictures;
}

CliPlaces series_places(const std::string& cache) {
    CliPlaces places;
    places.executable = CANDELUX_CLI;
    places.program_folder = CANDELUX_PROGRAMS_DIR;
    places.cache_folder = cache;
    return places;
}
