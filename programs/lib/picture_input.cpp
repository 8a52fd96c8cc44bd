#include "lib/picture_input.h"

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace {
constexpr size_t resolution_line_chars = 64;
constexpr size_t input_block_size = 1 << 20;

// A mapped input that another program cuts short while it is read makes the
// next access to a page past the new end fail with SIGBUS. The program then
// says so and fails as on any read error, rather than dying of the signal.
void end_on_bus_error(int) {
    static const char text[] = ": input file was cut short while it was read\n";
    const char* name = program_invocation_short_name;
    size_t length = 0;
    while (name[length] != '\0') ++length;
    (void)!::write(STDERR_FILENO, name, length);
    (void)!::write(STDERR_FILENO, text, sizeof text - 1);
    ::_exit(1);
}

void install_bus_error_handler() {
    static const bool installed = [] {
        struct sigaction action {};
        action.sa_handler = end_on_bus_error;
        sigemptyset(&action.sa_mask);
        return ::sigaction(SIGBUS, &action, nullptr) == 0;
    }();
    (void)installed;
}
}  // namespace

bool PictureInput::open(const std::string& path) {
    refusal_.clear();
    owned_.reset(open_regular_file(path, &refusal_));
    file_ = owned_.get();
    return file_ != nullptr;
}

void PictureInput::open_standard_input() {
    owned_.reset();
    file_ = stdin;
}

PictureProblem PictureInput::read_preamble() {
    reader_.emplace(file_, input_block_size);
    // A program reads its input once from start to end: a mapped file spares
    // copying it.
    if (reader_->map_file()) install_bus_error_handler();
    if (!read_header_lines(*reader_, header_.lines))
        return header_too_long(*reader_) ? PictureProblem::header_too_long : PictureProblem::bad_header;
    std::string line;
    if (!reader_->read_line(line, resolution_line_chars) || line.back() != '\n')
        return PictureProblem::bad_resolution;
    const auto resolution = parse_resolution_line(line);
    if (!resolution) return PictureProblem::bad_resolution;
    resolution_ = *resolution;
    // Every scanline takes at least four bytes, so a file too short for the
    // scanlines its resolution line claims is refused here, before a program
    // allocates room for a picture that is not there. Small pictures are left
    // to fail at the scanline where they end, as the programs report it.
    struct stat info {};
    const int descriptor = fileno(file_);
    if (descriptor >= 0 && ::fstat(descriptor, &info) == 0 && S_ISREG(info.st_mode)) {
        const uint64_t size = static_cast<uint64_t>(info.st_size);
        const uint64_t left = size > reader_->offset() ? size - reader_->offset() : 0;
        const uint64_t claimed = static_cast<uint64_t>(resolution_.scanline_count) *
                                 static_cast<uint64_t>(resolution_.scanline_length) * 4;
        if (claimed > (uint64_t{1} << 26) && static_cast<uint64_t>(resolution_.scanline_count) > left / 4)
            return PictureProblem::read_error;
    }
    decoder_.emplace(*reader_, resolution_.scanline_length);
    return PictureProblem::none;
}

bool PictureInput::read_planes(uint8_t* planes) {
    if (scanlines_read_ >= resolution_.scanline_count || !decoder_->decode(planes)) return false;
    ++scanlines_read_;
    return true;
}

bool PictureInput::read_pixels(RgbePixel* pixels) {
    planes_.resize(4 * static_cast<size_t>(resolution_.scanline_length));
    if (!read_planes(planes_.data())) return false;
    planes_to_pixels(planes_.data(), resolution_.scanline_length, pixels);
    return true;
}

bool PictureInput::ran_out() { return reader_ && !reader_->failed() && reader_->available() == 0; }

bool PictureInput::skip_to(int index) {
    planes_.resize(4 * static_cast<size_t>(resolution_.scanline_length));
    while (scanlines_read_ < index)
        if (!read_planes(planes_.data())) return false;
    return true;
}
