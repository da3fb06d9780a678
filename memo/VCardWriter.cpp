// Writing vCard 3.0, the version phones and the big address books all read.
#include "memo/VCard.h"

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

}  // namespace

std::string WriteVCards(const Contacts& contacts) {
    std::string out;
    for (const Contact& c : contacts) {
        out += "BEGIN:VCARD\r\nVERSION:3.0\r\n";
        AppendLine(out, "FN:" + Escape(c.name));
        // The whole name as the family name: readers that build the name from N show it
        // as it is, whatever its order.
        AppendLine(out, "N:" + Escape(c.name) + ";;;;");
        if (!c.tel.empty()) AppendLine(out, "TEL;TYPE=CELL:" + Escape(c.tel));
        if (!c.email.empty()) AppendLine(out, "EMAIL;TYPE=INTERNET:" + Escape(c.email));
        out += "END:VCARD\r\n";
    }
    return out;
}
