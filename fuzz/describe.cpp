// "info" over arbitrary bytes under each name the describers look at: one block or
// one message, exit 0 or 1, never a crash; and the content-kind check of outputs.
#include <cstdint>
#include <cstdio>
#include <string>

#include "FuzzFile.h"
#include "app/FileContentKind.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const char* kNames[] = {"x.mmo", "x.kok", "x.bmp", "x.raw", "x.gif", "x.bin"};
    const char* name = kNames[size > 0 ? data[0] % 6 : 0];
    const std::string path = FuzzWriteFile(name, size > 0 ? data + 1 : data, size > 0 ? size - 1 : 0);
    const int code = FuzzCli({"info", path});
    if (code != 0 && code != 1) __builtin_trap();
    // The same bytes as a file an output would replace: its kind, told by content.
    (void)ContentKindOf(std::string_view(reinterpret_cast<const char*>(data), size), size);
    return 0;
}
