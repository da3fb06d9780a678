#include "memo/Contact.h"

#include "platform/Cp949.h"

std::string JoinName(const NameParts& p) {
    if (!cp949::IsAscii(p.family) || !cp949::IsAscii(p.given)) return p.family + p.given + p.additional;
    std::string name;
    for (const std::string* part : {&p.prefix, &p.given, &p.additional, &p.family, &p.suffix}) {
        if (part->empty()) continue;
        if (!name.empty()) name += ' ';
        name += *part;
    }
    return name;
}
