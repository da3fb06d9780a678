#pragma once
// The rules a song passes before it is stored in a brand's table: bracket
// replacement, the line rule that keeps a double-byte character from starting on the
// last byte of a 15-byte piece, the song number's digits, and the byte limits. The
// song page's Input and the command line's import both go through here.
#include <string>

#include "song/SongTable.h"

// Limits in CP949 bytes.
constexpr size_t kSongTypedTitle = 29;   // what the entry fields let a person type
constexpr size_t kSongTypedSinger = 21;
constexpr size_t kSongTypedNumber = 6;
constexpr size_t kSongTitleBytes = 30;   // what a table ever holds (the file's field widths)
constexpr size_t kSongSingerBytes = 22;
constexpr size_t kSongNumberBytes = 6;

// One song as the three entry fields hold it (CP949 bytes).
struct SongFields {
    std::string title;
    std::string singer;
    std::string number;
    bool operator==(const SongFields&) const = default;
};

// For a field longer than 15 bytes: a two-byte character that begins at byte 14 (and so
// would be cut between the file's 15-byte pieces) gets one space inserted before it.
void ApplySongLineRule(std::string& field);

// Digits and spaces only (an empty number passes; emptiness is checked on its own).
bool IsSongNumberText(const std::string& number);

enum class SongCheck {
    Ok,
    BrandFull,       // the brand already holds 100 songs
    BadNumber,       // a song number character other than a digit or a space
    EmptyField,      // refused without a message
    TitleTooLong,
    SingerTooLong,
    TooLong,         // a change, or a number, over the field widths
    Asterisk,        // a "*" in a field: the file's filler, it would be lost on reading
};

// The character a song field cannot hold, and why (UTF-8).
constexpr char kSongRefusedCharacter = '*';
constexpr const char* kSongAsteriskMessage = "'*' 문자는 노래파일에 저장할 수 없어 입력 할수 없습니다.";

// Adding a song to a brand holding count songs: replaces the brackets and applies the
// line rule to fields, then checks in order count, number, "*", empty fields, title,
// singer and number lengths. fields is left as it would be stored.
SongCheck CheckNewSong(SongFields& fields, int count);

// Changing an existing song: the same preparation, then number, "*", empty fields and
// the three widths.
SongCheck CheckChangedSong(SongFields& fields);

// The message shown for a refusal (UTF-8); empty for Ok and EmptyField.
const char* SongCheckMessage(SongCheck check);
