#include "memo/MemoBook.h"

#include <algorithm>
#include <cstring>
#include <functional>

#include "memo/ContactFit.h"
#include "memo/MemoRowDelete.h"

bool MemoBook::operator==(const MemoBook& other) const {
    return last == other.last && std::memcmp(table.data(), other.table.data(), sizeof(MemoTable)) == 0;
}

int MemoBook::SavedEntries() const { return std::min(CountMemoEntries(table), last + 1); }

int MemoBook::NextEntryRow() const {
    int row = std::clamp(last, 0, kMemoLastRow);
    if (!IsMemoRowEmpty(table[row])) ++row;
    return std::min(row, kMemoLastRow);
}

bool MemoBook::CanDeleteFrom(int row) const {
    return last > row || (row == kMemoLastRow && !IsMemoRowEmpty(table[kMemoLastRow]));
}

void MemoBook::Touch(int row) { last = std::clamp(std::max(last, row), 0, kMemoLastRow); }

MemoCommit MemoBook::CommitEnter(int row, const MemoInput& input, bool& dbcs, MemoOverLimit* over) {
    const MemoCommit result = CommitMemoEnter(table[row], input, dbcs, over);
    // The typing goes on in the next row.
    if (result == MemoCommit::Stored && !IsMemoRowEmpty(table[row])) Touch(std::min(row + 1, kMemoLastRow));
    return result;
}

MemoCommit MemoBook::CommitInput(int row, const MemoInput& input, bool& dbcs, MemoOverLimit* over) {
    const MemoCommit result = CommitMemoInput(table[row], input, dbcs, over);
    if (result == MemoCommit::Stored) Touch(std::min(row + 1, kMemoLastRow));
    return result;
}

bool MemoBook::DeleteRows(std::vector<int> rows) {
    // From the bottom up, so that each row still names the contact that was selected.
    std::sort(rows.begin(), rows.end(), std::greater<>());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    bool emptied = false;
    for (int row : rows) {
        if (row < 0 || row > kMemoLastRow) continue;
        const MemoRowDeletion d = DeleteMemoRow(table, row);
        last = LastRowAfterDeletion(d, last);
        emptied = emptied || d.clearedPair;
    }
    return emptied;
}

void MemoBook::Import(const std::vector<MemoInput>& rows, bool replace) {
    if (replace) {
        ClearMemoTable(table);
        last = StoreFitted(table, 0, rows);
    } else {
        last = std::max(last, StoreFitted(table, CountMemoEntries(table), rows));
    }
}

void MemoBook::Replace(const MemoTable& read, int entries) {
    table = read;
    last = entries - 1;
}

void MemoBook::Clear() {
    ClearMemoTable(table);
    last = 0;
}
