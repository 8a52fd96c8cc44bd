#pragma once
// The steps of glare source finding that glare_sources.h describes, on one
// picture. Sources are numbered from 1 here (0 is "no source") and the
// steps visit pixels column by column, each column from row 0 up, because
// which source a pixel first joins, and which of two equal neighbours
// survives, depends on that order.

#include <cstdint>
#include <vector>

#include "lib/glare_sources.h"

class SourceGrouping {
public:
    SourceGrouping(const GlareField& field, double search_radius);

    // Step 1 with glare pixels strictly brighter than `threshold`; returns
    // the brightest glare pixel's luminance.
    double first_scan(double threshold);
    // Step 2 over all sources.
    void join_neighbours();
    // Step 3, the disc `radius` pixels wide.
    void smooth(double radius);
    // Step 4.
    void extract_peaks(double limit);

    GlareSources result(bool radius_below_pixel) const;

private:
    size_t at(int x, int y) const { return size_t(y) * size_t(width_) + size_t(x); }
    bool near(size_t a, size_t b, double cos_limit) const;
    void add_pixel(size_t p, int source);
    int new_source();
    // The source of pixel `p` joins the first neighbour (numbered
    // first..last) strictly larger than itself that p's search meets, or
    // the one met going up when that is larger still; returns p's source
    // afterwards.
    int join_larger(size_t p, int first, int last);
    // Step 2 for the sources numbered first..last, over their pixels;
    // `skip_interior` skips pixels whose eight neighbours share their source.
    void join_until_settled(int first, int last, bool skip_interior);
    // The last of the sources first..last met walking from `p` within a
    // quarter of the search radius; 0 when none.
    int nearest_split(size_t p, int first, int last) const;
    template <typename Visit>
    void walk(size_t p, int last_column, double cos_limit, Visit&& visit) const;

    const GlareField& field_;
    int width_ = 0, height_ = 0;
    double link_cos_ = 1;   // pixels within half the search radius
    double split_cos_ = 1;  // within a quarter
    std::vector<int> source_;          // per pixel, 0 for none
    std::vector<uint8_t> primary_;     // glare pixels of step 1
    std::vector<SourceStats> stats_;   // per source number, [0] unused
    std::vector<std::vector<uint32_t>> members_;  // pixels whose source it is
    double largest_ = 0;  // the largest solid angle of any source
};
