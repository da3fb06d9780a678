#include "ui/EntryRules.h"

#include <algorithm>

#include "platform/Cp949.h"

void ReplaceBrackets(std::string& text) {
    std::replace(text.begin(), text.end(), '[', '(');
    std::replace(text.begin(), text.end(), ']', ')');
}

bool KeepCharacterWholeAt(std::string& text, size_t piece) {
    if (piece == 0 || !cp949::DoubleByteStartsAt(text, piece - 1)) return false;
    text.insert(piece - 1, 1, ' ');
    return true;
}
