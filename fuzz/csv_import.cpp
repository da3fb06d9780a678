// "memo import" and "song import" over arbitrary CSV text, through the entry rules to
// the file bytes: an import either fails with one message or writes a file that the
// readers accept and that exports and imports back to the same bytes.
#include <cstdint>
#include <cstdio>
#include <string>

#include "FuzzFile.h"
#include "platform/AtomicFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const bool song = data[0] & 1;
    const std::string header = song ? "brand,title,singer,number\n" : "name,tel,email\n";
    std::string text = header + std::string(reinterpret_cast<const char*>(data + 1), size - 1);
    const std::string csv = FuzzWriteFile("import.csv", reinterpret_cast<const uint8_t*>(text.data()), text.size());
    const std::string file = FuzzWriteFile(song ? "out.kok" : "out.mmo", nullptr, 0);
    std::remove(file.c_str());
    const int code = FuzzCli({song ? "song" : "memo", "import", csv, "-o", file});
    if (code != 0 && code != 1) __builtin_trap();
    std::string first;
    if (code == 1) {
        if (platform::ReadFileBytes(file, first)) __builtin_trap();  // a failed import writes nothing
        return 0;
    }
    const std::string again = FuzzWriteFile("again.csv", nullptr, 0);
    const std::string file2 = FuzzWriteFile(song ? "again.kok" : "again.mmo", nullptr, 0);
    if (FuzzCli({song ? "song" : "memo", "export", file, "-o", again}) != 0) __builtin_trap();
    if (FuzzCli({song ? "song" : "memo", "import", again, "-o", file2}) != 0) __builtin_trap();
    std::string second;
    if (!platform::ReadFileBytes(file, first) || !platform::ReadFileBytes(file2, second) || first != second)
        __builtin_trap();
    return 0;
}
