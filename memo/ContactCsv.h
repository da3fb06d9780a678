#pragma once
// Contacts in CSV: our own layout (name,tel,email) and the contact exports of Google
// Contacts, Outlook and Thunderbird, each recognised by its header row.
#include <string>

#include "memo/Contact.h"

// Every data row as a contact, at most maxContacts of them (the rest is not read). False
// (with error, naming the line) on malformed CSV, a header row that is none of the known
// layouts (the error names the columns found) or, in our own layout, a row without
// exactly three fields.
bool ReadContactCsv(const std::string& text, Contacts& contacts, std::string& error,
                    size_t maxContacts = size_t(-1));

// Our own layout: the header row, then one row per contact; UTF-8, CRLF line ends.
std::string WriteContactCsv(const Contacts& contacts);
