#include "memo/MemoTable.h"

#include <algorithm>
#include <cstring>

namespace {

std::pair<char*, size_t> FieldBytes(MemoEntry& row, MemoField field) {
    switch (field) {
    case MemoField::Name:
        return {row.name, sizeof row.name};
    case MemoField::Tel:
        return {row.tel, sizeof row.tel};
    case MemoField::Email:
        break;
    }
    return {row.email, sizeof row.email};
}

constexpr size_t kRowKeyBytes = 64;

}  // namespace

const char* MemoFieldName(MemoField field) {
    return field == MemoField::Name ? "name" : field == MemoField::Tel ? "tel" : "email";
}

int CountMemoEntries(const MemoTable& table) {
    int n = 0;
    while (n < kMemoRows && !IsMemoRowEmpty(table[n])) ++n;
    return n;
}

bool IsMemoRowEmpty(const MemoEntry& row) {
    const char* p = reinterpret_cast<const char*>(&row);
    return std::all_of(p, p + kRowKeyBytes, [](char c) { return c == 0; });
}

void ClearMemoRow(MemoEntry& row) { std::memset(&row, 0, kRowKeyBytes); }

void ClearMemoTable(MemoTable& table) { std::memset(table.data(), 0, sizeof(MemoEntry) * table.size()); }

std::string_view MemoFieldText(const MemoEntry& row, MemoField field) {
    auto [bytes, size] = FieldBytes(const_cast<MemoEntry&>(row), field);
    return std::string_view(bytes, strnlen(bytes, size));
}

void SetMemoField(MemoEntry& row, MemoField field, std::string_view text) {
    auto [bytes, size] = FieldBytes(row, field);
    size_t n = std::min(text.size(), size - 1);
    std::copy_n(text.begin(), n, bytes);
    bytes[n] = 0;
}
