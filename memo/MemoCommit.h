#pragma once
// Storing one contact in a memo row, the way the Input button and the Enter key do it.
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
    TooLong,      // a value over the limits of the commit; nothing written
    EmailOver,    // name and tel stored, e-mail refused ("E-Mail String Over")
};

// The Input button: compares, checks its limits (15, 15, 31 bytes), then stores as
// StoreMemoInput does.
MemoCommit CommitMemoInput(MemoEntry& row, MemoInput input, bool& dbcsFlag);

// The Enter key: values over the typed limits (14, 14, 29 bytes, reachable only by
// pasting) are refused whole; otherwise stored as StoreMemoInput does. Never Unchanged.
MemoCommit CommitMemoEnter(MemoEntry& row, MemoInput input, bool& dbcsFlag);

// The storing steps both commits share: brackets replaced, name and tel stored, the
// e-mail line rule applied, the e-mail stored when it fits in 24 bytes.
MemoCommit StoreMemoInput(MemoEntry& row, MemoInput input, bool& dbcsFlag);

// The first field over its typed limit and that limit, for the refusal message.
struct MemoOverLimit {
    MemoField field;
    size_t limit;
};
bool FindOverTypedLimit(const MemoInput& input, MemoOverLimit& over);
