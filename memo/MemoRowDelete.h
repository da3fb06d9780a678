#pragma once
// Deleting one row of the memo table so that it keeps no holes: later rows move up.
#include "memo/MemoTable.h"

struct MemoRowDeletion {
    // Row 0 was deleted while row 1 was empty: rows 0 and 1 were cleared, nothing moved,
    // and the list is empty.
    bool clearedPair = false;
    // Otherwise the index where moving stopped: the first empty row after the deleted
    // one, or kMemoRows when row 249 was moved. Rows row..end-1 changed.
    int end = 0;
};

// Clears row (0..249) and moves the rows after it up to the first empty one.
MemoRowDeletion DeleteMemoRow(MemoTable& table, int row);

// The last-row index after a deletion: 0 for an emptied list; otherwise one before where
// the moving stopped, never past the last row and never raised, so deleting an empty row far below the entries does not
// open a stretch of editable rows with a hole before it.
int LastRowAfterDeletion(const MemoRowDeletion& deletion, int last);
