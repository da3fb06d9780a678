#include "memo/MemoCommit.h"

#include "memo/MemoRules.h"
#include "ui/EntryRules.h"

namespace {

// Brackets, then the line rule on the e-mail when asked, then the whole row or nothing.
MemoCommit Store(MemoEntry& row, MemoInput in, bool lineRule, bool& dbcsFlag) {
    ReplaceBrackets(in.name);
    ReplaceBrackets(in.tel);
    ReplaceBrackets(in.email);
    if (lineRule) ApplyEmailLineRule(in.email, dbcsFlag);
    if (in.email.size() > kMemoStoredEmail) return MemoCommit::EmailOver;
    SetMemoField(row, MemoField::Name, in.name);
    SetMemoField(row, MemoField::Tel, in.tel);
    SetMemoField(row, MemoField::Email, in.email);
    return MemoCommit::Stored;
}

bool Same(const MemoEntry& row, MemoField field, const std::string& text) { return MemoFieldText(row, field) == text; }

}  // namespace

MemoCommit StoreMemoInput(MemoEntry& row, MemoInput in, bool& dbcsFlag) {
    return Store(row, std::move(in), true, dbcsFlag);
}

MemoCommit CommitMemoEnter(MemoEntry& row, MemoInput in, bool& dbcsFlag, MemoOverLimit* over) {
    const struct {
        const std::string& text;
        MemoField field;
        size_t limit;
    } fields[] = {{in.name, MemoField::Name, kMemoTypedName},
                  {in.tel, MemoField::Tel, kMemoTypedTel},
                  {in.email, MemoField::Email, kMemoTypedEmail}};
    for (const auto& f : fields) {
        if (f.text.size() > f.limit && !Same(row, f.field, f.text)) {
            if (over) *over = {f.field, f.limit};
            return MemoCommit::TooLong;
        }
    }
    // An e-mail the row already holds went through the rule when it was stored (or came
    // so from a file); spacing it again could push it over the limit untouched.
    const bool emailChanged = !Same(row, MemoField::Email, in.email);
    return Store(row, std::move(in), emailChanged, dbcsFlag);
}

MemoCommit CommitMemoInput(MemoEntry& row, MemoInput in, bool& dbcsFlag, MemoOverLimit* over) {
    if (Same(row, MemoField::Name, in.name) && Same(row, MemoField::Tel, in.tel) &&
        Same(row, MemoField::Email, in.email))
        return MemoCommit::Unchanged;
    return CommitMemoEnter(row, std::move(in), dbcsFlag, over);
}
