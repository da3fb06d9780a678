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

// Parses the text into its rows, leaving out blank lines (a row of one empty field, as
// spreadsheets leave at the end). False with error (naming the line) on a malformed
// quote or a row of more than kCsvMaxFields fields. With maxRows, stops once that many
// rows were read (an import needs no more to refuse).
inline constexpr size_t kCsvMaxFields = 1024;
bool ParseCsv(const std::string& text, std::vector<CsvRow>& rows, std::string& error, size_t maxRows = size_t(-1));

// True when the row names these columns, ignoring case and surrounding spaces.
bool IsHeader(const CsvRow& row, const std::vector<std::string>& columns);

// One row, fields quoted where needed, ended by CRLF.
std::string CsvLine(const std::vector<std::string>& fields);

}  // namespace csv
