#include "macro/picture_folder.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <set>

#include "common/file_extension.h"

namespace fs = std::filesystem;

bool looks_like_step_file(std::string_view name, std::string_view* rest) {
    size_t digits = 0;
    while (digits < name.size() && std::isdigit(static_cast<unsigned char>(name[digits]))) ++digits;
    if (digits == 0 || digits + 1 >= name.size() || name[digits] != '-' || name[0] == '0') return false;
    if (rest) *rest = name.substr(digits + 1);
    return true;
}

Result<std::vector<std::string>> list_pictures(const std::string& folder) {
    std::error_code ec;
    fs::directory_iterator it(folder, ec);
    if (ec) return Failure{-1, "Could not read the folder " + folder + ": " + ec.message()};
    std::set<std::string> names;
    for (; it != fs::directory_iterator(); it.increment(ec)) {
        if (ec) return Failure{-1, "Could not read the folder " + folder + ": " + ec.message()};
        std::error_code type_error;
        if (!it->is_regular_file(type_error)) continue;
        std::string name = it->path().filename().string();
        if (has_extension(name, ".hdr")) names.insert(std::move(name));
    }
    std::vector<std::string> pictures;
    for (const std::string& name : names) {
        std::string_view rest;
        if (looks_like_step_file(name, &rest) && names.count(std::string(rest))) continue;
        pictures.push_back(name);
    }
    return pictures;
}
