#include "memo/ContactFit.h"

#include "memo/MemoRules.h"
#include "platform/Cp949.h"

namespace {

// The e-mail's length once the line rule has split it for the device.
size_t EmailStoredBytes(std::string email) {
    bool dbcs = false;
    ApplyEmailLineRule(email, dbcs);
    return email.size();
}

std::string Bytes(size_t n) { return std::to_string(n) + (n == 1 ? " byte" : " bytes"); }

}  // namespace

FitResult FitContacts(const Contacts& contacts, FitPolicy policy, int room) {
    FitResult result;
    const FitAction misfit = policy == FitPolicy::Trim   ? FitAction::Trimmed
                             : policy == FitPolicy::Skip ? FitAction::LeftOut
                                                         : FitAction::Refused;
    const FitAction dropped = policy == FitPolicy::Fail ? FitAction::Refused : FitAction::LeftOut;
    bool refuseAll = false;
    for (const Contact& c : contacts) {
        std::string who = !c.name.empty() ? c.name : !c.tel.empty() ? c.tel : c.email;
        std::erase(who, '\0');
        auto note = [&](FitProblem problem, MemoField field, std::string detail, FitAction action) {
            result.notes.push_back({c.line, who, problem, field, std::move(detail), action});
        };
        if (c.name.empty() && c.tel.empty() && c.email.empty()) {
            note(FitProblem::Empty, MemoField::Name, "no name, tel or email; left out", dropped);
            continue;
        }
        if (static_cast<int>(result.rows.size()) >= room) {
            note(FitProblem::ListFull, MemoField::Name,
                 "the memo list holds " + std::to_string(kMemoRows) + " contacts; left out", dropped);
            continue;
        }
        MemoInput in;
        bool fits = true, nul = false;
        // The limits are what the memo table stores (not what the entry boxes let a
        // person type), so that every memo file this program writes imports back whole.
        const struct {
            const std::string& text;
            std::string& out;
            MemoField field;
            size_t limit;
        } fields[] = {{c.name, in.name, MemoField::Name, kMemoStoredName},
                      {c.tel, in.tel, MemoField::Tel, kMemoStoredTel},
                      {c.email, in.email, MemoField::Email, kMemoStoredEmail}};
        for (const auto& f : fields) {
            if (f.text.find('\0') != std::string::npos) {
                nul = refuseAll = true;
                note(FitProblem::HasNul, f.field,
                     "the character NUL (0x00) is not allowed; the file would end the field there",
                     FitAction::Refused);
                continue;
            }
            cp949::Conversion c = cp949::FromUtf8Dropping(f.text);
            f.out = std::move(c.text);
            if (!c.ok) {
                fits = false;
                note(FitProblem::NotCp949, f.field,
                     c.error + (misfit == FitAction::Trimmed ? "; left out of the text" : ""),
                     misfit);
            }
            ReplaceBrackets(f.out);
            size_t stored = f.field == MemoField::Email ? EmailStoredBytes(f.out) : f.out.size();
            if (stored <= f.limit) continue;
            fits = false;
            std::string detail = Bytes(f.out.size());
            if (stored != f.out.size()) detail += ", " + Bytes(stored) + " once split for the device";
            detail += ", at most " + Bytes(f.limit) + " fit";
            if (misfit == FitAction::Trimmed) {
                // Cut a character at a time: the e-mail's split may take a byte back.
                size_t keep = cp949::WholeCharacterPrefix(f.out, f.limit);
                while (keep > 0 && f.field == MemoField::Email && EmailStoredBytes(f.out.substr(0, keep)) > f.limit)
                    keep = cp949::WholeCharacterPrefix(f.out, keep - 1);
                f.out.resize(keep);
                detail += "; cut to " + Bytes(keep);
            }
            note(f.field == MemoField::Email ? FitProblem::EmailOver : FitProblem::TooLong, f.field, detail, misfit);
        }
        if (nul || (!fits && misfit != FitAction::Trimmed)) continue;
        if (in.name.empty() && in.tel.empty() && in.email.empty()) {
            note(FitProblem::Empty, MemoField::Name, "nothing is left that CP949 can hold; left out", dropped);
            continue;
        }
        result.rows.push_back(std::move(in));
    }
    if (refuseAll || (policy == FitPolicy::Fail && !result.notes.empty())) {
        result.failed = true;
        result.rows.clear();
    }
    return result;
}

std::string DescribeFitNote(const FitNote& note) {
    std::string text = "line " + std::to_string(note.line);
    if (note.problem == FitProblem::TooLong || note.problem == FitProblem::NotCp949 ||
        note.problem == FitProblem::EmailOver || note.problem == FitProblem::HasNul)
        text += std::string(", field ") + MemoFieldName(note.field);
    text += ": " + note.detail;
    if (!note.who.empty()) text += " (contact: " + note.who + ")";
    return text;
}

std::vector<std::string> FitReportLines(const FitResult& result) {
    std::vector<std::string> lines;
    const auto& notes = result.notes;
    for (size_t i = 0; i < notes.size();) {
        size_t j = i;
        while (j < notes.size() && notes[j].problem == FitProblem::ListFull) ++j;
        if (j - i < 2) {
            lines.push_back(DescribeFitNote(notes[i]));
            ++i;
            continue;
        }
        lines.push_back("lines " + std::to_string(notes[i].line) + " to " + std::to_string(notes[j - 1].line) + ": " +
                        std::to_string(j - i) + " contacts left out: the memo list holds " +
                        std::to_string(kMemoRows) + " contacts");
        i = j;
    }
    return lines;
}

int StoreFitted(MemoTable& table, int first, const std::vector<MemoInput>& rows) {
    int row = first;
    for (const MemoInput& in : rows) {
        if (row >= kMemoRows) break;
        ClearMemoRow(table[row]);
        bool dbcs = false;
        StoreMemoInput(table[row], in, dbcs);
        ++row;
    }
    return row - 1;
}
