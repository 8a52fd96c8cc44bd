#include "macro/macro_recorder.h"

#include <cerrno>
#include <cstring>

#include "common/text_format.h"
#include "macro/sequence_file.h"

std::string temporary_macro_path(const std::string& cache_directory) { return cache_directory + "/untitled.tmp"; }

std::optional<std::string> MacroRecorder::start(const std::string& temporary_path) {
    // Binary mode: the CR LF line ends are written as such on every platform.
    std::FILE* file = std::fopen(temporary_path.c_str(), "wb");
    if (!file) return strprintf("Could not create %s: %s", temporary_path.c_str(), std::strerror(errno));
    file_.reset(file);
    temporary_path_ = temporary_path;
    write_error_.clear();
    unrecordable_ = 0;
    recording_ = true;
    return std::nullopt;
}

MacroRecorder::Stopped MacroRecorder::stop() {
    recording_ = false;
    if (file_ && std::fclose(file_.release()) != 0 && write_error_.empty())
        write_error_ = strprintf("Could not write %s: %s", temporary_path_.c_str(), std::strerror(errno));
    return {temporary_path_, write_error_, unrecordable_};
}

void MacroRecorder::record_macro_line(const std::string& command_line, const std::string& output) {
    if (!output.empty() || !recording_) return;
    // A BMP mask's conversion is part of the mask operation: replay needs the
    // mask file it names. Every other ra_bmp or ra_gif line is a display
    // conversion or an export.
    const bool mask_conversion = starts_with(command_line, "/C ra_bmp -r ");
    if (!mask_conversion && (contains(command_line, "ra_bmp") || contains(command_line, "ra_gif"))) return;
    if (!file_) return;
    // A "#" or a line end would split the line where a reader does not expect it.
    if (command_line.find_first_of("#\r\n") != std::string::npos) {
        ++unrecordable_;
        return;
    }
    const std::string value =
        static_cast<unsigned long>(last_command_) == exposure_command_number ? format_default(*entered_exposure_) : "NULL";
    const std::string line = format_sequence_line(last_command_, command_line, value) + "\r\n";
    const bool written = std::fwrite(line.data(), 1, line.size(), file_.get()) == line.size() &&
                         std::fflush(file_.get()) == 0;
    if (!written && write_error_.empty())
        write_error_ = strprintf("Could not write %s: %s", temporary_path_.c_str(), std::strerror(errno));
}
