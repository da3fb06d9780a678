#pragma once
// Contact files as a whole: which kind a file is, reading it into contacts, and the
// memo table's entries as a vCard or CSV file. Bytes in and out; the callers own the
// file paths.
#include <string>
#include <vector>

#include "memo/Contact.h"
#include "memo/MemoTable.h"

enum class ContactFormat { Detect, VCard, Csv };

// The largest contact file read, in bytes: a vCard may carry photos, a CSV export holds
// only text. Detect gives the larger, for reading a file before its kind is known.
size_t ContactFileLimit(ContactFormat format);

// The most contacts a file may hold: far beyond any address book and the memo list's
// 250 rows, and a bound on what the rows and the fit report of a hostile file cost.
inline constexpr size_t kMaxContactsRead = 100000;

// Reads contacts; Detect takes a file whose first line opens a card as vCard, anything
// else as CSV. The text is read in `encoding` when one is named (for a vCard: its values
// that name no CHARSET), else as its byte-order mark or its bytes say; notes gets one line
// naming a legacy encoding that was guessed. False with error (naming the line where
// there is one), also for a file over its kind's byte limit or with more than
// kMaxContactsRead contacts.
bool ReadContacts(const std::string& bytes, ContactFormat format, Contacts& contacts, std::string& error,
                  const std::string& encoding = {}, std::vector<std::string>* notes = nullptr);

// The first entries of the table as UTF-8 contacts; false (with error naming the entry
// and field) when a stored text is not valid CP949.
bool ContactsFromMemo(const MemoTable& table, int entries, Contacts& contacts, std::string& error);

// vCard 3.0 or our CSV layout; the CSV with a UTF-8 byte-order mark when bom is set, which
// spreadsheets need to open it as UTF-8 rather than in the system's code page.
std::string WriteContacts(const Contacts& contacts, ContactFormat format, bool bom = false);
