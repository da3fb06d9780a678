#include "platform/UnicodeText.h"

#include <unicode/uchar.h>
#include <unicode/unorm2.h>
#include <unicode/uscript.h>
#include <unicode/ustring.h>
#include <unicode/utf8.h>

#include <vector>

#include "platform/Cp949.h"

namespace unicode {
namespace {

bool ToUtf16(std::string_view utf8, std::vector<UChar>& out) {
    UErrorCode status = U_ZERO_ERROR;
    int32_t length = 0;
    u_strFromUTF8(nullptr, 0, &length, utf8.data(), static_cast<int32_t>(utf8.size()), &status);
    if (status != U_BUFFER_OVERFLOW_ERROR && U_FAILURE(status)) return false;
    out.assign(static_cast<size_t>(length) + 1, 0);
    status = U_ZERO_ERROR;
    u_strFromUTF8(out.data(), length + 1, &length, utf8.data(), static_cast<int32_t>(utf8.size()), &status);
    out.resize(static_cast<size_t>(length));
    return U_SUCCESS(status);
}

std::string ToUtf8(const std::vector<UChar>& text) {
    UErrorCode status = U_ZERO_ERROR;
    int32_t length = 0;
    u_strToUTF8(nullptr, 0, &length, text.data(), static_cast<int32_t>(text.size()), &status);
    std::string out(static_cast<size_t>(length), '\0');
    status = U_ZERO_ERROR;
    u_strToUTF8(out.data(), length, &length, text.data(), static_cast<int32_t>(text.size()), &status);
    return U_SUCCESS(status) ? out : std::string();
}

bool Normalize(const UNormalizer2* form, std::string_view utf8, std::string& out) {
    std::vector<UChar> in;
    if (!form || !ToUtf16(utf8, in)) return false;
    UErrorCode status = U_ZERO_ERROR;
    std::vector<UChar> result(in.size() * 4 + 8);
    int32_t n = unorm2_normalize(form, in.data(), static_cast<int32_t>(in.size()), result.data(),
                                 static_cast<int32_t>(result.size()), &status);
    if (U_FAILURE(status)) return false;
    result.resize(static_cast<size_t>(n));
    out = ToUtf8(result);
    return true;
}

// Letters that carry no accent to drop but have a usual plain spelling.
const char* PlainSpelling(UChar32 c) {
    switch (c) {
        case 0x00DF: return "ss";
        case 0x00C6: return "AE";
        case 0x00E6: return "ae";
        case 0x0152: return "OE";
        case 0x0153: return "oe";
        case 0x00D8: return "O";
        case 0x00F8: return "o";
        case 0x0110: return "D";
        case 0x0111: return "d";
        case 0x00D0: return "D";
        case 0x00F0: return "d";
        case 0x0141: return "L";
        case 0x0142: return "l";
        case 0x00DE: return "TH";
        case 0x00FE: return "th";
        case 0x0131: return "i";
        case 0x0126: return "H";
        case 0x0127: return "h";
        case 0x0166: return "T";
        case 0x0167: return "t";
        default: return nullptr;
    }
}

}  // namespace

size_t CharacterLength(std::string_view s, size_t at) {
    int32_t i = static_cast<int32_t>(at);
    UChar32 c = 0;
    U8_NEXT(s.data(), i, static_cast<int32_t>(s.size()), c);
    return c < 0 ? 1 : static_cast<size_t>(i) - at;
}

std::string Composed(std::string_view utf8) {
    if (cp949::IsAscii(utf8)) return std::string(utf8);
    UErrorCode status = U_ZERO_ERROR;
    std::string out;
    if (!cp949::IsValidUtf8(utf8) || !Normalize(unorm2_getNFCInstance(&status), utf8, out)) return std::string(utf8);
    return out;
}

std::string PlainLetters(std::string_view character) {
    int32_t i = 0;
    UChar32 c = 0;
    U8_NEXT(character.data(), i, static_cast<int32_t>(character.size()), c);
    if (c < 0) return {};
    if (const char* plain = PlainSpelling(c)) return plain;
    UErrorCode status = U_ZERO_ERROR;
    std::string decomposed;
    if (!Normalize(unorm2_getNFKDInstance(&status), character, decomposed)) return {};
    // Keep the letters and digits, drop the marks that were on them.
    std::string plain;
    for (int32_t k = 0; k < static_cast<int32_t>(decomposed.size());) {
        UChar32 d = 0;
        int32_t start = k;
        U8_NEXT(decomposed.data(), k, static_cast<int32_t>(decomposed.size()), d);
        if (d < 0) return {};
        if (u_getIntPropertyValue(d, UCHAR_GENERAL_CATEGORY_MASK) & U_GC_M_MASK) continue;
        if (d >= 0x80) return {};  // still not plain: no spelling in basic letters
        plain.append(decomposed, static_cast<size_t>(start), static_cast<size_t>(k - start));
    }
    return plain;
}

bool HasEastAsianLetters(std::string_view utf8) {
    for (int32_t i = 0; i < static_cast<int32_t>(utf8.size());) {
        UChar32 c = 0;
        U8_NEXT(utf8.data(), i, static_cast<int32_t>(utf8.size()), c);
        if (c < 0x1100) continue;
        UErrorCode status = U_ZERO_ERROR;
        UScriptCode script = uscript_getScript(c, &status);
        if (script == USCRIPT_HANGUL || script == USCRIPT_HAN || script == USCRIPT_HIRAGANA ||
            script == USCRIPT_KATAKANA)
            return true;
    }
    return false;
}

}  // namespace unicode
