#include "support/temp_folder.h"

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

TempFolder::TempFolder() {
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/candelux-test-XXXXXX";
    if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot create a temporary folder");
    path_ = pattern;
}

TempFolder::~TempFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

void write_file(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string read_file(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string shared_picture(const std::string& name) {
    const std::filesystem::path path = std::filesystem::path(CANDELUX_SHARED_PICTURES) / name;
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec) ? path.string() : std::string();
}
