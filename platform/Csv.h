#pragma once
// RFC 4180 CSV: quoted fields may hold commas, quotes and line breaks. UTF-8 text; a
// byte-order mark at the start is skipped.
#include <string>
#include <vector>

namespace csv {

struct CsvRow {
    int line = 0;  // line number where the row starts, from 1
    std::vector<std::string> fields;
};

// Parses the whole text. False with error (naming the line) on a malformed quote.
bool ParseCsv(const std::string& text, std::vector<CsvRow>& rows, std::string& error);

// Removes rows that are a blank line (one empty field), as spreadsheets leave at the end.
void DropBlankRows(std::vector<CsvRow>& rows);

// True when the row names these columns, ignoring case and surrounding spaces.
bool IsHeader(const CsvRow& row, const std::vector<std::string>& columns);

// One row, fields quoted where needed, ended by CRLF.
std::string CsvLine(const std::vector<std::string>& fields);

}  // namespace csv
