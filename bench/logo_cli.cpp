// "lyrabox-cli logo" as a whole process on a 4000 x 3000 24-bit BMP, against Pillow
// doing the same crop, nearest resample and RGB 5-5-5 write in the same run. Each
// iteration starts one process; the figures are wall-clock times.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "support/CliProcess.h"
#include "support/Pictures.h"

namespace {

namespace fs = std::filesystem;

fs::path Dir() { return bench::ScratchDir("lyra_bench_logo_"); }

// The picture, written once: 4000 x 3000, 24 bits per pixel, bottom-up rows.
std::string Picture() {
    static std::string path = [] {
        const std::string p = (Dir() / "big.bmp").string();
        bench::PatternPicture(4000, 3000, 7, 13).Save(p, LB_FORMAT_BMP);
        return p;
    }();
    return path;
}

const char* kSelections[] = {"0,0,96,96", "100,100,500,400"};

void LyraboxCli(benchmark::State& state) {
    const std::string out = (Dir() / "cli.bmp").string();
    bench::RunCommand(state,
                      bench::CliPath() + " logo " + Picture() + " " + out + " --select " + kSelections[state.range(0)]);
}
BENCHMARK(LyraboxCli)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

void Pillow(benchmark::State& state) {
    const std::string out = (Dir() / "pil.bmp").string();
    const std::string script = (Dir() / "pil_logo.py").string();
    std::ofstream(script) << "import sys\n"
                             "from PIL import Image\n"
                             "l, t, r, b = map(int, sys.argv[3].split(','))\n"
                             "im = Image.open(sys.argv[1]).convert('RGB').crop((l, t, r, b))\n"
                             "im = im.resize((96, 96), Image.NEAREST).transpose(Image.FLIP_TOP_BOTTOM)\n"
                             "px = bytearray()\n"
                             "for rr, g, bb in im.getdata():\n"
                             "    v = (rr >> 3) << 10 | (g >> 3) << 5 | (bb >> 3)\n"
                             "    px += bytes((v & 255, v >> 8))\n"
                             "open(sys.argv[2], 'wb').write(bytes(54) + px + bytes(9216))\n";
    bench::RunCommand(state,
                      "/usr/bin/python3 " + script + " " + Picture() + " " + out + " " + kSelections[state.range(0)]);
}
BENCHMARK(Pillow)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

void ReadFileOnly(benchmark::State& state) { bench::RunCommand(state, "cat " + Picture() + " > /dev/null"); }
BENCHMARK(ReadFileOnly)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
