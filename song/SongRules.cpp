#include "song/SongRules.h"

#include <algorithm>

#include "ui/EntryRules.h"

void ApplySongLineRule(std::string& field) {
    constexpr size_t kPiece = 15;
    if (field.size() <= kPiece) return;
    KeepCharacterWholeAt(field, kPiece);
}

bool IsSongNumberText(const std::string& number) {
    return std::all_of(number.begin(), number.end(), [](char c) { return c == ' ' || (c >= '0' && c <= '9'); });
}

namespace {

void Prepare(SongFields& f) {
    ReplaceBrackets(f.title);
    ReplaceBrackets(f.singer);
    ReplaceBrackets(f.number);
    ApplySongLineRule(f.title);
    ApplySongLineRule(f.singer);
}

bool AnyEmpty(const SongFields& f) { return f.title.empty() || f.singer.empty() || f.number.empty(); }

// The song file pads its fields with "*": one inside a field would be dropped on reading.
bool AnyAsterisk(const SongFields& f) {
    return (f.title + f.singer + f.number).find(kSongRefusedCharacter) != std::string::npos;
}

}  // namespace

SongCheck CheckNewSong(SongFields& f, int count) {
    if (count >= kSongsPerBrand) return SongCheck::BrandFull;
    Prepare(f);
    if (!IsSongNumberText(f.number)) return SongCheck::BadNumber;
    if (AnyAsterisk(f)) return SongCheck::Asterisk;
    if (AnyEmpty(f)) return SongCheck::EmptyField;
    if (f.title.size() > kSongTitleBytes) return SongCheck::TitleTooLong;
    if (f.singer.size() > kSongSingerBytes) return SongCheck::SingerTooLong;
    // Only a pasted number can be longer than its field; the file has 6 bytes for it.
    if (f.number.size() > kSongNumberBytes) return SongCheck::TooLong;
    return SongCheck::Ok;
}

SongCheck CheckChangedSong(SongFields& f) {
    Prepare(f);
    if (!IsSongNumberText(f.number)) return SongCheck::BadNumber;
    if (AnyAsterisk(f)) return SongCheck::Asterisk;
    if (AnyEmpty(f)) return SongCheck::EmptyField;
    // Pasted text can exceed the typing limits; nothing wider than the file's fields
    // is ever stored.
    if (f.title.size() > kSongTitleBytes || f.singer.size() > kSongSingerBytes || f.number.size() > kSongNumberBytes)
        return SongCheck::TooLong;
    return SongCheck::Ok;
}

const char* SongCheckMessage(SongCheck check) {
    switch (check) {
    case SongCheck::BrandFull:
        return "더이상 입력 할수 없습니다.";
    case SongCheck::BadNumber:
        return "노래번호는 숫자만 입력이 가능합니다";
    case SongCheck::TitleTooLong:
        return "노래제목을 너무 많이 입력 하셨습니다.";
    case SongCheck::SingerTooLong:
        return "가수이름을 너무 많이 입력 하셨습니다.";
    case SongCheck::TooLong:
        return "문자를 너무 많이 입력 하셨습니다.";
    case SongCheck::Asterisk:
        return kSongAsteriskMessage;
    case SongCheck::Ok:
    case SongCheck::EmptyField:
        break;
    }
    return "";
}
