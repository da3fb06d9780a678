#pragma once
// Contact files as a whole: which kind a file is, reading it into contacts, and the
// memo table's entries as a vCard or CSV file. Bytes in and out; the callers own the
// file paths.
#include <string>

#include "memo/Contact.h"
#include "memo/MemoTable.h"

enum class ContactFormat { Detect, VCard, Csv };

// Reads contacts; Detect takes a file whose first line opens a card as vCard, anything
// else as CSV. False with error (naming the line where there is one).
bool ReadContacts(const std::string& bytes, ContactFormat format, Contacts& contacts, std::string& error);

// The first entries of the table as UTF-8 contacts; false (with error naming the entry
// and field) when a stored text is not valid CP949.
bool ContactsFromMemo(const MemoTable& table, int entries, Contacts& contacts, std::string& error);

// vCard 3.0 or our CSV layout.
std::string WriteContacts(const Contacts& contacts, ContactFormat format);
