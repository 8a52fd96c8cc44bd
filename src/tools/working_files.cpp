#include "tools/working_files.h"

std::string cleanup_working_copies_command(const std::string& cache_directory) {
    return "/C rm -f " + cache_directory + "/*dtemp*.*";
}

std::string cleanup_falsecolor_command(const std::string& cache_directory) {
    return "/C rm -f " + cache_directory + "/dfalse.*";
}
