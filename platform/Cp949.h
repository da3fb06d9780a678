#pragma once
// Text in documents and files is CP949 (Korean code page) bytes; the window and CSV
// files speak UTF-8. These are the only conversions between the two.
#include <optional>
#include <string>
#include <string_view>

namespace cp949 {

struct Conversion {
    std::string text;        // the converted text; empty when !ok
    bool ok = false;
    std::string error;       // why it failed, for the user
};

// UTF-8 to CP949. Fails, naming the first character, when CP949 cannot hold it
// or when the input is not valid UTF-8.
Conversion FromUtf8(std::string_view utf8);

// CP949 to UTF-8. Fails on bytes that are not valid CP949.
Conversion ToUtf8(std::string_view cp949);

// ToUtf8 for display: bytes that do not convert show as U+FFFD instead of failing.
std::string ToUtf8Lossy(std::string_view cp949);

// FromUtf8 that leaves out what does not convert (a character CP949 cannot hold, bytes
// that are not UTF-8) instead of failing: text holds the rest; ok is false when
// something was left out, and error then says what stopped the whole conversion.
Conversion FromUtf8Dropping(std::string_view utf8);

// Text in the named character set (an iconv name such as "EUC-KR" or "ISO-8859-1") to
// UTF-8; nothing when the set is unknown or the bytes are not valid in it.
std::optional<std::string> CharsetToUtf8(std::string_view bytes, const std::string& charset);

bool IsValidUtf8(std::string_view text);

// True when every byte is ASCII, which is the same text in UTF-8 and CP949.
inline bool IsAscii(std::string_view text) {
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

// True when the byte starts a two-byte character in CP949 (0x81 to 0xFE).
inline bool IsDBCSLeadByte(unsigned char c) { return c >= 0x81 && c <= 0xFE; }

// The length of the longest start of CP949 text within limit bytes that does not cut a
// double-byte character in two; text within the limit is taken whole.
size_t WholeCharacterPrefix(std::string_view text, size_t limit);

// True when a two-byte character begins at byte pos of text, read character by
// character from the start: a trail byte that looks like a lead byte (or like a letter)
// is taken as the trail it is.
inline bool DoubleByteStartsAt(std::string_view text, size_t pos) {
    size_t i = 0;
    while (i < pos && i < text.size()) i += IsDBCSLeadByte(static_cast<unsigned char>(text[i])) ? 2 : 1;
    return i == pos && pos < text.size() && IsDBCSLeadByte(static_cast<unsigned char>(text[pos]));
}

}  // namespace cp949
