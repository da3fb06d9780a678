#include "memo/Contact.h"

#include <algorithm>

namespace {

bool IsAscii(const std::string& s) {
    return std::all_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

}  // namespace

std::string JoinName(const NameParts& p) {
    if (!IsAscii(p.family) || !IsAscii(p.given)) return p.family + p.given + p.additional;
    std::string name;
    for (const std::string* part : {&p.prefix, &p.given, &p.additional, &p.family, &p.suffix}) {
        if (part->empty()) continue;
        if (!name.empty()) name += ' ';
        name += *part;
    }
    return name;
}
