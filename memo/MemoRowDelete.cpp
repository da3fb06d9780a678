#include "memo/MemoRowDelete.h"

#include <algorithm>

MemoRowDeletion DeleteMemoRow(MemoTable& table, int row) {
    MemoRowDeletion result;
    ClearMemoRow(table[row]);
    if (row == 0 && IsMemoRowEmpty(table[1])) {
        ClearMemoRow(table[1]);
        result.clearedPair = true;
        return result;
    }
    int j = row + 1;
    for (; j < kMemoRows && !IsMemoRowEmpty(table[j]); ++j) {
        table[j - 1] = table[j];
        ClearMemoRow(table[j]);
    }
    result.end = j;
    return result;
}

int LastRowAfterDeletion(const MemoRowDeletion& deletion, int last) {
    // An emptied list starts again at row 0: a bound left further down would let the
    // next contact land below an empty row, where no memo file keeps it.
    if (deletion.clearedPair) return 0;
    return std::min({deletion.end - 1, kMemoRows - 1, last});
}
