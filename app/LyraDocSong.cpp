// The song side of the document: saving and opening the song file with the person.
#include "app/CommandIds.h"
#include "app/LyraApp.h"
#include "app/LyraDoc.h"
#include "platform/Services.h"
#include "song/SongFile.h"
#include "song/SongFileCommands.h"

namespace {
// The command on a short line of its own: a message box wraps long lines at a hyphen and
// would cut the option in two.
constexpr const char* kSongPageNeeded =
    "Song files (.kok) open on the song page, which is shown when Lyrabox starts with\n\n"
    "    lyrabox --song-page";
}  // namespace

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
    m_strSongPath = path;
    app_.m_nPage = page::Song;
    ShowPageOf(page::Song);
    UpdateAllViews(nullptr, hint::SongsRead);
    FileTaken(path);
    return true;
}
