#pragma once
// Storing one contact in a memo row, the way the Input button and the Enter key do it.
// A commit stores all three fields or none: every check runs before the row changes.
#include <string>

#include "memo/MemoTable.h"

struct MemoInput {
    std::string name;  // CP949 bytes
    std::string tel;
    std::string email;
};

enum class MemoCommit {
    Stored,       // all three fields stored
    Unchanged,    // the row already held these values; nothing written
    TooLong,      // a changed value over what the entry boxes allow; nothing written
    EmailOver,    // the e-mail, with the line rule's space, over 24 bytes; nothing written
};

// A value over its limit: which field, and the limit it went over.
struct MemoOverLimit {
    MemoField field = MemoField::Name;
    size_t limit = 0;
};

// The Input button: a row that already holds these values is left alone (Unchanged);
// otherwise as the Enter key.
MemoCommit CommitMemoInput(MemoEntry& row, MemoInput input, bool& dbcsFlag, MemoOverLimit* over = nullptr);

// The Enter key: a field the person changed may hold what the entry boxes allow (14,
// 14 and 24 bytes); a field left as the row holds it keeps its bytes, so a contact read
// from a file with the file's 15-byte name can still have its e-mail changed. Then the
// brackets are replaced, a changed e-mail gets the line rule, and the row is stored
// when the e-mail fits in 24 bytes. Never Unchanged.
MemoCommit CommitMemoEnter(MemoEntry& row, MemoInput input, bool& dbcsFlag, MemoOverLimit* over = nullptr);

// Stores a contact that is not typed (import): brackets replaced, the e-mail line rule
// applied, the whole row stored when the e-mail fits in 24 bytes, else nothing.
MemoCommit StoreMemoInput(MemoEntry& row, MemoInput input, bool& dbcsFlag);
