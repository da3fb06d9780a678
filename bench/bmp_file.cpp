// A 36 MB BMP (4000 x 3000, 24 bits) read from a file and saved to another one
// (a save syncs the file before it replaces the target), against a durable block copy of the same file (what
// `dd bs=4M conv=fsync` does). Files go to $LYRA_BENCH_DIR, else the working folder.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "image/LbImage.h"
#include "support/Pictures.h"

namespace {

std::string Folder() {
    const char* dir = std::getenv("LYRA_BENCH_DIR");
    return dir != nullptr ? std::string(dir) : std::string(".");
}

const std::string& Source() {
    static std::string path;
    if (path.empty()) {
        path = Folder() + "/bench-bmp-in.bmp";
        bench::PatternPicture(4000, 3000, 3, 1).Save(path, LB_FORMAT_BMP);
    }
    return path;
}

void BM_BmpLoadSave(benchmark::State& state) {
    const std::string in = Source(), out = Folder() + "/bench-bmp-out.bmp";
    for (auto _ : state) {
        LbImage image;
        if (!image.Load(in, LB_FORMAT_BMP) || !image.Save(out, LB_FORMAT_BMP))
            state.SkipWithError("BMP round trip failed");
    }
    ::unlink(out.c_str());
    state.SetBytesProcessed(int64_t(state.iterations()) * 36000054);
}
BENCHMARK(BM_BmpLoadSave)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_DdCopyFsync(benchmark::State& state) {
    const std::string in = Source(), out = Folder() + "/bench-bmp-dd.bmp";
    std::vector<char> block(4 << 20);
    for (auto _ : state) {
        const int src = ::open(in.c_str(), O_RDONLY);
        const int dst = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ssize_t n;
        while ((n = ::read(src, block.data(), block.size())) > 0)
            if (::write(dst, block.data(), size_t(n)) != n) state.SkipWithError("write failed");
        if (::fsync(dst) != 0) state.SkipWithError("fsync failed");
        ::close(dst);
        ::close(src);
    }
    ::unlink(out.c_str());
    state.SetBytesProcessed(int64_t(state.iterations()) * 36000054);
}
BENCHMARK(BM_DdCopyFsync)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
