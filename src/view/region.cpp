#include "view/region.h"

void clear_region(Region& region) { region = Region{}; }

bool region_is_valid(const Region& region) {
    return region.has_rectangle() || region.radius > 0 || region.vertex_count > 3;
}
