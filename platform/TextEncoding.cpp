#include "platform/TextEncoding.h"

#include <algorithm>

#include "platform/Cp949.h"
#include "platform/Iconv.h"

namespace textenc {
namespace {

// A score for the bytes read as CP949: +1 for each character of the common Hangul block
// (the 2,350 syllables every Korean text is made of), -1 for any other double-byte
// character; nothing when the bytes are not CP949 at all.
bool KoreanScore(std::string_view s, int& score) {
    score = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        auto lead = static_cast<unsigned char>(s[i]);
        if (lead < 0x80) continue;
        if (lead == 0x80 || lead == 0xFF || i + 1 >= s.size()) return false;
        auto trail = static_cast<unsigned char>(s[++i]);
        bool extended = (trail >= 0x41 && trail <= 0x5A) || (trail >= 0x61 && trail <= 0x7A) ||
                        (trail >= 0x81 && trail <= 0xA0);
        if (!(trail >= 0xA1 && trail <= 0xFE) && !(extended && lead <= 0xC6)) return false;
        score += lead >= 0xB0 && lead <= 0xC8 && trail >= 0xA1 ? 1 : -1;
    }
    return true;
}

// The same for Shift_JIS: +1 for Hiragana, Katakana and the first level of kanji (the
// common ones), -1 for other double-byte characters.
bool JapaneseScore(std::string_view s, int& score) {
    score = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        auto lead = static_cast<unsigned char>(s[i]);
        if (lead < 0x80 || (lead >= 0xA1 && lead <= 0xDF)) continue;  // ASCII, half-width kana
        if (!((lead >= 0x81 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xFC)) || i + 1 >= s.size()) return false;
        auto trail = static_cast<unsigned char>(s[++i]);
        if (trail < 0x40 || trail == 0x7F || trail > 0xFC) return false;
        unsigned code = lead << 8 | trail;
        bool common = (code >= 0x829F && code <= 0x82F1) || (code >= 0x8340 && code <= 0x8396) ||
                      (code >= 0x889F && code <= 0x9872);
        score += common ? 1 : -1;
    }
    return true;
}

bool Decodes(std::string_view bytes, const char* encoding) {
    std::string out;
    size_t bad = 0;
    return ToUtf8(bytes, encoding, out, bad);
}

// UTF-16 without a byte-order mark shows as ASCII letters with a zero byte beside each.
const char* Utf16ByZeros(std::string_view s) {
    size_t pairs = std::min<size_t>(s.size() / 2, 512), evenZero = 0, oddZero = 0;
    for (size_t i = 0; i < pairs; ++i) {
        evenZero += s[2 * i] == '\0' && s[2 * i + 1] != '\0';
        oddZero += s[2 * i + 1] == '\0' && s[2 * i] != '\0';
    }
    if (pairs < 2) return nullptr;
    if (oddZero * 2 > pairs && evenZero == 0) return "UTF-16LE";
    if (evenZero * 2 > pairs && oddZero == 0) return "UTF-16BE";
    return nullptr;
}

int LineAt(std::string_view s, size_t offset) {
    return 1 + static_cast<int>(std::count(s.begin(), s.begin() + std::min(offset, s.size()), '\n'));
}

}  // namespace

std::string Describe(const std::string& e) {
    if (e == "CP949") return "CP949 (Korean)";
    if (e == "CP932") return "Shift_JIS (Japanese)";
    if (e == "WINDOWS-1252") return "Windows-1252 (Western European)";
    return e;
}

bool Known(const std::string& encoding) { return Iconv("UTF-8", encoding.c_str()).ok(); }

bool IsUtf16(std::string_view s) {
    return s.substr(0, 2) == "\xFF\xFE" || s.substr(0, 2) == "\xFE\xFF" || Utf16ByZeros(s) != nullptr;
}

bool ToUtf8(std::string_view bytes, const std::string& encoding, std::string& out, size_t& badOffset) {
    out.clear();
    Iconv cv("UTF-8", encoding.c_str());
    if (!cv.ok()) {
        badOffset = 0;
        return false;
    }
    return cv.Run(bytes, out, badOffset);
}

std::string GuessLegacy(std::string_view bytes) {
    int korean = 0, japanese = 0;
    const bool cp949 = KoreanScore(bytes, korean) && Decodes(bytes, "CP949");
    const bool sjis = JapaneseScore(bytes, japanese) && Decodes(bytes, "CP932");
    if (cp949 && korean > 0 && (!sjis || korean >= japanese)) return "CP949";
    if (sjis && japanese > 0) return "CP932";
    if (Decodes(bytes, "WINDOWS-1252")) return "WINDOWS-1252";
    return cp949 ? "CP949" : "ISO-8859-1";  // Latin-1 holds every byte
}

bool Decode(std::string_view bytes, const std::string& forced, Decoded& out, std::string& error) {
    out = {};
    std::string_view body = bytes;
    if (!forced.empty()) {
        out.encoding = forced;
    } else if (body.substr(0, 3) == "\xEF\xBB\xBF") {
        out.encoding = "UTF-8";
    } else if (body.substr(0, 2) == "\xFF\xFE" || body.substr(0, 2) == "\xFE\xFF") {
        out.encoding = body[0] == '\xFF' ? "UTF-16LE" : "UTF-16BE";
        body.remove_prefix(2);
    } else if (const char* utf16 = Utf16ByZeros(body)) {
        out.encoding = utf16;
    } else if (cp949::IsValidUtf8(body)) {
        out.encoding = "UTF-8";
    } else {
        out.encoding = GuessLegacy(body);
        out.guessed = true;
    }
    size_t bad = 0;
    if (out.encoding == "UTF-8" && cp949::IsValidUtf8(body)) {
        out.utf8 = body;
    } else if (!ToUtf8(body, out.encoding, out.utf8, bad)) {
        error = "line " + std::to_string(LineAt(body, bad)) + ": the text is not valid " + Describe(out.encoding) +
                " (byte " + std::to_string(bad + 1 + (bytes.size() - body.size())) + ")";
        return false;
    }
    if (out.utf8.rfind("\xEF\xBB\xBF", 0) == 0) out.utf8.erase(0, 3);
    return true;
}

std::string Printable(std::string_view text) {
    static const char* hex = "0123456789ABCDEF";
    std::string out;
    for (char ch : text) {
        auto c = static_cast<unsigned char>(ch);
        if (c < 0x20 || c == 0x7F) {
            out += "\\x";
            out += hex[c >> 4];
            out += hex[c & 15];
        } else {
            out += ch;
        }
    }
    return out;
}

}  // namespace textenc
