#pragma once
// Copying one song from a brand's table to the end of another's.
#include "song/SongTable.h"

enum class SongCopy { Copied, TargetFull, NoSuchSong };

// Appends slot `slot` of brand `from` to brand `to`, as stored. Refused when `to`
// already holds 100 songs or when the slot is not one of `from`'s songs.
SongCopy CopySongToBrand(SongTables& tables, SongCounts& counts, int from, int slot, int to);
