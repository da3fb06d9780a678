#include "memo/MemoRules.h"

#include "platform/Cp949.h"
#include "ui/EntryRules.h"

void ApplyEmailLineRule(std::string& email, bool& dbcsFlag) {
    constexpr size_t kPiece = 12;
    if (email.size() <= kPiece) return;
    for (size_t i = 0; i < kPiece; ++i)
        if (cp949::IsDBCSLeadByte(static_cast<unsigned char>(email[i]))) dbcsFlag = true;
    if (dbcsFlag) KeepCharacterWholeAt(email, kPiece);
}
