// Runs a fuzz target without the fuzzing engine: every file of each directory given (or each
// file given directly, to reproduce one crash) goes through LLVMFuzzerTestOneInput once.
// A missing or empty corpus fails, so a mistyped path cannot make the replay pass vacuously.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

namespace fs = std::filesystem;

namespace {

bool replay(const fs::path &file)
{
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "cannot read %s\n", file.c_str());
        return false;
    }
    const std::vector<char> bytes((std::istreambuf_iterator<char>(in)),
                                  std::istreambuf_iterator<char>());
    // A heap copy of exactly the input's size, so ASan sees a read past its end.
    std::vector<uint8_t> input(bytes.begin(), bytes.end());
    LLVMFuzzerTestOneInput(input.empty() ? nullptr : input.data(), input.size());
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s CORPUS_DIR_OR_FILE...\n", argv[0]);
        return 2;
    }
    std::size_t count = 0;
    for (int a = 1; a < argc; ++a) {
        const fs::path given(argv[a]);
        std::error_code error;
        std::vector<fs::path> files;
        if (fs::is_directory(given, error)) {
            for (const auto &entry : fs::directory_iterator(given, error)) {
                if (entry.is_regular_file())
                    files.push_back(entry.path());
            }
            std::sort(files.begin(), files.end()); // the same order on every machine
        } else if (fs::is_regular_file(given, error)) {
            files.push_back(given);
        }
        if (files.empty()) {
            std::fprintf(stderr, "no inputs in %s\n", argv[a]);
            return 1;
        }
        for (const fs::path &file : files) {
            if (!replay(file))
                return 1;
            ++count;
        }
    }
    std::printf("replayed %zu inputs without a fault\n", count);
    return 0;
}
