#include "memo/MemoCommit.h"

#include "memo/MemoRules.h"

MemoCommit StoreMemoInput(MemoEntry& row, MemoInput in, bool& dbcsFlag) {
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

MemoCommit CommitMemoInput(MemoEntry& row, MemoInput in, bool& dbcsFlag) {
    if (in.name == MemoFieldText(row, MemoField::Name) && in.tel == MemoFieldText(row, MemoField::Tel) &&
        in.email == MemoFieldText(row, MemoField::Email))
        return MemoCommit::Unchanged;
    if (in.name.size() > kMemoStoredName || in.tel.size() > kMemoStoredTel || in.email.size() > kMemoInputEmail)
        return MemoCommit::TooLong;
    return StoreMemoInput(row, std::move(in), dbcsFlag);
}

bool FindOverTypedLimit(const MemoInput& in, MemoOverLimit& over) {
    const struct {
        const std::string& text;
        MemoField field;
        size_t limit;
    } fields[] = {{in.name, MemoField::Name, kMemoTypedName},
                  {in.tel, MemoField::Tel, kMemoTypedTel},
                  {in.email, MemoField::Email, kMemoTypedEmail}};
    for (const auto& f : fields) {
        if (f.text.size() > f.limit) {
            over = {f.field, f.limit};
            return true;
        }
    }
    return false;
}

MemoCommit CommitMemoEnter(MemoEntry& row, MemoInput in, bool& dbcsFlag) {
    MemoOverLimit over;
    if (FindOverTypedLimit(in, over)) return MemoCommit::TooLong;
    return StoreMemoInput(row, std::move(in), dbcsFlag);
}
