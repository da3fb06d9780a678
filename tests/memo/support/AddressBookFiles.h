#pragma once
// Small contact files shaped like the exports people have, one per kind of trouble real
// address books gave: the rows each must give and the report lines, exactly, of an
// import into an empty list. Shared by the core test and the window's import dialog test.
#include <string>
#include <vector>

#include "memo/ContactFit.h"

struct AddressBookFile {
    const char* name;  // its extension says vCard or CSV
    std::string bytes;
    FitPolicy policy;
    std::vector<std::vector<std::string>> rows;  // name, tel, email as UTF-8
    std::vector<std::string> report;             // the file's notes, then the contacts'
};

inline std::vector<AddressBookFile> AddressBookFiles() {
    const std::string partsCsv =
        "First Name,Last Name,Company,Nickname,Mobile Phone,E-mail Address\r\n"
        "Иван,Петров,,,010-1,\r\nJürgen,Müller,,,,\r\nJosé,Núñez,,,,\r\n,,ACME Corp.,,02-555-0199,\r\n"
        ",,,Bobby,,bob@example.com\r\n";
    const std::vector<std::string> standIns = {"line 5: no name; the organisation stands in (contact: ACME Corp.)",
                                               "line 6: no name; the nickname stands in (contact: Bobby)"};
    std::string utf16;  // tab separated, a line break in a quoted field, no byte-order mark
    for (char c : std::string("name\ttel\temail\r\n\"Kim\r\nLee\"\t010\tk@x\r\n")) utf16 += {c, '\0'};
    const std::string nfd = "\xE1\x84\x92\xE1\x85\xA9\xE1\x86\xBC\xE1\x84\x80\xE1\x85\xB5\xE1\x86\xAF\xE1\x84\x83"
                            "\xE1\x85\xA9\xE1\x86\xBC";  // 홍길동 as macOS writes it
    return {
        {"excel-korean.csv",
         "name,tel,email\r\n\xC8\xAB\xB1\xE6\xB5\xBF,010-1234-5678,hong@example.com\r\n\xB1\xE8\xC3\xB6\xBC\xF6,"
         "02-555-0100,\r\n",
         FitPolicy::Trim,
         {{"홍길동", "010-1234-5678", "hong@example.com"}, {"김철수", "02-555-0100", ""}},
         {"the file is not UTF-8; read as CP949 (Korean)"}},
        {"outlook-japanese.csv",
         "\x90\xA9,\x96\xBC,\x8Cg\x91\xD1\x93" "d\x98" "b,\x93" "d\x8Eq\x83\x81\x81[\x83\x8B \x83" "A\x83h\x83\x8C\x83X"
         "\r\n\x8ER\x93" "c,\x89\xD4\x8Eq,090-1234-5678,hanako@example.jp\r\n",
         FitPolicy::Trim,
         {{"山田花子", "090-1234-5678", "hanako@example.jp"}},
         {"the file is not UTF-8; read as Shift_JIS (Japanese)"}},
        {"outlook-parts.csv", partsCsv, FitPolicy::Trim,
         {{"Иван Пет", "010-1", ""}, {"Jurgen Muller", "", ""}, {"Jose Nunez", "", ""},
          {"ACME Corp.", "02-555-0199", ""}, {"Bobby", "", "bob@example.com"}},
         {"line 2, field name: 21 bytes, at most 15 bytes fit; cut to 15 bytes (contact: Иван Петров)",
          "line 3, field name: folded \"ü\" to \"u\" (contact: Jürgen Müller)",
          "line 4, field name: folded \"é\" to \"e\", \"ú\" to \"u\", \"ñ\" to \"n\" (contact: José Núñez)",
          standIns[0], standIns[1]}},
        {"outlook-parts-skip.csv", partsCsv, FitPolicy::Skip,
         {{"ACME Corp.", "02-555-0199", ""}, {"Bobby", "", "bob@example.com"}},
         {"line 2, field name: 21 bytes, at most 15 bytes fit; contact skipped (contact: Иван Петров)",
          "line 3, field name: the character \"ü\" cannot be stored in CP949; contact skipped (contact: Jürgen Müller)",
          "line 4, field name: the characters \"é\", \"ú\", \"ñ\" cannot be stored in CP949; contact skipped "
          "(contact: José Núñez)",
          standIns[0], standIns[1]}},
        {"google-long.csv",
         "First Name,Last Name,E-mail 1 - Label,E-mail 1 - Value,Phone 1 - Label,Phone 1 - Value,Phone 2 - Label,"
         "Phone 2 - Value\r\n"
         "Abirshan,Tharumalingam,* Home,abirshan.tharumalingam@hotmail.com,Work,02-555-0100,Mobile,"
         "+82 10-8008-0000\r\n"
         "Long,Number,,,Mobile,+82 (10) 1234-5678 ext. 99,,\r\n",
         FitPolicy::Trim,
         {{"Abirshan Tharum", "+821080080000", ""}, {"Long Number", "", ""}},
         {"line 2, field name: 22 bytes, at most 15 bytes fit; cut to 15 bytes (contact: Abirshan Tharumalingam)",
          "line 2, field tel: 16 bytes, at most 15 bytes fit; spaces, dashes, dots and brackets removed: "
          "+821080080000 (contact: Abirshan Tharumalingam)",
          "line 2, field email: 34 bytes, at most 24 bytes fit; e-mail left out (contact: Abirshan Tharumalingam)",
          "line 3, field tel: 26 bytes, at most 15 bytes fit, 18 bytes without spaces, dashes, dots and brackets; "
          "number left out (contact: Long Number)"}},
        {"android-nested.vcf",
         "BEGIN:VCARD\r\nVERSION:2.1\r\nN:Outer;Anna;;;\r\nBEGIN:VCARD\r\nVERSION:2.1\r\nN:Inner;Ben;;;\r\nTEL:1\r\n"
         "END:VCARD\r\nTEL:2\r\nEND:VCARD\r\n"
         "BEGIN:VCARD\r\nVERSION:3.0\r\n"
         "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Cleo\r\nEMAIL:c@x\r\nEND:VCARD\r\n"
         "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Dan\r\nTEL:4\r\n",
         FitPolicy::Trim,
         {{"Anna Outer", "2", ""}, {"Ben Inner", "1", ""}, {"Cleo", "", "c@x"}, {"Dan", "4", ""}},
         {"line 11: the card has no END:VCARD; closed at line 13, no name, tel or email; left out",
          "line 18: the card has no END:VCARD; closed at line 21 (contact: Dan)"}},
        {"mac-nfd.vcf",
         "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:" + nfd +
             "\r\nTEL;TYPE=CELL:010-1\r\nTEL;TYPE=HOME;TYPE=pref:02-2\r\nTEL;TYPE=CELL:010-3\r\nEND:VCARD\r\n"
             "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Kim\r\nTEL;TYPE=HOME:02-5\r\nTEL;TYPE=CELL:010-6\r\nEND:VCARD\r\n",
         FitPolicy::Trim,
         {{"홍길동", "02-2", ""}, {"Kim", "010-6", ""}},
         {}},
        {"thunderbird-german.csv",
         "Vorname;Nachname;Anzeigename;Spitzname;Primäre E-Mail-Adresse;Sekundäre E-Mail-Adresse;Tel. dienstlich;"
         "Tel. privat;Fax-Nummer;Pager-Nummer;Mobil-Tel.-Nr.\r\n"
         "Hans;Schmidt;;;hans@example.de;;030-1;030-2;;;0171-3\r\nEva;Weiß;Eva W.;;;eva@example.de;;;;;\r\n",
         FitPolicy::Trim,
         {{"Hans Schmidt", "0171-3", "hans@example.de"}, {"Eva W.", "", "eva@example.de"}},
         {}},
        {"outlook-1252.vcf",
         "BEGIN:VCARD\r\nVERSION:2.1\r\nN:R\xF6\xDFler;Gr\xE9ta\r\nTEL;WORK:+49 (30) 1234-5678\r\nEND:VCARD\r\n",
         FitPolicy::Trim,
         {{"Greta Roßler", "+493012345678", ""}},
         {"values without a CHARSET are not UTF-8; read as Windows-1252 (Western European)",
          "line 1, field name: folded \"é\" to \"e\", \"ö\" to \"o\" (contact: Gréta Rößler)",
          "line 1, field tel: 18 bytes, at most 15 bytes fit; spaces, dashes, dots and brackets removed: "
          "+493012345678 (contact: Gréta Rößler)"}},
        {"utf16-tabs.csv", utf16, FitPolicy::Trim, {{"Kim Lee", "010", "k@x"}}, {}},
    };
}
