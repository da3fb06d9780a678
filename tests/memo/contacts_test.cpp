// Contacts from other programs' files into memo rows and back: the vCard versions and
// CSV exports as real programs write them, the fit report and its policies, and the
// round trip memo -> vCard/CSV -> memo.
#include <gtest/gtest.h>

#include <random>

#include "memo/ContactFiles.h"
#include "memo/ContactFit.h"
#include "memo/MemoFile.h"
#include "memo/MemoRules.h"
#include "memo/VCard.h"
#include "memo/support/AddressBookFiles.h"
#include "platform/Cp949.h"

namespace {

std::string Cp(const char* utf8) { return cp949::FromUtf8(utf8).text; }

struct Want {
    std::string name, tel, email;
};

void ExpectContacts(const Contacts& got, const std::vector<Want>& want, const char* what) {
    ASSERT_EQ(got.size(), want.size()) << what;
    for (size_t i = 0; i < want.size(); ++i) {
        EXPECT_EQ(got[i].name, want[i].name) << what << " #" << i;
        EXPECT_EQ(got[i].tel, want[i].tel) << what << " #" << i;
        EXPECT_EQ(got[i].email, want[i].email) << what << " #" << i;
    }
}

}  // namespace

TEST(Contacts, VCardShapesAsProgramsWriteThem) {
    struct Case {
        const char* what;
        std::string text;
        std::vector<Want> want;
    } cases[] = {
        {"2.1 from a Korean phone: EUC-KR quoted-printable with soft breaks, PREF among numbers",
         "BEGIN:VCARD\r\nVERSION:2.1\r\n"
         "N;CHARSET=EUC-KR;ENCODING=QUOTED-PRINTABLE:=B1=E8;=C3=B6=BC=F6;;;\r\n"
         "FN;CHARSET=EUC-KR;ENCODING=QUOTED-PRINTABLE:=B1=E8=C3=\r\n=B6=\r\n=BC=F6\r\n"
         "TEL;CELL:010-1111-2222\r\nTEL;HOME;PREF:02-333-4444\r\n"
         "EMAIL;INTERNET:kim@example.kr\r\nEND:VCARD\r\n"
         "BEGIN:VCARD\r\nVERSION:2.1\r\n"
         "N;CHARSET=UTF-8;QUOTED-PRINTABLE:=ED=99=8D;=EA=B8=B8=EB=8F=99;;;\r\n"  // no FN: the name from N
         "TEL;CHARSET=CP949;CELL:011-555\r\n"
         "PHOTO;ENCODING=BASE64;JPEG:/9j/4AAQ\r\n  SkZJRgAB\r\n\r\n"
         "END:VCARD\r\n",
         {{"김철수", "02-333-4444", "kim@example.kr"}, {"홍길동", "011-555", ""}}},
        {"2.1 with raw CP949 bytes and no CHARSET, LF line ends",
         "BEGIN:VCARD\nVERSION:2.1\nFN:\xC0\xCC\xBF\xB5\xC8\xF1\nTEL:1\nEND:VCARD\n",
         {{"이영희", "1", ""}}},
        {"3.0 from an address book: folded lines, escapes, grouped and typed properties",
         "BEGIN:VCARD\r\nVERSION:3.0\r\n"
         "N:Doe;John;Q.;Dr.;Jr.\r\n"
         "FN:Doe\\, John \\;\r\n  Jr.\r\n"
         "TEL;TYPE=WORK,VOICE:+1 555 0100\r\n"
         "TEL;TYPE=CELL;TYPE=pref:+1 555\r\n  0199\r\n"
         "item1.EMAIL;type=INTERNET:first@example.com\r\n"
         "item2.EMAIL;type=INTERNET;type=pref:best@example.com\r\n"
         "item2.X-ABLabel:_$!<Other>!$_\r\n"
         "NOTE:line one\\nline two\r\n"
         "END:VCARD\r\n"
         "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Park;Ji Sung;;Mr.;\r\nTEL:+82 2\r\nEND:VCARD\r\n",
         {{"Doe, John ; Jr.", "+1 555 0199", "best@example.com"}, {"Mr. Ji Sung Park", "+82 2", ""}}},
        {"4.0: PREF ranks, tel: links, quoted parameter lists",
         "\xEF\xBB\xBF" "BEGIN:VCARD\r\nVERSION:4.0\r\nFN:박지성\r\n"
         "TEL;VALUE=uri;PREF=2;TYPE=\"voice,home\":tel:+82-2-555-1234\r\n"
         "TEL;VALUE=uri;PREF=1;TYPE=cell:tel:+82-10-9999-0000\r\n"
         "EMAIL;TYPE=work:w@x.kr\r\nEMAIL;PREF=1:p@x.kr\r\nEND:VCARD\r\n",
         {{"박지성", "+82-10-9999-0000", "p@x.kr"}}},
        {"a nested card is a contact of its own; a card the file ends inside still counts",
         "BEGIN:VCARD\r\nVERSION:2.1\r\nFN:Boss\r\nAGENT:\r\nBEGIN:VCARD\r\nFN:Assistant\r\nTEL:9\r\n"
         "END:VCARD\r\nTEL:1\r\nEND:VCARD\r\nBEGIN:VCARD\r\nVERSION:3.0\r\nFN:Cut\r\nTEL:2",
         {{"Boss", "1", ""}, {"Assistant", "9", ""}, {"Cut", "2", ""}}},
    };
    for (const Case& c : cases) {
        Contacts got;
        std::string error;
        EXPECT_TRUE(LooksLikeVCard(c.text)) << c.what;
        ASSERT_TRUE(ReadContacts(c.text, ContactFormat::Detect, got, error)) << c.what << ": " << error;
        ExpectContacts(got, c.want, c.what);
    }
    std::string utf16 = "\xFF\xFE";  // as some Windows programs save it
    for (char ch : std::string("BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Kim\r\nEND:VCARD\r\n")) utf16 += {ch, '\0'};
    Contacts none;
    std::string error;
    ASSERT_TRUE(ReadContacts(utf16, ContactFormat::Detect, none, error)) << error;
    ExpectContacts(none, {{"Kim", "", ""}}, "UTF-16");
    EXPECT_FALSE(ReadVCards("name,tel,email\r\n", none, error));
    EXPECT_NE(error.find("no vCard"), std::string::npos);
}

TEST(Contacts, CsvLayoutsByTheirHeaders) {
    struct Case {
        const char* what;
        std::string text;
        std::vector<Want> want;
        const char* error;  // part of the error, or nullptr
    } cases[] = {
        {"ours", "name,tel,email\r\n홍길동,010,h@x\r\n", {{"홍길동", "010", "h@x"}}, nullptr},
        {"Google Contacts",
         "Name,Given Name,Family Name,E-mail 1 - Type,E-mail 1 - Value,E-mail 2 - Type,E-mail 2 - Value,"
         "Phone 1 - Type,Phone 1 - Value,Phone 2 - Type,Phone 2 - Value\r\n"
         "Kim Chul,Chul,Kim,* Home,home@x.kr,Work,work@x.kr,Work,02-1 ::: 02-2,* Mobile,010-3\r\n"
         ",지성,박,,,Work,w@x.kr,Mobile,010-4,,\r\n",
         {{"Kim Chul", "010-3", "home@x.kr"}, {"박지성", "010-4", "w@x.kr"}}, nullptr},
        {"Google Contacts, the newer labels",
         "First Name,Middle Name,Last Name,E-mail 1 - Label,E-mail 1 - Value,Phone 1 - Label,Phone 1 - Value\r\n"
         "Ann,B.,Lee,* Home,a@x,Mobile,010\r\n",
         {{"Ann B. Lee", "010", "a@x"}}, nullptr},
        {"Outlook",
         "First Name,Middle Name,Last Name,Title,Suffix,E-mail Address,E-mail 2 Address,Business Phone,"
         "Home Phone,Mobile Phone\r\n"
         "John,,Smith,Mr.,,j@x.com,j2@x.com,02-100,,010-200\r\n"
         "길동,,홍,,,,h@x.kr,02-300,,\r\n",
         {{"Mr. John Smith", "010-200", "j@x.com"}, {"홍길동", "02-300", "h@x.kr"}}, nullptr},
        {"Thunderbird",
         "First Name,Last Name,Display Name,Nickname,Primary Email,Secondary Email,Screen Name,Work Phone,"
         "Home Phone,Fax Number,Pager Number,Mobile Number\r\n"
         "Jane,Roe,Jane R.,,jane@x.org,,,03-1,03-2,03-3,,\r\n"
         "Al,Bo,,,,al@x,,,,,,010-5\r\n",
         {{"Jane R.", "03-1", "jane@x.org"}, {"Al Bo", "010-5", "al@x"}}, nullptr},  // no mobile: the first
        {"unknown columns are named", "Full name,Phone\r\nKim,010\r\n", {}, "the columns found (Full name, Phone)"},
        {"ours, a short row", "name,tel,email\r\nkim,1\r\n", {}, "line 2: expected 3 fields"},
        // A small file of empty rows would otherwise become millions of contacts and notes.
        {"more rows than any address book", [] {
             std::string t = "name,tel,email\r\n";
             for (size_t i = 0; i <= kMaxContactsRead; ++i) t += ",,\r\n";
             return t;
         }(), {}, "line 100002: more than 100000 contacts"},
    };
    for (const Case& c : cases) {
        Contacts got;
        std::string error;
        bool ok = ReadContacts(c.text, ContactFormat::Detect, got, error);
        EXPECT_EQ(ok, c.error == nullptr) << c.what << ": " << error;
        if (c.error) EXPECT_NE(error.find(c.error), std::string::npos) << c.what << ": " << error;
        else ExpectContacts(got, c.want, c.what);
    }
}

TEST(Contacts, FitReportAndPolicies) {
    // 가 = 2 bytes; "ab" + 7 syllables is 16 bytes, so the cut at 15 falls inside a syllable.
    const Contacts contacts = {
        {"kim", "010", "k@x", 2},
        {"가나다라마바사아", "", "", 3},                      // 16 bytes: cut to 14, not 15
        {"ab가나다라마바사", "1", "", 4},                      // 16 bytes: cut to 14, not 15
        {"smile \xF0\x9F\x98\x80", "", "", 5},                 // CP949 cannot hold the emoji
        {"", "", "", 6},                                       // empty
        {"mail", "", "abcde가나다라마바사아자차카", 7},        // 27 bytes, 28 once split
        {"\xF0\x9F\x98\x80", "", "", 8},                       // nothing left once the emoji goes
        {"tel", "0123456789012345", "", 9},                    // 16 bytes
        {"last", "9", "", 10},                                 // past the room of 6
    };
    struct Case {
        FitPolicy policy;
        std::vector<std::string> rows;  // names stored, CP949
        std::vector<FitAction> actions;
        bool failed;
    } cases[] = {
        {FitPolicy::Trim,
         {"kim", Cp("가나다라마바사"), Cp("ab가나다라마바"), "smile", "mail", "tel"},
         {FitAction::Trimmed, FitAction::Trimmed, FitAction::Trimmed, FitAction::LeftOut, FitAction::Trimmed,
          FitAction::Trimmed, FitAction::LeftOut, FitAction::Trimmed, FitAction::LeftOut},
         false},
        {FitPolicy::Skip,
         {"kim", "last"},
         {FitAction::LeftOut, FitAction::LeftOut, FitAction::LeftOut, FitAction::LeftOut, FitAction::LeftOut,
          FitAction::LeftOut, FitAction::LeftOut},
         false},
        {FitPolicy::Fail,
         {},
         {FitAction::Refused, FitAction::Refused, FitAction::Refused, FitAction::Refused, FitAction::Refused,
          FitAction::Refused, FitAction::Refused},
         true},
    };
    for (const Case& c : cases) {
        FitResult r = FitContacts(contacts, c.policy, 6);
        EXPECT_EQ(r.failed, c.failed);
        std::vector<std::string> names;
        for (const MemoInput& in : r.rows) names.push_back(in.name);
        EXPECT_EQ(names, c.rows) << static_cast<int>(c.policy);
        std::vector<FitAction> actions;
        for (const FitNote& n : r.notes) actions.push_back(n.action);
        EXPECT_EQ(actions, c.actions) << static_cast<int>(c.policy);
        for (const MemoInput& in : r.rows) {
            std::string email = in.email;
            bool dbcs = false;
            ApplyEmailLineRule(email, dbcs);
            EXPECT_LE(email.size(), kMemoStoredEmail) << in.name;
            EXPECT_TRUE(cp949::ToUtf8(in.name).ok && cp949::ToUtf8(in.email).ok) << "cut inside a character";
        }
    }
    FitResult trimmed = FitContacts(contacts, FitPolicy::Trim, 6);
    std::vector<std::string> lines = FitReportLines(trimmed);
    ASSERT_EQ(lines.size(), 9u);
    EXPECT_EQ(lines[0], "line 3, field name: 16 bytes, at most 15 bytes fit; cut to 14 bytes (contact: 가나다라마바사아)");
    EXPECT_NE(lines[2].find("line 5, field name: the character \"\xF0\x9F\x98\x80\" cannot be stored"), std::string::npos);
    EXPECT_EQ(lines[3], "line 6: no name, tel or email; left out");
    EXPECT_NE(lines[4].find("field email: 27 bytes, 28 bytes once split for the device, at most 24 bytes fit"),
              std::string::npos);
    EXPECT_EQ(lines[8], "line 10: the memo list holds 250 contacts; left out (contact: last)");

    // A field holding NUL (as a vCard's "=00" gives) would end the memo list at its row
    // when saved, losing every contact after it: no policy imports such a file.
    const Contacts withNul = {{"kim", "010", "", 2}, {std::string("Kim\0Lee", 7), "1", "", 3}};
    for (FitPolicy policy : {FitPolicy::Trim, FitPolicy::Skip, FitPolicy::Fail}) {
        FitResult r = FitContacts(withNul, policy, kMemoRows);
        EXPECT_TRUE(r.failed && r.rows.empty()) << static_cast<int>(policy);
        EXPECT_EQ(FitReportLines(r), std::vector<std::string>{"line 3, field name: the character NUL (0x00) is not "
                                                              "allowed; the file would end the field there (contact: "
                                                              "KimLee)"});
    }

    // A long run past the end of the list is one line of the report.
    Contacts many(300, Contact{"n", "1", "", 0});
    for (int i = 0; i < 300; ++i) many[i].line = i + 2;
    FitResult full = FitContacts(many, FitPolicy::Trim, kMemoRows);
    EXPECT_EQ(full.rows.size(), 250u);
    EXPECT_EQ(full.notes.size(), 50u);
    EXPECT_EQ(FitReportLines(full),
              std::vector<std::string>{"lines 252 to 301: 50 contacts left out: the memo list holds 250 contacts"});
}

// Tables filled the way the entry boxes fill them, saved and read back, then exported
// and imported again: the memo file comes back byte for byte.
TEST(Contacts, MemoRoundTripThroughVCardAndCsv) {
    std::mt19937 rng(14);
    const std::vector<std::string> pieces = {"a", "Z", "7", " ", "-", "(", ")", ".", ",", ";", "\\", "\"", ":",
                                             Cp("가"), Cp("힣"), Cp("김"), Cp("똠"), Cp("ㄱ"), Cp("漢"),
                                             "\xCB\xD0"};  // a compatibility Hanja, not to be composed
    const std::vector<std::string> mailPieces = {"a", "b", "9", ".", "_", "@", Cp("가"), Cp("나")};
    auto make = [&](const std::vector<std::string>& from, size_t limit) {
        std::string s;
        for (int k = std::uniform_int_distribution<int>(0, 9)(rng); k > 0; --k) {
            const std::string& p = from[rng() % from.size()];
            if (s.size() + p.size() <= limit) s += p;
        }
        return s;
    };
    for (int round = 0; round < 40; ++round) {
        MemoTable table{};
        int entries = static_cast<int>(rng() % (kMemoRows + 1));
        for (int row = 0; row < entries; ++row) {
            MemoInput in{make(pieces, 12), make(pieces, 12), make(mailPieces, 24)};
            if (in.name.empty() && in.tel.empty() && in.email.empty()) in.name = "x";
            bool dbcs = false;
            StoreMemoInput(table[row], in, dbcs);
        }
        MemoTable saved{};
        const std::string file = EncodeMemoFile(table, entries - 1);
        int read = DecodeMemoFile(file, saved);
        ASSERT_EQ(read, entries);
        Contacts out;
        std::string error;
        ASSERT_TRUE(ContactsFromMemo(saved, read, out, error)) << error;
        for (ContactFormat format : {ContactFormat::VCard, ContactFormat::Csv}) {
            Contacts back;
            ASSERT_TRUE(ReadContacts(WriteContacts(out, format), ContactFormat::Detect, back, error)) << error;
            FitResult fit = FitContacts(back, FitPolicy::Fail, kMemoRows);
            ASSERT_FALSE(fit.failed) << DescribeFitNote(fit.notes.front());
            MemoTable again{};
            int last = StoreFitted(again, 0, fit.rows);
            ASSERT_EQ(EncodeMemoFile(again, last), file) << "round " << round;
        }
    }
}

// Each kind of file real address books write: the rows stored and the report, exactly.
TEST(Contacts, FilesFromRealAddressBooks) {
    for (const AddressBookFile& file : AddressBookFiles()) {
        Contacts contacts;
        std::vector<std::string> report;
        std::string error;
        ASSERT_TRUE(ReadContacts(file.bytes, ContactFormat::Detect, contacts, error, {}, &report))
            << file.name << ": " << error;
        FitResult fit = FitContacts(contacts, file.policy, kMemoRows);
        for (const std::string& line : FitReportLines(fit)) report.push_back(line);
        EXPECT_EQ(report, file.report) << file.name;
        std::vector<std::vector<std::string>> rows;
        for (const MemoInput& in : fit.rows)
            rows.push_back({cp949::ToUtf8(in.name).text, cp949::ToUtf8(in.tel).text, cp949::ToUtf8(in.email).text});
        EXPECT_EQ(rows, file.rows) << file.name;
    }
}

// The exported card splits the name where it shows its parts and says which numbers are
// a cell phone's.
TEST(Contacts, VCardExportNameParts) {
    struct Case {
        const char *name, *tel, *n, *telLine;
    } cases[] = {
        {"John Smith", "010-1234-5678", "N:Smith;John;;;", "TEL;TYPE=CELL:010-1234-5678"},
        {"Anna Maria Rossi", "+82 10 5555 0000", "N:Rossi;Anna Maria;;;", "TEL;TYPE=CELL:+82 10 5555 0000"},
        {"김철수", "02-555-0100", "N:김;철수;;;", "TEL;TYPE=VOICE:02-555-0100"},
        {"山田 花子", "0120-1", "N:山田;花子;;;", "TEL;TYPE=VOICE:0120-1"},
        {"남궁민수씨", "", "N:남궁민수씨;;;;", nullptr},  // five syllables show no parts
        {"Kim, K;", "", "N:K\\;;Kim\\,;;;", nullptr},
    };
    for (const Case& c : cases) {
        const std::string card = WriteVCards({{c.name, c.tel, "", 1}});
        EXPECT_NE(card.find(std::string("\r\n") + c.n + "\r\n"), std::string::npos) << card;
        if (c.telLine) EXPECT_NE(card.find(std::string("\r\n") + c.telLine + "\r\n"), std::string::npos) << card;
        else EXPECT_EQ(card.find("TEL"), std::string::npos) << card;
    }
}
