#include "song/SongBrands.h"

#include <algorithm>

namespace {
constexpr const char* kNames[kBrandCount] = {"Zandri", "Pellix", "Quorvel"};
}

const char* BrandName(int brandIndex) {
    return brandIndex >= 0 && brandIndex < kBrandCount ? kNames[brandIndex] : "";
}

int BrandFromName(const std::string& name) {
    // Spelled as people type it: "ZANDRI", " pellix " (the CSV headers are matched alike).
    const size_t first = name.find_first_not_of(' '), last = name.find_last_not_of(' ');
    const std::string word = first == std::string::npos ? std::string() : name.substr(first, last - first + 1);
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    for (int b = 0; b < kBrandCount; ++b) {
        const std::string known = kNames[b];
        if (word.size() == known.size() &&
            std::equal(word.begin(), word.end(), known.begin(), [&](char x, char y) { return lower(x) == lower(y); }))
            return b;
    }
    return -1;
}

std::string BrandWindowTitle(int brandIndex) { return std::string("Lyrabox Plus(") + BrandName(brandIndex) + ")"; }

SongCopy CopySongToBrand(SongTables& tables, SongCounts& counts, int from, int slot, int to) {
    if (counts[to] >= kSongsPerBrand) return SongCopy::TargetFull;
    if (slot < 0 || slot >= counts[from]) return SongCopy::NoSuchSong;
    const SongTable& src = tables[from];
    SongTable& dst = tables[to];
    int n = counts[to];
    dst.title[n] = src.title[slot];
    dst.number[n] = src.number[slot];
    dst.singer[n] = src.singer[slot];
    ++counts[to];
    return SongCopy::Copied;
}
