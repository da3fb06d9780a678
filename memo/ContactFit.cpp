#include "memo/ContactFit.h"

#include <algorithm>
#include <cstdio>

#include "memo/MemoRules.h"
#include "platform/Cp949.h"
#include "platform/UnicodeText.h"
#include "ui/EntryRules.h"

namespace {

// The e-mail's length once the line rule has split it for the device.
size_t EmailStoredBytes(std::string email) {
    bool dbcs = false;
    ApplyEmailLineRule(email, dbcs);
    return email.size();
}

std::string Bytes(size_t n) { return std::to_string(n) + (n == 1 ? " byte" : " bytes"); }

// One line per field: a line break (CRLF as one) and every other control character is a
// space. NUL stays, for the refusal that names it.
std::string OneLine(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        out += (c > 0 && c < 0x20) || c == 0x7F ? ' ' : c;
    }
    return out;
}

std::string Quoted(const std::vector<std::string>& list) {
    std::string out;
    for (const std::string& s : list) out += (out.empty() ? "\"" : ", \"") + s + "\"";
    return out;
}

// UTF-8 to CP949 a character at a time: what CP949 holds is kept, a letter with a plain
// spelling is folded to it, anything else is dropped. Both are listed, each character once.
struct Cp949Text {
    std::string text;
    std::vector<std::string> folded, foldedTo, dropped;
};

Cp949Text ToCp949(const std::string& text) {
    Cp949Text r;
    cp949::Conversion whole = cp949::FromUtf8(text);
    // Composed only when needed: CP949's own characters come back from it as they were
    // (some, such as its compatibility Hanja, would be composed into other ones).
    const std::string utf8 = whole.ok ? text : unicode::Composed(text);
    if (!whole.ok && utf8 != text) whole = cp949::FromUtf8(utf8);
    if (whole.ok) {
        r.text = std::move(whole.text);
        return r;
    }
    for (size_t i = 0; i < utf8.size();) {
        const size_t len = unicode::CharacterLength(utf8, i);
        const std::string one = utf8.substr(i, len);
        i += len;
        if (cp949::Conversion c = cp949::FromUtf8(one); c.ok) {
            r.text += c.text;
            continue;
        }
        const std::string plain = cp949::IsValidUtf8(one) ? unicode::PlainLetters(one) : std::string();
        if (cp949::Conversion p = cp949::FromUtf8(plain); !plain.empty() && p.ok) {
            r.text += p.text;
            if (std::find(r.folded.begin(), r.folded.end(), one) != r.folded.end()) continue;
            r.folded.push_back(one);
            r.foldedTo.push_back(plain);
        } else {
            char hex[8];
            snprintf(hex, sizeof hex, "\\x%02X", static_cast<unsigned char>(one[0]));
            std::string shown = cp949::IsValidUtf8(one) ? one : std::string(hex);
            if (std::find(r.dropped.begin(), r.dropped.end(), shown) == r.dropped.end()) r.dropped.push_back(shown);
        }
    }
    return r;
}

std::string WithoutSeparators(const std::string& tel) {
    std::string out;
    for (char c : tel)
        if (c != ' ' && c != '-' && c != '.' && c != '(' && c != ')') out += c;
    return out;
}

}  // namespace

FitResult FitContacts(const Contacts& contacts, FitPolicy policy, int room) {
    FitResult result;
    const FitAction misfit = policy == FitPolicy::Trim   ? FitAction::Trimmed
                             : policy == FitPolicy::Skip ? FitAction::LeftOut
                                                         : FitAction::Refused;
    const FitAction dropped = policy == FitPolicy::Fail ? FitAction::Refused : FitAction::LeftOut;
    bool refuseAll = false, anyMisfit = false;
    for (const Contact& c : contacts) {
        std::string who = !c.name.empty() ? c.name : !c.tel.empty() ? c.tel : c.email;
        std::erase(who, '\0');
        who = OneLine(who);
        auto note = [&](FitProblem problem, MemoField field, std::string detail, FitAction action) {
            result.notes.push_back({c.line, who, problem, field, std::move(detail), action});
            anyMisfit = anyMisfit || action != FitAction::Kept;
        };
        const std::string cutOff =
            c.closedAt ? "the card has no END:VCARD; closed at line " + std::to_string(c.closedAt) : std::string();
        if (c.name.empty() && c.tel.empty() && c.email.empty()) {
            note(FitProblem::Empty, MemoField::Name,
                 (cutOff.empty() ? "" : cutOff + ", ") + "no name, tel or email; left out", dropped);
            continue;
        }
        if (static_cast<int>(result.rows.size()) >= room) {
            note(FitProblem::ListFull, MemoField::Name,
                 "the memo list holds " + std::to_string(kMemoRows) + " contacts; left out", dropped);
            continue;
        }
        if (!cutOff.empty()) note(FitProblem::CardCutOff, MemoField::Name, cutOff, FitAction::Kept);
        if (c.nameFrom != NameSource::Person)
            note(FitProblem::NameStandIn, MemoField::Name,
                 std::string("no name; the ") + (c.nameFrom == NameSource::Organisation ? "organisation" : "nickname") +
                     " stands in",
                 FitAction::Kept);
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
            Cp949Text t = ToCp949(OneLine(f.text));
            f.out = std::move(t.text);
            bool changed = false;
            if (misfit != FitAction::Trimmed && (!t.folded.empty() || !t.dropped.empty())) {
                fits = false;
                std::vector<std::string> all = t.folded;
                all.insert(all.end(), t.dropped.begin(), t.dropped.end());
                note(FitProblem::NotCp949, f.field,
                     std::string(all.size() == 1 ? "the character " : "the characters ") + Quoted(all) +
                         " cannot be stored in CP949",
                     misfit);
            } else {
                if (!t.folded.empty()) {
                    std::string detail = "folded";
                    for (size_t k = 0; k < t.folded.size(); ++k)
                        detail += (k ? ", \"" : " \"") + t.folded[k] + "\" to \"" + t.foldedTo[k] + "\"";
                    note(FitProblem::Folded, f.field, detail, FitAction::Trimmed);
                }
                if (!t.dropped.empty())
                    note(FitProblem::NotCp949, f.field,
                         std::string(t.dropped.size() == 1 ? "the character " : "the characters ") + Quoted(t.dropped) +
                             " cannot be stored in CP949; left out of the text",
                         FitAction::Trimmed);
                changed = !t.folded.empty() || !t.dropped.empty();
            }
            ReplaceBrackets(f.out);
            size_t stored = f.field == MemoField::Email ? EmailStoredBytes(f.out) : f.out.size();
            if (stored <= f.limit) {
                if (changed) f.out = Trimmed(f.out);
                continue;
            }
            std::string detail = Bytes(f.out.size());
            if (stored != f.out.size()) detail += ", " + Bytes(stored) + " once split for the device";
            detail += ", at most " + Bytes(f.limit) + " fit";
            if (f.field == MemoField::Tel) {
                // The same number without its separators, when that fits.
                std::string compact = WithoutSeparators(f.out);
                if (compact.size() <= f.limit) {
                    note(FitProblem::TelCompacted, f.field,
                         detail + "; spaces, dashes, dots and brackets removed: " + compact, FitAction::Kept);
                    f.out = std::move(compact);
                    continue;
                }
                detail += ", " + Bytes(compact.size()) + " without spaces, dashes, dots and brackets";
            }
            fits = false;
            if (misfit == FitAction::Trimmed && f.field == MemoField::Name) {
                f.out = Trimmed(f.out.substr(0, cp949::WholeCharacterPrefix(f.out, f.limit)));
                detail += "; cut to " + Bytes(f.out.size());
            } else if (misfit == FitAction::Trimmed) {
                detail += f.field == MemoField::Tel ? "; number left out" : "; e-mail left out";
                f.out.clear();
            }
            note(f.field == MemoField::Email ? FitProblem::EmailOver
                 : f.field == MemoField::Tel ? FitProblem::TelOver
                                             : FitProblem::TooLong,
                 f.field, detail, misfit);
        }
        if (nul || (!fits && misfit != FitAction::Trimmed)) continue;
        if (in.name.empty() && in.tel.empty() && in.email.empty()) {
            note(FitProblem::Empty, MemoField::Name, "nothing is left that can be stored; left out", dropped);
            continue;
        }
        result.rows.push_back(std::move(in));
    }
    if (refuseAll || (policy == FitPolicy::Fail && anyMisfit)) {
        result.failed = true;
        result.rows.clear();
    }
    return result;
}

std::string DescribeFitNote(const FitNote& note) {
    std::string text = "line " + std::to_string(note.line);
    switch (note.problem) {
        case FitProblem::Empty:
        case FitProblem::ListFull:
        case FitProblem::NameStandIn:
        case FitProblem::CardCutOff: break;
        default: text += std::string(", field ") + MemoFieldName(note.field);
    }
    text += ": " + note.detail;
    const bool misfit = note.problem != FitProblem::Empty && note.problem != FitProblem::ListFull;
    if (misfit && note.action == FitAction::LeftOut) text += "; contact skipped";
    if (misfit && note.action == FitAction::Refused && note.problem != FitProblem::HasNul) text += "; contact refused";
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
