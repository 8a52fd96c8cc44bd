#pragma once
// The luminance of every pixel of a picture, in cd/m².
//
// width is the scanline length and height the scanline count of the file;
// row 0 is the first scanline after the resolution line. Values are single
// precision and already divided by the picture's exposure (the product of its
// header's EXPOSURE values, 1.0 when there are none).

#include <cstdint>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

// Leaves new elements of a resize() unset: the reader writes every value of a
// map, and zeroing the whole map first would cost as much again (on the
// thread that reads the file, which the converting cores wait for).
template <class T>
struct UnsetOnResize : std::allocator<T> {
    using std::allocator<T>::allocator;
    template <class U>
    struct rebind {
        using other = UnsetOnResize<U>;
    };
    template <class U>
    void construct(U* at) noexcept {
        ::new (static_cast<void*>(at)) U;
    }
    template <class U, class... Arguments>
    void construct(U* at, Arguments&&... arguments) {
        ::new (static_cast<void*>(at)) U(std::forward<Arguments>(arguments)...);
    }
};

// The values of a map: a vector whose resize() leaves the new values unset.
using LuminanceValues = std::vector<float, UnsetOnResize<float>>;

struct LuminanceMap {
    int32_t width = 0;
    int32_t height = 0;
    float exposure = 1.0f;
    LuminanceValues data;  // width * height values, row-major

    bool empty() const { return width == 0 || height == 0; }
    float at(int32_t column, int32_t row) const {
        return data[static_cast<size_t>(row) * static_cast<size_t>(width) + static_cast<size_t>(column)];
    }
};

// The luminance under a picture position (x, y): the pixel at column cut(x),
// row cut(y). Nothing when the position has no pixel: outside the map, or on
// its right or bottom edge (x = width or y = height).
inline std::optional<float> luminance_at(const LuminanceMap& map, float x, float y) {
    if (!(x >= 0 && y >= 0)) return std::nullopt;
    const auto column = static_cast<int64_t>(x), row = static_cast<int64_t>(y);
    if (column >= map.width || row >= map.height) return std::nullopt;
    return map.at(static_cast<int32_t>(column), static_cast<int32_t>(row));
}
