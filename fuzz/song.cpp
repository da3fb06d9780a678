// Song file reader over arbitrary bytes: must stay inside the data, take at most 100
// songs per brand, and give tables that write back as exactly 19200 bytes which read
// back to the same counts.
#include <cstdint>
#include <memory>
#include <string_view>

#include "song/SongFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static auto tables = std::make_unique<SongTables>();
    static auto again = std::make_unique<SongTables>();
    SongCounts counts{-1, -1, -1};
    DecodeSongFile(std::string_view(reinterpret_cast<const char*>(data), size), *tables, counts);
    for (int n : counts)
        if (n < 0 || n > kSongsPerBrand) __builtin_trap();
    std::string bytes = EncodeSongFile(*tables, counts);
    if (bytes.size() != kSongFileBytes) __builtin_trap();
    SongCounts back{};
    DecodeSongFile(bytes, *again, back);
    for (int b = 0; b < kBrandCount; ++b)
        if (back[b] > counts[b]) __builtin_trap();
    return 0;
}
