#include "memo/MemoCommit.h"

#include "memo/MemoRules.h"

MemoCommit CommitMemoInput(MemoEntry& row, MemoInput in, bool& dbcsFlag) {
    if (in.name == MemoFieldText(row, MemoField::Name) && in.tel == MemoFieldText(row, MemoField::Tel) &&
        in.email == MemoFieldText(row, MemoField::Email))
        return MemoCommit::Unchanged;
    if (in.name.size() > kMemoStoredName || in.tel.size() > kMemoStoredTel || in.email.size() > kMemoInputEmail)
        return MemoCommit::TooLong;
    ReplaceBrackets(in.name);
    ReplaceBrackets(in.tel);
    ReplaceBrackets(in.email);
    SetMemoField(row, MemoField::Name, in.name);
    SetMemoField(row, MemoField::Tel, in.tel);
    ApplyEmailLineRule(in.email, dbcsFlag);
    if (in.email.size() > kMemoStoredEmail) return MemoCommit::EmailOver;
    SetMemoField(row, MemoField::Email, in.email);
    return MemoCommit::Stored;
}
