#pragma once
// A contact as another program's file gives it: UTF-8 text, before it is fitted to a
// memo row.
#include <climits>
#include <string>
#include <vector>

// Where the contact's name came from: a person's name, or, for a contact without one,
// the organisation or the nickname standing in (the report says so).
enum class NameSource { Person, Organisation, Nickname };

struct Contact {
    std::string name;
    std::string tel;
    std::string email;
    int line = 0;  // where its card or row starts in the file, from 1
    NameSource nameFrom = NameSource::Person;
    int closedAt = 0;  // a card without its END: the line it was closed at (0 when it had one)
};

using Contacts = std::vector<Contact>;

// The parts of a person's name as address books keep them.
struct NameParts {
    std::string family, given, additional, prefix, suffix;
};

// One line of a name, its parts trimmed. Hangul, Han and Kana names go family name first
// with no space ("김" + "철수"); others, Latin, Cyrillic, Greek and the rest, "prefix given
// additional family suffix".
std::string JoinName(const NameParts& parts);

// The name, else (when it is blank) the organisation, else the nickname, with where it
// came from.
void SetNameOrStandIn(Contact& contact, const std::string& name, const std::string& organisation,
                      const std::string& nickname);

// The text without spaces and tabs at either end.
std::string Trimmed(std::string text);

// The number (or address) kept of several, by one rule for every format: the one marked
// preferred (rank 1 the strongest), else a mobile number, else the first offered.
class PreferredValue {
public:
    static constexpr int kNotPreferred = INT_MAX;
    void Offer(const std::string& value, int preference = kNotPreferred, bool mobile = false);
    const std::string& Value() const { return value_; }

private:
    std::string value_;
    int preference_ = kNotPreferred;
    bool mobile_ = false;
};
