#pragma once
// The memo table: 250 contacts of three NUL-terminated CP949 byte strings.
#include <array>
#include <cstddef>
#include <string>
#include <string_view>

constexpr int kMemoRows = 250;

struct MemoEntry {
    char name[20];
    char tel[20];
    char email[36];
};
static_assert(sizeof(MemoEntry) == 76);

using MemoTable = std::array<MemoEntry, kMemoRows>;

enum class MemoField { Name, Tel, Email };

// "name", "tel", "email": the fields in reports and as the columns of our CSV layout.
const char* MemoFieldName(MemoField field);

// A row is empty when its first 64 bytes (name, tel and the first 24 bytes of the
// e-mail) are all zero; a row whose strings were shortened to "" is not.
bool IsMemoRowEmpty(const MemoEntry& row);
void ClearMemoRow(MemoEntry& row);  // zeroes those 64 bytes
void ClearMemoTable(MemoTable& table);

// The number of entries at the top of the table (the first empty row's index).
int CountMemoEntries(const MemoTable& table);

// The stored string of a field, up to its first zero byte.
std::string_view MemoFieldText(const MemoEntry& row, MemoField field);

// Stores text up to and including its terminating zero, leaving the bytes after it as
// they were; text longer than the field holds is cut so the zero always fits.
void SetMemoField(MemoEntry& row, MemoField field, std::string_view text);
