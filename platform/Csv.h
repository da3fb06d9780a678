#pragma once
// RFC 4180 CSV: quoted fields may hold separators, quotes and line breaks. UTF-8 text; a
// byte-order mark at the start is skipped. The separator is a comma, or a semicolon or
// tab where the spreadsheet's language or the program chose one.
#include <string>
#include <string_view>
#include <vector>

namespace csv {

struct CsvRow {
    int line = 0;  // line number where the row starts, from 1
    std::vector<std::string> fields;
};

// The separator the first row that is not blank uses most: ',', ';' or '\t' (',' for a tie).
char DetectSeparator(std::string_view text);

// Parses the text into its rows, leaving out blank lines (a row of one empty field, as
// spreadsheets leave at the end), with the separator DetectSeparator finds. A control
// character in a field (a line break in a quoted field, a tab) becomes a space; NUL is
// kept for the caller to refuse. False with error (naming the line) on a malformed
// quote or a row of more than kCsvMaxFields fields. With maxRows, stops once that many
// rows were read (an import needs no more to refuse).
inline constexpr size_t kCsvMaxFields = 1024;
bool ParseCsv(const std::string& text, std::vector<CsvRow>& rows, std::string& error, size_t maxRows = size_t(-1));

// True when the row names these columns, ignoring case and surrounding spaces.
bool IsHeader(const CsvRow& row, const std::vector<std::string>& columns);

// One row, comma separated, fields quoted where needed (a separator of any kind, a quote,
// a line break), ended by CRLF.
std::string CsvLine(const std::vector<std::string>& fields);

}  // namespace csv
