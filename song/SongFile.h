#pragma once
// The song file (.kok): three 6400-byte brand sections (Zandri, Pellix, Quorvel), each
// a run of 64-byte records "[title*...][singer*...][number*]" with fields padded by
// "*" to 30, 22 and 6 bytes, then "*" filler to the section's end. 19200 bytes, no
// header.
#include <string>
#include <string_view>

#include "song/SongTable.h"

constexpr size_t kSongRecordBytes = 64;
constexpr size_t kSongSectionBytes = 6400;
constexpr size_t kSongFileBytes = kSongSectionBytes * kBrandCount;

// The file's bytes. At most 100 records per brand; a field wider than the file's
// field is cut at a character boundary and padded, never allowed to widen the record.
std::string EncodeSongFile(const SongTables& tables, const SongCounts& counts);

// Replaces counts (and the slots they cover) with what bytes holds. The parse follows
// the brackets: a section ends at the first record that does not begin with "[", at
// its 6400th byte or at the end of the data; "*" inside a field is dropped; a field
// without its closing "]" inside the section ends the section. At most 100 songs per
// brand are taken.
void DecodeSongFile(std::string_view bytes, SongTables& tables, SongCounts& counts);

// Writes atomically; false (with error) when any byte could not be written, in which
// case a file already at path is left as it was.
bool WriteSongFileTo(const std::string& path, const SongTables& tables, const SongCounts& counts,
                     std::string* error = nullptr);

// Reads up to 19200 bytes and decodes them; false when the file cannot be opened or
// read (why says so, when asked), with tables and counts untouched.
bool ReadSongFileFrom(const std::string& path, SongTables& tables, SongCounts& counts, std::string* why = nullptr);
