#include "song/SongBrands.h"

namespace {
constexpr const char* kNames[kBrandCount] = {"Zandri", "Pellix", "Quorvel"};
}

const char* BrandName(int brandIndex) {
    return brandIndex >= 0 && brandIndex < kBrandCount ? kNames[brandIndex] : "";
}

int BrandFromName(const std::string& name) {
    for (int b = 0; b < kBrandCount; ++b)
        if (name == kNames[b]) return b;
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
