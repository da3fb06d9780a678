// Writing vCard 3.0, the version phones and the big address books all read.
#include "memo/VCard.h"
#include "platform/UnicodeText.h"

namespace {

constexpr size_t kFoldAt = 75;  // bytes per line, the line end aside

std::string Escape(const std::string& s) {
    std::string out;
    for (char c : s) {
        if (c == '\n') {
            out += "\\n";  // a raw line break would end the property
            continue;
        }
        if (c == '\r') continue;
        if (c == '\\' || c == ',' || c == ';') out += '\\';
        out += c;
    }
    return out;
}

// One content line, folded so that no line is longer than 75 bytes and no UTF-8
// character is split between two lines.
void AppendLine(std::string& out, const std::string& line) {
    size_t pos = 0;
    size_t room = kFoldAt;
    while (line.size() - pos > room) {
        size_t cut = pos + room;
        while (cut > pos + 1 && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80) --cut;
        out.append(line, pos, cut - pos);
        out += "\r\n ";
        pos = cut;
        room = kFoldAt - 1;
    }
    out.append(line, pos, std::string::npos);
    out += "\r\n";
}

// N's family and given parts where the name shows them: "Given Family" in the scripts
// written with spaces, "Family Given" in Hangul, Han and Kana with a space, and a Hangul
// name of two or three syllables without one ("김철수": 김, 철수). Otherwise the whole name
// is the family part, which readers show as it is.
std::string StructuredName(const std::string& name) {
    const size_t firstSpace = name.find(' '), lastSpace = name.rfind(' ');
    const bool eastAsian = unicode::HasEastAsianLetters(name);
    if (firstSpace != std::string::npos && firstSpace > 0 && lastSpace + 1 < name.size()) {
        if (eastAsian) return Escape(name.substr(0, firstSpace)) + ";" + Escape(name.substr(firstSpace + 1)) + ";;;";
        return Escape(name.substr(lastSpace + 1)) + ";" + Escape(name.substr(0, lastSpace)) + ";;;";
    }
    // Hangul syllables are three bytes each in UTF-8 (U+AC00 to U+D7A3: EA B0 80 to ED 9E A3).
    auto syllable = [&](size_t at) {
        auto b = static_cast<unsigned char>(name[at]);
        return at + 3 <= name.size() && b >= 0xEA && b <= 0xED && unicode::HasEastAsianLetters(name.substr(at, 3));
    };
    const size_t count = name.size() / 3;
    bool hangul = name.size() % 3 == 0 && (count == 2 || count == 3);
    for (size_t i = 0; hangul && i < name.size(); i += 3) hangul = syllable(i);
    if (hangul) return Escape(name.substr(0, 3)) + ";" + Escape(name.substr(3)) + ";;;";
    return Escape(name) + ";;;;";
}

// A Korean mobile number (010, 011, 016 to 019, also as +82 10) is a cell phone's; of
// any other the memo list does not know the kind.
bool IsMobileNumber(const std::string& tel) {
    std::string digits;
    for (char c : tel)
        if (c >= '0' && c <= '9') digits += c;
        else if (c == '+' && digits.empty()) digits += c;
    if (digits.rfind("+82", 0) == 0) digits = "0" + digits.substr(3);
    return digits.size() >= 10 && digits.rfind("01", 0) == 0 && digits[2] != '2' && digits[2] != '3' &&
           digits[2] != '4' && digits[2] != '5';
}

}  // namespace

std::string WriteVCards(const Contacts& contacts) {
    std::string out;
    for (const Contact& c : contacts) {
        out += "BEGIN:VCARD\r\nVERSION:3.0\r\n";
        AppendLine(out, "FN:" + Escape(c.name));
        AppendLine(out, "N:" + StructuredName(c.name));
        if (!c.tel.empty()) AppendLine(out, std::string("TEL;TYPE=") + (IsMobileNumber(c.tel) ? "CELL" : "VOICE") + ":" +
                                                Escape(c.tel));
        if (!c.email.empty()) AppendLine(out, "EMAIL;TYPE=INTERNET:" + Escape(c.email));
        out += "END:VCARD\r\n";
    }
    return out;
}
