// "info" over arbitrary bytes under each name the describers look at: one block or
// one message, exit 0 or 1, never a crash.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "FuzzFile.h"
#include "cli/Cli.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const char* kNames[] = {"x.mmo", "x.kok", "x.bmp", "x.raw", "x.gif", "x.bin"};
    const char* name = kNames[size > 0 ? data[0] % 6 : 0];
    std::string path = FuzzWriteFile(name, size > 0 ? data + 1 : data, size > 0 ? size - 1 : 0);
    std::string program = "lyrabox-cli", command = "info";
    char* argv[] = {program.data(), command.data(), path.data()};
    const int code = cli::Run(3, argv);
    if (code != 0 && code != 1) __builtin_trap();
    return 0;
}
