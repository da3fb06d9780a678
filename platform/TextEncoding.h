#pragma once
// Which encoding a text file from another program is in, and the file as UTF-8. Address
// books and spreadsheets write UTF-8 or UTF-16, or the Windows code page of the user's
// language: CP949 in Korea, Shift_JIS in Japan, Windows-1252 in western Europe.
#include <string>
#include <string_view>

namespace textenc {

struct Decoded {
    std::string utf8;      // the text, without its byte-order mark
    std::string encoding;  // as iconv names it ("UTF-8", "UTF-16LE", "CP949", ...)
    bool guessed = false;  // not UTF-8 and named by nobody: a legacy encoding taken by its bytes
};

// A person's name for an encoding: "CP949 (Korean)".
std::string Describe(const std::string& encoding);

// True when iconv knows the name.
bool Known(const std::string& encoding);

// True when the text starts with a UTF-16 byte-order mark, or its zero bytes show UTF-16
// without one.
bool IsUtf16(std::string_view bytes);

// The legacy encoding bytes that are not UTF-8 most likely are: CP949 when they read as
// Korean, Shift_JIS when they read as Japanese, else Windows-1252.
std::string GuessLegacy(std::string_view bytes);

// The whole file as UTF-8: in `forced` when one is named; else by its byte-order mark,
// as UTF-16 when its zero bytes say so, as UTF-8 when it is valid, else as GuessLegacy
// says. False (error names the line) when the bytes are not valid in the encoding taken.
bool Decode(std::string_view bytes, const std::string& forced, Decoded& out, std::string& error);

// Text in the encoding to UTF-8; false with the offset of the first byte that is not
// valid in it.
bool ToUtf8(std::string_view bytes, const std::string& encoding, std::string& out, size_t& badOffset);

// The text with every control byte (C0, NUL among them, and DEL) shown as "\xNN", for
// error lines that quote a file's bytes.
std::string Printable(std::string_view text);

}  // namespace textenc
