#pragma once
// Small pictures and sequence files for the macro and batch tests.

#include <filesystem>
#include <string>
#include <vector>

#include "support/formula_pictures.h"
#include "support/temp_folder.h"

// A width x height picture whose pixel (x, y) is grey with x + 10 y + 1
// (stored value), with the given header lines (e.g. "EXPOSURE=0.5").
inline std::string write_macro_picture(const std::filesystem::path& path, int width, int height,
                                       std::vector<std::string> header = {}) {
    write_grey_picture(
        path.string(), width, height, [](int x, int y) { return static_cast<float>(x + 10 * y + 1); },
        std::move(header));
    return path.string();
}

// A sequence file of the given lines, each ended with CR LF.
inline std::string write_sequence(const std::filesystem::path& path, const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines) text += line + "\r\n";
    write_file(path, text);
    return path.string();
}

// `text` with every `from` replaced by `to`: "{cache}" in a test's sequence
// lines becomes its cache folder.
inline std::string replaced_all(std::string text, const std::string& from, const std::string& to) {
    for (size_t at = 0; (at = text.find(from, at)) != std::string::npos; at += to.size()) text.replace(at, from.size(), to);
    return text;
}
