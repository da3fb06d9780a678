#pragma once
// Saving and opening the song file with the person: the file dialogs and the messages.
#include <string>

#include "song/SongTable.h"

// Asks for a name ("song.kok" offered) and writes the three tables. False when the
// person cancelled or the file could not be written ("File Create Fail" was shown).
bool WriteSongFile(const SongTables& tables, const SongCounts& counts);

enum class SongRead {
    Cancelled,  // nothing changed
    Failed,     // "File Read Fail" was shown; all three counts are 0
    Read,       // tables and counts hold the file's songs
};

// Asks for a song file and reads it into the tables.
SongRead ReadSongFile(SongTables& tables, SongCounts& counts);
// Reads a song file named elsewhere (command line, recent files, a drop).
SongRead ReadSongFileAt(const std::string& path, SongTables& tables, SongCounts& counts);
