#pragma once
// One brand's song list: three parallel columns (title, number, singer) of CP949
// byte strings. Entries 0 to count-1 are in use; the count lives in the document.
#include <array>
#include <string>
#include <vector>

// Brands in the order of the document's tables and the song file's sections.
enum class Brand { Zandri = 0, Pellix = 1, Quorvel = 2 };
constexpr int kBrandCount = 3;

struct SongTable {
    // Storage bound of each column; the song page itself accepts at most 100 songs.
    static constexpr int kCapacity = 6000;
    std::vector<std::string> title = std::vector<std::string>(kCapacity);
    std::vector<std::string> number = std::vector<std::string>(kCapacity);
    std::vector<std::string> singer = std::vector<std::string>(kCapacity);
};

using SongTables = std::array<SongTable, kBrandCount>;
using SongCounts = std::array<int, kBrandCount>;

// Most songs a brand's list accepts, and what one section of the song file holds.
constexpr int kSongsPerBrand = 100;

// "Zandri", "Pellix", "Quorvel": the name in the CSV files and the window title.
const char* BrandName(int brandIndex);
// Brand index (0..2) of a name (case and surrounding spaces aside), or -1.
int BrandFromName(const std::string& name);
// "Lyrabox Plus(Zandri)" and so on: the main window's caption while the brand is shown.
std::string BrandWindowTitle(int brandIndex);
