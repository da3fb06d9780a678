// "info" from headers alone: tiny files that claim giant pictures are described in a
// few megabytes of address space, the limit they are over is named, and a file that
// cannot be described fails the command.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <unistd.h>

#include <fstream>

#include "cli/support/CliRun.h"
#include "cli/support/HostileFiles.h"

using namespace hostile;

namespace {

std::string Be16(uint32_t v) { return std::string{char(v >> 8), char(v & 0xFF)}; }
std::string Be32(uint32_t v) { return Be16(v >> 16) + Be16(v & 0xFFFF); }

// A PNG of only its header chunk and end; a JPEG's frame header (components 1 or 3).
std::string PngHeaderOnly(uint32_t w, uint32_t h, int depth, int colour) {
    return std::string("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR", 16) + Be32(w) + Be32(h) + char(depth) + char(colour) +
           std::string(7, '\0') + Be32(0) + "IEND" + Be32(0xAE426082);
}
std::string JpegFrame(uint32_t w, uint32_t h, int components) {
    return "\xFF\xC0" + Be16(8 + 3 * components) + "\x08" + Be16(h) + Be16(w) + char(components) +
           std::string("\x01\x11\0\x02\x11\0\x03\x11\0", 3 * size_t(components));
}

// Runs the command line limited to its present address space plus room: a describer
// that allocated for the claimed picture would fail.
CliResult RunInLittleMemory(const std::vector<std::string>& args, const std::string& dir) {
    return RunCliInChild(args, dir, [] {
        size_t pages = 0;
        std::ifstream("/proc/self/statm") >> pages;
        const rlim_t limit = rlim_t(pages) * rlim_t(sysconf(_SC_PAGESIZE)) + (rlim_t(20) << 20);
        rlimit r{limit, limit};
        setrlimit(RLIMIT_AS, &r);
    });
}

}  // namespace

TEST(InfoCli, DescribesFromHeadersInLittleMemory) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "an address-space limit and the sanitizer's shadow memory do not mix";
#endif
    const std::string dir = CliScratch();
    // 249,950 empty APP1 markers before the frame header: a megabyte of markers.
    std::string flood = "\xFF\xD8";
    for (int i = 0; i < 249950; ++i) flood += std::string("\xFF\xE1\x00\x02", 4);
    flood += JpegFrame(16, 8, 3) + "\xFF\xD9";
    std::string outside = EmptyFramesGif(4, 4, 2);  // and a frame outside the screen, which viewers show
    outside.insert(outside.size() - 1, std::string("\x2c\x10\0\x10\0\x04\0\x04\0\0\x02\0", 12));
    struct Case {
        const char* name;
        std::string bytes;
        int code;
        const char* out;  // part of the block
        const char* err;  // part of the error line ("" when none)
    } cases[] = {
        {"edge.gif", EmptyFramesGif(16384, 16384, 1), 0, "width: 16384\n  height: 16384\n  bits per pixel: 1\n", ""},
        {"giant.gif", EmptyFramesGif(16385, 16384, 1), 1, "width: 16385\n",
         "16385 x 16384: over the pixel limit of 268435456 pixels"},
        {"giant.png", PngHeaderOnly(65535, 65535, 16, 6), 1, "bits per pixel: 24", "over the pixel limit"},
        {"giant.bmp", BmpHeader(100000, -100000, 8, 1, 0), 1, "height: 100000", "over the pixel limit"},
        {"giant.jpg", "\xFF\xD8" + JpegFrame(65535, 65535, 1) + "\xFF\xD9", 1, "bits per pixel: 8", "over the pixel"},
        {"flood.jpg", flood, 0, "picture, JPEG\n  width: 16\n  height: 8\n  bits per pixel: 24\n  frames: 1\n", ""},
        {"outside.gif", outside, 0, "frames: 3\n", ""},
        {"grey.png", PngHeaderOnly(5, 3, 2, 0), 0, "bits per pixel: 4", ""},
        {"nosof.jpg", "\xFF\xD8\xFF\xE1\x00\x02\xFF\xD9", 1, "picture, JPEG\n", "no frame header"},
        {"depth.bmp", BmpHeader(2, 2, 7, 0, 0), 1, "picture, BMP\n", "7 bits per pixel"},
        {"text.bin", "hello", 1, "not recognised", "not recognised"},
    };
    for (const Case& c : cases) {
        WriteAll(dir + "/" + c.name, c.bytes);
        const CliResult r = RunInLittleMemory({"info", dir + "/" + c.name}, dir);
        EXPECT_EQ(r.code, c.code) << c.name << ": " << r.err;
        EXPECT_NE(r.out.find(c.out), std::string::npos) << c.name << ": " << r.out;
        EXPECT_NE(r.err.find(c.err), std::string::npos) << c.name << ": " << r.err;
        EXPECT_TRUE(c.code != 0 || r.err.empty()) << c.name << ": " << r.err;
    }
}
