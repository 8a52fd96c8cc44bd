#pragma once
// The program's own small text files (settings, capture lists, sequence files,
// reports) are written with CR LF line ends on every platform and read back
// accepting LF or CR LF.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

// The lines of a text file without their line ends, or nothing when it cannot
// be opened. A last line without a line end is kept.
std::optional<std::vector<std::string>> read_text_lines(const std::filesystem::path& path);

// The whole file as bytes, or nothing when it cannot be opened or is not a
// regular file (a FIFO, a device, a folder).
std::optional<std::string> read_file_bytes(const std::filesystem::path& path);

// Writes every line followed by CR LF, replacing the file. False on failure.
bool write_text_lines(const std::filesystem::path& path, const std::vector<std::string>& lines);
