#pragma once
// File plumbing shared by the commands: options, whole-file reads, atomic writes.
#include <string>

#include "app/FileContentKind.h"
#include "cli/Csv.h"
#include "cli/Registry.h"

namespace cli {

// Splits "IN [-o OUT]" style arguments ("-o -" is standard output; after "--" every
// word is a name). False (with error) on an unknown option, a missing value or a
// wrong number of plain arguments.
struct InOut {
    std::string in;
    std::string out;  // empty: standard output
};
bool ParseInOut(const Args& args, bool outRequired, InOut& result, std::string& error);

// Whether args[i] is an option: it starts with "-" (and is not "-" alone) and no
// "--" came before it. "--" itself ends the options.
bool IsOptionAt(const Args& args, size_t i);

// The options every writing command takes, set before the command runs.
struct CommonOptions {
    bool force = false;  // --force: replace an existing output of another kind
};
const CommonOptions& Common();
// Takes the common options out of a command's words (only before "--").
void TakeCommonOptions(Args& args);

// The checks every command makes before it reads or writes: the input is a regular
// file; the output (empty: standard output) is not the input itself — standard
// output is compared with the input by device and inode, so "> IN" and ">> IN" are
// refused too —, not a folder, device or FIFO, and its name is not one of another
// kind of file (".kok" for a memo file). An existing output holding another kind of
// file than `writes` (by its content) is refused unless --force is given. Returns 0,
// or prints the refusal and returns its exit code.
int CheckPaths(const std::string& in, const std::string& out, ContentKind writes);

// Refuses (printing why, returning 1) when standard output is the file at path.
int RefuseStdoutOnto(const std::string& path);

// Writes data to path through a temporary file, or to standard output when path is
// empty. Returns 0, or prints the failure and returns 1.
int WriteOutput(const std::string& path, const std::string& data);

// Reads a CSV file whose first row must name the columns (case and surrounding spaces
// aside); rows holds the data rows after it, blank lines left out, and stops after
// maxRows + 1 of them (the caller names the first one over its limit). False with an
// error line naming the file.
bool ReadCsvTable(const std::string& path, const std::vector<std::string>& header, std::vector<CsvRow>& rows,
                  std::string& error, size_t maxRows = size_t(-1));

// UTF-8 CSV text of one field to CP949 bytes; error names file, line and field.
// NUL is refused: the files end a field there. Every other character a file can keep
// is taken, so that an exported file imports back to the same file.
bool CsvFieldToCp949(const std::string& file, int line, const char* field, const std::string& utf8,
                     std::string& bytes, std::string& error);

}  // namespace cli
