#pragma once
// A contact as another program's file gives it: UTF-8 text, before it is fitted to a
// memo row.
#include <string>
#include <vector>

struct Contact {
    std::string name;
    std::string tel;
    std::string email;
    int line = 0;  // where its card or row starts in the file, from 1
};

using Contacts = std::vector<Contact>;

// The parts of a person's name as address books keep them.
struct NameParts {
    std::string family, given, additional, prefix, suffix;
};

// One line of a name. Korean and other East Asian names go family name first with no
// space ("김" + "철수"); others "prefix given additional family suffix".
std::string JoinName(const NameParts& parts);
