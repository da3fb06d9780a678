// The memo side of the document: the edits of the contact list, each one step of the
// memo history.
#include <memory>

#include "app/CommandIds.h"
#include "app/LyraDoc.h"

namespace {

std::string Contacts(int n) { return n == 1 ? "contact" : std::to_string(n) + " contacts"; }

}  // namespace

template <class Edit>
auto CLyraDoc::EditMemo(const std::string& name, Edit edit) {
    // The list is 19 KB: a step keeps it as it was and as it became, which is cheaper
    // and surer than the inverse of every rule an edit runs through.
    auto states = std::make_shared<std::pair<MemoBook, MemoBook>>(memo_, MemoBook{});
    const std::string before = SavedForm(DataKind::Memo);
    auto result = edit(memo_);
    // Only what changes the file is a step: moving the last row alone is not.
    if (SavedForm(DataKind::Memo) != before) {
        states->second = memo_;
        auto put = [this, states](bool after) {
            memo_ = after ? states->second : states->first;
            MemoChanged();
            return true;
        };
        HistoryOf(DataKind::Memo).Record({name, [put] { return put(false); }, [put] { return put(true); }});
    }
    return result;
}

void CLyraDoc::MemoChanged() { UpdateAllViews(nullptr, hint::MemoRead); }

void CLyraDoc::TouchMemoRow(int row) { memo_.Touch(row); }

MemoCommit CLyraDoc::CommitMemoRow(int row, const MemoInput& input, bool inputButton, bool& dbcs,
                                   MemoOverLimit* over) {
    if (row < 0 || row > kMemoLastRow) return MemoCommit::Unchanged;
    return EditMemo("Input contact", [&](MemoBook& list) {
        return inputButton ? list.CommitInput(row, input, dbcs, over) : list.CommitEnter(row, input, dbcs, over);
    });
}

bool CLyraDoc::DeleteMemoRows(const std::vector<int>& rows) {
    int contacts = 0;
    for (int row : rows) contacts += row >= 0 && row <= kMemoLastRow && !IsMemoRowEmpty(memo_.table[row]) ? 1 : 0;
    const bool emptied = EditMemo("Delete " + Contacts(contacts), [&](MemoBook& list) { return list.DeleteRows(rows); });
    if (emptied) m_bMemoFindEnabled = 0;
    return emptied;
}

void CLyraDoc::ImportMemo(const std::vector<MemoInput>& rows, bool replace) {
    EditMemo("Import " + Contacts(int(rows.size())), [&](MemoBook& list) {
        list.Import(rows, replace);
        return true;
    });
    m_bMemoFindEnabled = 1;
}

void CLyraDoc::SetMemoList(const MemoBook& list, const std::string& name) {
    EditMemo(name, [&](MemoBook& now) {
        now = list;
        return true;
    });
}
