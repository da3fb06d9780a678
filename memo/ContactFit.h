#pragma once
// Fitting contacts from other programs into memo rows, and the report of every contact
// that does not fit as it is: a field over its byte limit, a character CP949 cannot
// hold, an e-mail too long once split for the device, an empty contact, a contact past
// the room in the list, a field holding NUL. Nothing is changed without a note. Text that
// CP949 cannot hold as it is is composed (NFC) first (decomposed Hangul, as macOS writes
// it), and a control character (a line break, a tab) is a space.
//
// Numbers and e-mail addresses are never cut: a shorter number is another number. A
// number over its limit loses its spaces, dashes, dots and brackets first; what still
// does not fit is left out (Trim) or keeps its contact out (Skip, Fail).
#include <string>
#include <vector>

#include "memo/Contact.h"
#include "memo/MemoCommit.h"

enum class FitPolicy {
    Trim,  // cut what is over at a character boundary, leave out what cannot be cut
    Skip,  // leave out every contact that does not fit as it is
    Fail,  // import nothing when any contact does not fit
};

// HasNul: a memo file ends a field at NUL and takes a row that starts with one for the
// end of the list, so the rows after it would be lost; no policy imports such a file.
// Folded: letters CP949 cannot hold written plain ("é" as "e"); TelCompacted: a number's
// separators removed so that it fits; NameStandIn: no name, the organisation or nickname
// used; CardCutOff: a card without its END, closed where the next card began.
enum class FitProblem {
    TooLong, NotCp949, EmailOver, Empty, ListFull, HasNul, Folded, TelOver, TelCompacted, NameStandIn, CardCutOff
};
// Kept: stored, the note only says how; Trimmed: stored, changed to fit; LeftOut: not
// stored; Refused: the Fail policy's refusal.
enum class FitAction { Trimmed, LeftOut, Refused, Kept };

struct FitNote {
    int line = 0;     // where the contact starts in its file
    std::string who;  // its name (else tel., else e-mail), UTF-8
    FitProblem problem;
    MemoField field = MemoField::Name;  // the field at fault, for TooLong, NotCp949, EmailOver, HasNul
    std::string detail;                 // the sizes or the character, for the report
    FitAction action;
};

struct FitResult {
    std::vector<MemoInput> rows;  // what is to be stored, CP949, in order
    std::vector<FitNote> notes;   // in the order of the contacts
    bool failed = false;          // the Fail policy met a contact that does not fit, or any policy a
                                  // field holding NUL; rows is empty
};

// Fits contacts for a list with room for that many more rows, under the policy.
FitResult FitContacts(const Contacts& contacts, FitPolicy policy, int room);

// "line 12, field name: 18 bytes, at most 15 bytes fit; cut to 14 bytes (contact: 김철수)";
// a line of the Skip policy ends "contact skipped", of the Fail policy "contact refused".
std::string DescribeFitNote(const FitNote& note);

// The report as lines for a person: one per note, but a run of contacts left out
// because the list is full is one line.
std::vector<std::string> FitReportLines(const FitResult& result);

// Stores the rows from table row `first` on through the entry rules; returns the last
// row index written (first - 1 when there are none).
int StoreFitted(MemoTable& table, int first, const std::vector<MemoInput>& rows);
