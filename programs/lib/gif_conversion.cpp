#include "lib/gif_conversion.h"

#include <fcntl.h>
#include <gif_lib.h>
#include <unistd.h>

#include <memory>
#include <new>
#include <vector>

#include "common/regular_file.h"
#include "lib/color_quantizer.h"
#include "lib/display_gamma.h"
#include "lib/picture_messages.h"

namespace {

const PictureMessages messages = {
    "cannot open input \"{file}\"", "bad picture format", "bad picture format", "bad picture format",
    "error reading picture (y=={y})",
};

constexpr int gif_size_limit = 0xffff;
// Colour resolution written into the screen descriptor (7 bits, as the
// picture converters have always written it).
constexpr int colour_resolution = 7;

struct ColourMapDeleter {
    void operator()(ColorMapObject* map) const { GifFreeMapObject(map); }
};

// Writes the image; false when the file cannot be written.
bool write_gif(const std::string& path, const PaletteImage& image, bool& opened) {
    int error = 0;
    // giflib's own open gives the file mode 0600; a picture the user saves
    // gets the mode every other file gets, 0666 less the umask.
    const int fd = create_output_descriptor(path);
    if (fd < 0) {
        opened = false;
        return false;
    }
    GifFileType* gif = EGifOpenFileHandle(fd, &error);  // closes fd from now on
    opened = gif != nullptr;
    if (!gif) {
        ::close(fd);
        return false;
    }
    EGifSetGifVersion(gif, false);
    std::vector<GifColorType> colours(256);
    for (size_t i = 0; i < colours.size(); ++i)
        colours[i] = {image.palette[3 * i], image.palette[3 * i + 1], image.palette[3 * i + 2]};
    std::unique_ptr<ColorMapObject, ColourMapDeleter> map(GifMakeMapObject(256, colours.data()));
    bool ok = map && EGifPutScreenDesc(gif, image.width, image.height, colour_resolution, 0, map.get()) == GIF_OK &&
              EGifPutImageDesc(gif, 0, 0, image.width, image.height, false, nullptr) == GIF_OK;
    std::vector<GifPixelType> line(static_cast<size_t>(image.width));
    for (int y = 0; ok && y < image.height; ++y) {
        const uint8_t* row = image.indices.data() + static_cast<size_t>(y) * static_cast<size_t>(image.width);
        std::copy(row, row + image.width, line.begin());
        ok = EGifPutLine(gif, line.data(), image.width) == GIF_OK;
    }
    return EGifCloseFile(gif, &error) == GIF_OK && ok;
}

}  // namespace

ProgramStatus convert_gif(const GifOptions& options) {
    PictureInput in;
    if (auto status = open_picture(in, options.input, messages); !status.ok()) return status;
    const int width = in.scanline_length();
    const int height = in.scanline_count();
    if (width > gif_size_limit || height > gif_size_limit) return program_failure("bad picture format");

    RgbImage image;
    image.width = width;
    image.height = height;
    try {
        image.rgb.resize(3 * static_cast<size_t>(width) * static_cast<size_t>(height));
    } catch (const std::bad_alloc&) {
        return program_failure("out of memory");
    }
    const size_t n = static_cast<size_t>(width);
    std::vector<uint8_t> planes(4 * n);
    for (int y = 0; y < height; ++y) {
        if (!in.read_planes(planes.data())) return read_failure(messages, in, options.input);
        display_scanline(planes.data(), n, DisplayOrder::rgb, image.row(y));
    }
    bool opened = false;
    if (!write_gif(options.output, quantize(image), opened))
        return program_failure((opened ? "error writing output \"" : "cannot open output \"") + options.output + "\"");
    return success();
}
