#include "memo/MemoRules.h"

#include <algorithm>

#include "platform/Cp949.h"

void ReplaceBrackets(std::string& text) {
    std::replace(text.begin(), text.end(), '[', '(');
    std::replace(text.begin(), text.end(), ']', ')');
}

void ApplyEmailLineRule(std::string& email, bool& dbcsFlag) {
    constexpr size_t kPiece = 12;
    if (email.size() <= kPiece) return;
    for (size_t i = 0; i < kPiece; ++i)
        if (cp949::IsDBCSLeadByte(static_cast<unsigned char>(email[i]))) dbcsFlag = true;
    if (dbcsFlag && cp949::DoubleByteStartsAt(email, kPiece - 1)) email.insert(kPiece - 1, 1, ' ');
}
