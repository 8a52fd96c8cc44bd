#pragma once
// A fresh folder under the system's temporary folder, removed with its
// contents when the test ends.

#include <filesystem>
#include <string>

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string str() const { return path_.string(); }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

// Writes bytes to a file, replacing it.
void write_file(const std::filesystem::path& path, const std::string& bytes);
// The whole file, or "" when it cannot be read.
std::string read_file(const std::filesystem::path& path);

// Where the real test pictures are, or "" when they are not on this machine.
std::string shared_picture(const std::string& name);
