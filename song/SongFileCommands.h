#pragma once
// Saving and opening the song file with the person: the file dialogs and the messages.
#include <optional>
#include <string>

#include "song/SongTable.h"

// Saving asks the person where and says what went wrong; WriteSongFileTo (SongFile.h)
// only writes a path.

// Asks for a name ("song.kok" offered) and writes the three tables. False when the
// person cancelled or the file could not be written ("File Create Fail" was shown).
bool SaveSongFileAs(const SongTables& tables, const SongCounts& counts);
// Writes the three tables to path. With askForName, or while path is empty, asks first
// (offering path, or "song.kok" when there is none) and leaves the chosen name in path.
bool SaveSongFile(const SongTables& tables, const SongCounts& counts, std::string& path, bool askForName);

// Asks for a song file to open; nothing when the person cancelled.
std::optional<std::string> AskSongFileToOpen();
