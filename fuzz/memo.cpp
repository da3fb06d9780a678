// Memo reader over arbitrary bytes: must stay inside the data and keep every field
// terminated within its slot.
#include <cstdint>
#include <cstring>
#include <string>

#include "memo/MemoFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string bytes(reinterpret_cast<const char*>(data), size);
    MemoTable table;
    std::memset(table.data(), 0x5A, sizeof(MemoEntry) * table.size());
    int n = DecodeMemoFile(bytes, table);
    if (n < 0 || n > kMemoRows) __builtin_trap();
    for (int i = 0; i < n; ++i) {
        if (MemoFieldText(table[i], MemoField::Name).size() > 16) __builtin_trap();
        if (MemoFieldText(table[i], MemoField::Email).size() > 24) __builtin_trap();
    }
    std::string again = EncodeMemoFile(table, n - 1);
    if (again.size() != 16384 && again.size() != 16000) __builtin_trap();
    return 0;
}
