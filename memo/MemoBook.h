#pragma once
// The memo list as the editor holds it: the 250-row table and the last row the person
// may type into and the writer looks at. Every rule about that bound lives here, so
// the page, the document and the import keep it alike.
#include <vector>

#include "memo/MemoCommit.h"
#include "memo/MemoTable.h"

constexpr int kMemoLastRow = kMemoRows - 1;

struct MemoBook {
    MemoTable table{};
    int last = 0;  // 0..249; rows after it stay closed to typing and out of the file

    bool operator==(const MemoBook& other) const;

    // A row the person may type into: at most the last row.
    bool IsOpen(int row) const { return row >= 0 && row <= last; }
    // The rows a save writes: from row 0 up to the last row, ending at the first empty one.
    int SavedEntries() const;
    // Where the next contact goes after the list was read or rebuilt: the row after
    // the last one when that holds a contact, else the last one.
    int NextEntryRow() const;
    // Delete is offered for the row: it is one of the rows in play, or row 249 holding a contact.
    bool CanDeleteFrom(int row) const;

    // Typing reached the row: it joins the rows in play.
    void Touch(int row);
    // The Enter key on a row (0..249): a contact stored opens the row after it.
    MemoCommit CommitEnter(int row, const MemoInput& input, bool& dbcs, MemoOverLimit* over);
    // The Input button on a row (0..249): a stored contact also opens the row after it.
    MemoCommit CommitInput(int row, const MemoInput& input, bool& dbcs, MemoOverLimit* over);
    // Deletes the rows (each 0..249, any order); later rows move up. True when the list
    // was emptied on the way (row 0 went while row 1 was empty).
    bool DeleteRows(std::vector<int> rows);
    // Imported contacts after the entries, or in place of the list.
    void Import(const std::vector<MemoInput>& rows, bool replace);
    // A list read from a file holding entries contacts.
    void Replace(const MemoTable& read, int entries);
    // The empty list of a new memo.
    void Clear();
};
