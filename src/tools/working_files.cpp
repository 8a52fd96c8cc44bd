#include "tools/working_files.h"

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
