#include "profiles/profile_choice.h"

#include <filesystem>
#include <fstream>

#include "common/text_file.h"

std::string capture_profile_choice_file(const std::optional<std::string>& configuration_folder) {
    if (!configuration_folder) return "";
    return *configuration_folder + "/candelux/capture_profile";
}

std::string read_profile_choice(const std::string& choice_file) {
    if (choice_file.empty()) return "";
    const auto bytes = read_file_bytes(choice_file);
    // A path, not a document: anything long is not ours.
    if (!bytes || bytes->size() > 4096) return "";
    std::string path = bytes->substr(0, bytes->find_first_of("\r\n"));
    return path;
}

bool write_profile_choice(const std::string& choice_file, const std::string& profile_path) {
    if (choice_file.empty()) return false;
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(choice_file).parent_path(), ec);
    std::ofstream out(choice_file, std::ios::binary | std::ios::trunc);
    out << profile_path << '\n';
    return static_cast<bool>(out.flush());
}
