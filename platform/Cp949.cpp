#include "platform/Cp949.h"

#include <algorithm>

#include "platform/Iconv.h"

namespace cp949 {
namespace {

// Offset of the first byte that does not belong to well-formed UTF-8, or npos.
size_t FirstInvalidUtf8(std::string_view s) {
    size_t i = 0;
    while (i < s.size()) {
        unsigned char c = s[i];
        size_t len = c < 0x80 ? 1 : (c >= 0xC2 && c <= 0xDF) ? 2 : (c >= 0xE0 && c <= 0xEF) ? 3
                                   : (c >= 0xF0 && c <= 0xF4) ? 4 : 0;
        if (len == 0 || i + len > s.size()) return i;
        for (size_t k = 1; k < len; ++k)
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return i;
        // Overlong forms, surrogates and code points past U+10FFFF.
        unsigned char c1 = s[i + (len > 1)];
        if ((c == 0xE0 && c1 < 0xA0) || (c == 0xED && c1 > 0x9F) || (c == 0xF0 && c1 < 0x90) ||
            (c == 0xF4 && c1 > 0x8F))
            return i;
        i += len;
    }
    return std::string_view::npos;
}

// Length of the UTF-8 sequence starting with byte c (1 for a stray byte).
size_t Utf8Length(unsigned char c) {
    if (c >= 0xF0) return 4;
    if (c >= 0xE0) return 3;
    if (c >= 0xC0) return 2;
    return 1;
}

}  // namespace

Conversion FromUtf8(std::string_view utf8) {
    Conversion c;
    size_t invalid = FirstInvalidUtf8(utf8);
    if (invalid != std::string_view::npos) {
        c.error = "the text is not valid UTF-8 (byte " + std::to_string(invalid + 1) + ")";
        return c;
    }
    Iconv cv("CP949", "UTF-8");
    if (!cv.ok()) {
        c.error = "this system has no CP949 converter";
        return c;
    }
    size_t bad = 0;
    if (cv.Run(utf8, c.text, bad)) {
        c.ok = true;
        return c;
    }
    c.text.clear();
    size_t len = Utf8Length(static_cast<unsigned char>(utf8[bad]));
    std::string ch(utf8.substr(bad, len));
    c.error = "the character \"" + ch + "\" cannot be stored in the device's Korean code page (CP949)";
    return c;
}

Conversion ToUtf8(std::string_view bytes) {
    Conversion c;
    Iconv cv("UTF-8", "CP949");
    if (!cv.ok()) {
        c.error = "this system has no CP949 converter";
        return c;
    }
    size_t bad = 0;
    if (cv.Run(bytes, c.text, bad)) {
        c.ok = true;
        return c;
    }
    c.text.clear();
    c.error = "the text holds bytes that are not valid CP949 at byte " + std::to_string(bad);
    return c;
}

std::string ToUtf8Lossy(std::string_view bytes) {
    std::string out;
    Iconv cv("UTF-8", "CP949");
    if (!cv.ok()) return out;
    while (!bytes.empty()) {
        // Convert up to the first bad character, show it as U+FFFD, go on after it.
        size_t bad = 0;
        std::string part;
        bool ok = cv.Run(bytes, part, bad);
        out += part;
        if (ok) break;
        out += "\xEF\xBF\xBD";
        // The converter may take in a cut-short last character before it refuses it, and
        // then names the end of the text as the bad place: nothing is left to skip.
        if (bad >= bytes.size()) break;
        size_t skip = (IsDBCSLeadByte(static_cast<unsigned char>(bytes[bad])) && bad + 1 < bytes.size()) ? 2 : 1;
        bytes.remove_prefix(bad + skip);
    }
    return out;
}

Conversion FromUtf8Dropping(std::string_view utf8) {
    if (IsAscii(utf8)) return {std::string(utf8), true, {}};  // no converter needed
    Conversion whole = FromUtf8(utf8);
    if (whole.ok) return whole;
    // Again a character at a time, keeping each that converts.
    Iconv cv("CP949", "UTF-8");
    for (size_t i = 0; cv.ok() && i < utf8.size();) {
        const size_t len = Utf8Length(static_cast<unsigned char>(utf8[i]));
        const std::string_view one = utf8.substr(i, std::min(len, utf8.size() - i));
        std::string part;
        size_t bad = 0;
        if (FirstInvalidUtf8(one) == std::string_view::npos && cv.Run(one, part, bad)) whole.text += part;
        i += one.size();
    }
    return whole;
}

size_t WholeCharacterPrefix(std::string_view text, size_t limit) {
    if (text.size() <= limit) return text.size();
    size_t n = 0;
    while (n < limit) {
        const size_t step = IsDBCSLeadByte(static_cast<unsigned char>(text[n])) ? 2 : 1;
        if (n + step > limit) break;
        n += step;
    }
    return n;
}

std::optional<std::string> CharsetToUtf8(std::string_view bytes, const std::string& charset) {
    Iconv cv("UTF-8", charset.c_str());
    std::string out;
    size_t bad = 0;
    if (!cv.ok() || !cv.Run(bytes, out, bad)) return std::nullopt;
    return out;
}

bool IsValidUtf8(std::string_view text) { return FirstInvalidUtf8(text) == std::string_view::npos; }

}  // namespace cp949
