#pragma once
// An open C stream that closes itself.

#include <cstdio>
#include <memory>
#include <string>

struct FileCloser {
    void operator()(std::FILE* file) const {
        if (file) std::fclose(file);
    }
};

using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

inline FileHandle open_file(const std::string& path, const char* mode) {
    return FileHandle(std::fopen(path.c_str(), mode));
}
