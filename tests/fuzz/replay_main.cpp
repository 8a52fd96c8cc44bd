// Replays every file of the given folders (or the given files) through a fuzz
// target, so that the normal build checks each seed and past finding on every
// change without a fuzzer.

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

int replay(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    int inputs = 0;
    for (int i = 1; i < argc; ++i) {
        const std::filesystem::path path(argv[i]);
        if (std::filesystem::is_directory(path)) {
            for (const auto& entry : std::filesystem::recursive_directory_iterator(path))
                if (entry.is_regular_file()) inputs += replay(entry.path());
        } else {
            inputs += replay(path);
        }
    }
    // An empty input is always worth a run too.
    LLVMFuzzerTestOneInput(nullptr, 0);
    std::printf("%d inputs replayed\n", inputs);
    return inputs > 0 ? 0 : 1;
}
