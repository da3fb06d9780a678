// "lyrabox-cli" as a whole process on tiny files that claim huge pictures or tables:
// each must be refused (or done, for the logo) well under a second. Each iteration
// starts one process; the figures are wall-clock times.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "../tests/cli/support/HostileFiles.h"
#include "support/CliProcess.h"

namespace {

namespace fs = std::filesystem;

fs::path Dir() { return bench::ScratchDir("lyra_bench_hostile_"); }

std::string Write(const std::string& name, const std::string& bytes) {
    const std::string path = (Dir() / name).string();
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

// Runs "lyrabox-cli ARGS" with the file in place of "IN"; the exit code must be the
// expected one.
void Run(benchmark::State& state, const std::string& in, std::string args, int expected) {
    args.replace(args.find("IN"), 2, in);
    bench::RunCommand(state, bench::CliPath() + " " + args + " 2>/dev/null", expected);
}

// A small progressive JPEG from the fuzz seeds made to claim width x height, with its
// last scan repeated: every scan walks the whole claimed picture.
std::string ProgressiveClaiming(uint16_t width, uint16_t height, int extraScans) {
    std::ifstream in(std::string(LYRA_SOURCE_DIR) + "/fuzz/seeds/jpeg/progressive.jpg", std::ios::binary);
    std::string j((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const size_t sof = j.find("\xff\xc2"), lastScan = j.rfind("\xff\xda"), end = j.rfind("\xff\xd9");
    if (sof == std::string::npos || lastScan == std::string::npos || end == std::string::npos) return j;
    j[sof + 5] = char(height >> 8), j[sof + 6] = char(height), j[sof + 7] = char(width >> 8), j[sof + 8] = char(width);
    const std::string scan = j.substr(lastScan, end - lastScan);
    std::string out = j.substr(0, end);
    for (int i = 0; i < extraScans; ++i) out += scan;
    return out + "\xff\xd9";
}

void WideBmp(benchmark::State& s) {
    Run(s, Write("wide.bmp", hostile::BmpHeader(357913941, 1, 32, 0, 0)), "convert IN " + (Dir() / "o.png").string(), 1);
}
void HugeTextPng(benchmark::State& s) {
    Run(s, Write("text.png", hostile::HugeTextPng()), "convert IN " + (Dir() / "o.bmp").string(), 1);
}
void ManyLargeFrames(benchmark::State& s) {
    Run(s, Write("frames.gif", hostile::EmptyFramesGif(10000, 10000, 1001)),
        "convert IN " + (Dir() / "o.bmp").string() + " --frame 1000", 1);
}
void ManyTinyFrames(benchmark::State& s) {
    Run(s, Write("many.gif", hostile::EmptyFramesGif(1, 1, 40000)), "convert IN " + (Dir() / "o.bmp").string() + " --frame 5000",
        1);
}
void RleLogoTurned(benchmark::State& s) {
    Run(s, Write("rle.bmp", hostile::EmptyRle8Bmp(16384, 16384)), "logo IN " + (Dir() / "logo.bmp").string() + " --rotate-left",
        0);
}
void CsvOfManyRows(benchmark::State& s) {
    Run(s, Write("rows.csv", hostile::MemoRows(1000000)), "memo import IN -o " + (Dir() / "o.mmo").string(), 1);
}

void HugeProgressiveJpeg(benchmark::State& s) {
    Run(s, Write("huge.jpg", ProgressiveClaiming(18000, 18000, 0)), "convert IN " + (Dir() / "o.bmp").string(), 1);
}
void ManyScansJpeg(benchmark::State& s) {
    Run(s, Write("scans.jpg", ProgressiveClaiming(12000, 9000, 10000)), "convert IN " + (Dir() / "o.bmp").string(), 1);
}

// A JPEG from the fuzz seeds with a megabyte of empty APP1 markers after its start.
std::string MarkerFlood() {
    std::ifstream in(std::string(LYRA_SOURCE_DIR) + "/fuzz/seeds/jpeg/rgb.jpg", std::ios::binary);
    std::string j((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::string flood = j.substr(0, 2);
    for (int i = 0; i < 249950; ++i) flood += std::string("\xFF\xE1\x00\x02", 4);
    return flood + j.substr(2);
}
void InfoOfMarkerFlood(benchmark::State& s) { Run(s, Write("flood.jpg", MarkerFlood()), "info IN", 0); }
void ConvertMarkerFlood(benchmark::State& s) {
    Run(s, Write("flood.jpg", MarkerFlood()), "convert IN " + (Dir() / "o.bmp").string() + " --force", 0);
}
void InfoOfGiantGif(benchmark::State& s) { Run(s, Write("giant.gif", hostile::EmptyFramesGif(16384, 16384, 1)), "info IN", 1); }

BENCHMARK(InfoOfMarkerFlood)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(ConvertMarkerFlood)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(InfoOfGiantGif)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(HugeProgressiveJpeg)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(ManyScansJpeg)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(WideBmp)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(HugeTextPng)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(ManyLargeFrames)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(ManyTinyFrames)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(RleLogoTurned)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(CsvOfManyRows)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
