// The song side of the document: saving and opening the song file with the person.
#include <algorithm>
#include <functional>
#include <memory>

#include "app/CommandIds.h"
#include "app/LyraApp.h"
#include "app/LyraDoc.h"
#include "platform/Services.h"
#include "song/SongBrands.h"
#include "song/SongFile.h"
#include "song/SongFileCommands.h"

namespace {
// The command on a short line of its own: a message box wraps long lines at a hyphen and
// would cut the option in two.
constexpr const char* kSongPageNeeded =
    "Song files (.kok) open on the song page, which is shown when Lyrabox starts with\n\n"
    "    lyrabox --song-page";

// The first rows of one brand's list and its count: all an edit of that brand can
// change (an added song goes in the slot after the last one).
struct SongSlice {
    int count = 0;
    std::vector<SongFields> rows;
};

SongSlice TakeSlice(const SongTable& table, int count, int rows) {
    SongSlice slice{count, {}};
    for (int i = 0; i < rows; ++i) slice.rows.push_back({table.title[i], table.singer[i], table.number[i]});
    return slice;
}

void PutSlice(SongTable& table, int& count, const SongSlice& slice) {
    for (size_t i = 0; i < slice.rows.size(); ++i) {
        table.title[i] = slice.rows[i].title;
        table.singer[i] = slice.rows[i].singer;
        table.number[i] = slice.rows[i].number;
    }
    count = slice.count;
}

std::string DeletedSongs(size_t n) { return n == 1 ? "노래 삭제" : "노래 " + std::to_string(n) + "곡 삭제"; }

}  // namespace

template <class Edit>
void CLyraDoc::EditSongs(int brand, const std::string& name, Edit edit) {
    if (brand < 0 || brand >= kBrandCount) return;
    const int rows = std::min(SongTable::kCapacity, m_nSongCount[brand] + 1);
    auto slices = std::make_shared<std::pair<SongSlice, SongSlice>>(
        TakeSlice(m_song[brand], m_nSongCount[brand], rows), SongSlice{});
    if (!edit(m_song[brand], m_nSongCount[brand])) return;
    slices->second = TakeSlice(m_song[brand], m_nSongCount[brand], rows);
    m_bSongModified = 1;
    auto put = [this, brand, slices](bool after) {
        PutSlice(m_song[brand], m_nSongCount[brand], after ? slices->second : slices->first);
        UpdateAllViews(nullptr, hint::SongsChanged + brand);
        return true;
    };
    HistoryOf(DataKind::Songs).Record({name, [put] { return put(false); }, [put] { return put(true); }});
}

void CLyraDoc::AddSong(int brand, const SongFields& song) {
    EditSongs(brand, "노래 입력", [&](SongTable& table, int& count) {
        if (count >= SongTable::kCapacity) return false;
        table.title[count] = song.title;
        table.number[count] = song.number;
        table.singer[count] = song.singer;
        ++count;
        return true;
    });
}

void CLyraDoc::ChangeSong(int brand, int row, const SongFields& song) {
    EditSongs(brand, "노래 수정", [&](SongTable& table, int& count) {
        if (row < 0 || row >= count) return false;
        table.title[row] = song.title;
        table.number[row] = song.number;
        table.singer[row] = song.singer;
        return true;
    });
}

void CLyraDoc::DeleteSongs(int brand, const std::vector<int>& rows) {
    EditSongs(brand, DeletedSongs(rows.size()), [&](SongTable& table, int& count) {
        std::vector<int> order = rows;
        std::sort(order.begin(), order.end(), std::greater<>());
        bool any = false;
        for (int r : order) {
            const int n = count;
            if (r < 0 || r >= n) continue;
            // Later songs move up one slot.
            for (int i = r; i < n && i + 1 < SongTable::kCapacity; ++i) {
                table.title[i] = table.title[i + 1];
                table.number[i] = table.number[i + 1];
                table.singer[i] = table.singer[i + 1];
            }
            count = n - 1;
            any = true;
        }
        return any;
    });
}

bool CLyraDoc::CopySong(int from, int slot, int to) {
    SongCopy result = SongCopy::NoSuchSong;
    EditSongs(to, "노래 복사", [&](SongTable&, int&) {
        result = CopySongToBrand(m_song, m_nSongCount, from, slot, to);
        return result == SongCopy::Copied;
    });
    return result != SongCopy::TargetFull;
}

void CLyraDoc::ClearSongs() {
    m_nSongCount = {0, 0, 0};
    m_bSongListFilled = 0;
    MarkSaved(DataKind::Songs);  // empty lists hold nothing to lose
    HistoryOf(DataKind::Songs).Clear();
}

bool CLyraDoc::SaveSongs(bool askForName) {
    if (!SaveSongFile(m_song, m_nSongCount, m_strSongPath, askForName)) return false;
    MarkSaved(DataKind::Songs);
    FileTaken(m_strSongPath);
    return true;
}

bool CLyraDoc::SaveSongsWithDialog() { return SaveSongs(false); }

bool CLyraDoc::OpenSongs(const std::string& path) {
    if (!app_.Host().HasSongPage()) {
        platform::services().prompts->Show(kSongPageNeeded, platform::Buttons::Ok);
        return false;
    }
    // Read into a copy first: slots beyond the file's songs keep their old text, as
    // they would when read in place, and a failed read or a Cancel changes nothing.
    SongTables tables = m_song;
    SongCounts counts{0, 0, 0};
    std::string why;
    auto read = [&] {
        counts = {0, 0, 0};
        if (ReadSongFileFrom(path, tables, counts, &why)) return true;
        platform::services().prompts->Show("File Read Fail: " + why, platform::Buttons::Ok);
        return false;
    };
    if (!read()) return false;
    const bool asked = HasUnsavedChanges(DataKind::Songs);
    if (!AskToSaveChanges({DataKind::Songs})) return false;
    // A Yes may just have written this very file: take what it holds now.
    if (asked && !read()) return false;
    m_song = std::move(tables);
    m_nSongCount = counts;
    m_bSongModified = 1;
    MarkSaved(DataKind::Songs);
    // The lists read are a new start: undo goes no further back than the file.
    HistoryOf(DataKind::Songs).Clear();
    m_strSongPath = path;
    app_.m_nPage = page::Song;
    ShowPageOf(page::Song);
    UpdateAllViews(nullptr, hint::SongsRead);
    FileTaken(path);
    return true;
}
