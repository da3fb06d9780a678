#pragma once
// Storing one contact in a memo row the way the Input button does it.
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
    TooLong,      // a value over the Input button's limits; nothing written
    EmailOver,    // name and tel stored, e-mail refused ("E-Mail String Over")
};

// Compares, checks limits, replaces brackets, stores name and tel, applies the line
// rule and stores the e-mail when it fits in 24 bytes.
MemoCommit CommitMemoInput(MemoEntry& row, MemoInput input, bool& dbcsFlag);
