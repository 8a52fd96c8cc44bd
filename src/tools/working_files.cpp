#include "tools/working_files.h"

#include <filesystem>

#include "tools/command_path.h"

std::string cache_directory_problem(const std::string& cache_directory) {
    if (cache_directory.empty() || !is_command_safe_path(cache_directory))
        return "The cache directory \"" + cache_directory +
               "\" cannot be used: choose one without spaces in Tools > Settings";
    if ((cache_directory + working_file::kept_working_copy).size() >= max_path_chars)
        return "Cache path is too long: choose a shorter one in Tools > Settings";
    return {};
}

std::string cleanup_working_copies_command(const std::string& cache_directory) {
    return "/C rm -f " + cache_directory + "/*dtemp*.*";
}

std::string cleanup_falsecolor_command(const std::string& cache_directory) {
    return "/C rm -f " + cache_directory + "/dfalse.*";
}

void replace_working_file(const std::string& from, const std::string& to, std::error_code& error) {
    namespace fs = std::filesystem;
    const std::string aside = to + ".replaced";
    std::error_code ignored;
    fs::remove(aside, ignored);
    fs::rename(to, aside, error);
    const bool moved_aside = !error;
    fs::rename(from, to, error);
    if (error) {
        if (moved_aside) fs::rename(aside, to, ignored);
        return;
    }
    if (moved_aside) fs::remove(aside, ignored);
}
