#include "memo/Contact.h"

#include "platform/UnicodeText.h"

std::string Trimmed(std::string s) {
    s.erase(0, s.find_first_not_of(" \t"));
    s.erase(s.find_last_not_of(" \t") + 1);
    return s;
}

std::string JoinName(const NameParts& p) {
    const std::string family = Trimmed(p.family), given = Trimmed(p.given), additional = Trimmed(p.additional);
    if (unicode::HasEastAsianLetters(family + given + additional)) return family + given + additional;
    std::string name;
    for (const std::string& part : {Trimmed(p.prefix), given, additional, family, Trimmed(p.suffix)}) {
        if (part.empty()) continue;
        if (!name.empty()) name += ' ';
        name += part;
    }
    return name;
}

void SetNameOrStandIn(Contact& c, const std::string& name, const std::string& organisation,
                      const std::string& nickname) {
    // A name is kept as it is (a memo file's own names come back byte for byte).
    c.name = name;
    c.nameFrom = NameSource::Person;
    if (!Trimmed(name).empty()) return;
    if (std::string org = Trimmed(organisation); !org.empty()) {
        c.name = org;
        c.nameFrom = NameSource::Organisation;
    } else if (std::string nick = Trimmed(nickname); !nick.empty()) {
        c.name = nick;
        c.nameFrom = NameSource::Nickname;
    }
}

void PreferredValue::Offer(const std::string& value, int preference, bool mobile) {
    if (value.empty()) return;
    const bool better = value_.empty() || preference < preference_ ||
                        (preference == preference_ && mobile && !mobile_);
    if (!better) return;
    value_ = value;
    preference_ = preference;
    mobile_ = mobile;
}
