#pragma once
// What a column of an address book's CSV export holds, by its header text: the column
// names Google Contacts, Outlook and Thunderbird write in the languages they ship.
#include <string>

enum class ContactColumn {
    Unknown,
    FullName, Given, Middle, Family, Prefix, Suffix, Nickname, Organisation,
    Email, OtherEmail,                       // the first (primary) address, and the others
    PrimaryPhone, MobilePhone, OtherPhone,   // numbers by how a phone book ranks them
};

// The column a header cell names, compared without surrounding spaces and, for ASCII
// letters, without case.
ContactColumn ContactColumnOf(const std::string& header);
