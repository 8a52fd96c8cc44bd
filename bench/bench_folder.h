#pragma once
// A folder of the system's temporary folder for one benchmark's files,
// made when first asked for.

#include <filesystem>
#include <string>

namespace bench {

inline std::filesystem::path scratch_folder(const std::string& name) {
    const std::filesystem::path path = std::filesystem::temp_directory_path() / name;
    std::filesystem::create_directories(path);
    return path;
}

}  // namespace bench
