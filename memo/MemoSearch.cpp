#include "memo/MemoSearch.h"

#include "platform/Cp949.h"

bool ContainsCp949(std::string_view haystack, std::string_view needle) {
    if (needle.empty()) return false;
    for (size_t i = 0; i + needle.size() <= haystack.size();) {
        if (haystack.compare(i, needle.size(), needle) == 0) return true;
        i += cp949::IsDBCSLeadByte(static_cast<unsigned char>(haystack[i])) ? 2 : 1;
    }
    return false;
}

int FindMemoRow(const MemoTable& table, int current, std::string_view text, bool down) {
    constexpr MemoField kOrder[] = {MemoField::Name, MemoField::Tel, MemoField::Email};
    constexpr int kColumns = 3;
    auto wrap = [](int row) { return (row % kMemoRows + kMemoRows) % kMemoRows; };
    int row = wrap(down ? current + 1 : current - 1);
    int column = down ? 0 : kColumns - 1;
    for (int visited = 0; visited < kMemoSearchCellLimit; ++visited) {
        if (ContainsCp949(MemoFieldText(table[row], kOrder[column]), text)) return row;
        column += down ? 1 : -1;
        if (column == kColumns || column < 0) {
            column = down ? 0 : kColumns - 1;
            row = wrap(down ? row + 1 : row - 1);
        }
    }
    return -1;
}
