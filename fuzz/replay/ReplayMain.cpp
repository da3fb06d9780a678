// A fuzz target without libFuzzer: runs every file named on the command line, and every
// file in every folder named, once, in name order. A target that finds a fault aborts,
// and the name printed last is the input that showed it. A folder that holds no file
// is an error, so a corpus that went missing is noticed.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int* argc, char*** argv);

namespace fs = std::filesystem;

int main(int argc, char** argv) {
    if (LLVMFuzzerInitialize) LLVMFuzzerInitialize(&argc, &argv);
    size_t inputs = 0;
    for (int i = 1; i < argc; ++i) {
        std::vector<fs::path> files;
        std::error_code error;
        if (fs::is_directory(argv[i], error)) {
            for (const auto& entry : fs::directory_iterator(argv[i], error))
                if (entry.is_regular_file()) files.push_back(entry.path());
            std::sort(files.begin(), files.end());
        } else if (fs::is_regular_file(argv[i], error)) {
            files.push_back(argv[i]);
        }
        if (files.empty()) {
            std::fprintf(stderr, "replay: no input in %s\n", argv[i]);
            return 2;
        }
        for (const fs::path& file : files) {
            // A block of exactly the input's size, so a read past its end is a read past the block.
            std::ifstream in(file, std::ios::binary | std::ios::ate);
            const std::streamoff size = in.tellg();
            std::unique_ptr<uint8_t[]> data(new uint8_t[size_t(std::max<std::streamoff>(size, 0))]);
            in.seekg(0);
            if (size < 0 || !in.read(reinterpret_cast<char*>(data.get()), size)) {
                std::fprintf(stderr, "replay: cannot read %s\n", file.c_str());
                return 2;
            }
            std::printf("replay: %s\n", file.c_str());
            std::fflush(stdout);
            LLVMFuzzerTestOneInput(data.get(), size_t(size));
            ++inputs;
        }
    }
    std::printf("replay: %zu inputs, no fault\n", inputs);
    return 0;
}
