#pragma once
// File plumbing shared by the commands: options, whole-file reads, atomic writes.
#include <string>

#include "cli/Csv.h"
#include "cli/Registry.h"

namespace cli {

// Splits "IN [-o OUT]" style arguments. False (with error) on an unknown option,
// a missing value or a wrong number of plain arguments.
struct InOut {
    std::string in;
    std::string out;  // empty: standard output
};
bool ParseInOut(const Args& args, bool outRequired, InOut& result, std::string& error);

// Reads a whole file; false with a message naming it.
bool ReadWholeFile(const std::string& path, std::string& bytes, std::string& error);

// Writes data to path through a temporary file, or to standard output when path is
// empty. Returns 0, or prints the failure and returns 1.
int WriteOutput(const std::string& path, const std::string& data);

// Reads a CSV file whose first row must name the columns (case and surrounding spaces
// aside); rows holds the data rows after it, blank lines left out. False with an error
// line naming the file.
bool ReadCsvTable(const std::string& path, const std::vector<std::string>& header, std::vector<CsvRow>& rows,
                  std::string& error);

// UTF-8 CSV text of one field to CP949 bytes; error names file, line and field.
bool CsvFieldToCp949(const std::string& file, int line, const char* field, const std::string& utf8,
                     std::string& bytes, std::string& error);

}  // namespace cli
