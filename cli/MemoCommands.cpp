// "memo export" and "memo import": the memo file to and from CSV, through the same
// entry rules as the editor's Input button.
#include <string>

#include "app/FileTypes.h"
#include "cli/Csv.h"
#include "cli/Io.h"
#include "memo/MemoCommit.h"
#include "memo/MemoFile.h"
#include "memo/MemoRules.h"
#include "platform/Cp949.h"

namespace cli {
namespace {

const std::vector<std::string> kHeader = {"name", "tel", "email"};

int MemoExport(const Args& args) {
    InOut io;
    std::string error;
    if (!ParseInOut(args, false, io, error)) return Fail(2, "memo export: " + error);
    if (int refused = CheckPaths(io.in, io.out, "mmo")) return refused;
    MemoTable table{};
    int entries = 0;
    if (!ReadMemoFile(io.in, table, entries)) return Fail(1, io.in + ": cannot be read");
    std::string csv = CsvLine(kHeader);
    static const char* kNames[] = {"name", "tel", "email"};
    for (int row = 0; row < entries; ++row) {
        std::vector<std::string> fields;
        for (int f = 0; f < 3; ++f) {
            cp949::Conversion c = cp949::ToUtf8(MemoFieldText(table[row], static_cast<MemoField>(f)));
            if (!c.ok)
                return Fail(1, io.in + ": entry " + std::to_string(row + 1) + ", field " + kNames[f] + ": " + c.error);
            fields.push_back(c.text);
        }
        csv += CsvLine(fields);
    }
    return WriteOutput(io.out, csv);
}

// Checks one row and stores it in table[index]; false with the error line's text.
bool ImportRow(const std::string& file, const CsvRow& row, MemoEntry& entry, std::string& error) {
    std::string where = file + ": line " + std::to_string(row.line);
    if (row.fields.size() != 3) {
        error = where + ": expected 3 fields (name,tel,email), found " + std::to_string(row.fields.size());
        return false;
    }
    struct Field {
        const char* name;
        size_t limit;
        std::string bytes;
    } fields[3] = {{"name", kMemoFileNameBytes, {}}, {"tel", kMemoFileTelBytes, {}}, {"email", kMemoInputEmail, {}}};
    for (int f = 0; f < 3; ++f) {
        if (!CsvFieldToCp949(file, row.line, fields[f].name, row.fields[f], fields[f].bytes, error)) return false;
        if (fields[f].bytes.size() > fields[f].limit) {
            error = where + ", field " + fields[f].name + ": " + std::to_string(fields[f].bytes.size()) +
                    " bytes, at most " + std::to_string(fields[f].limit) + " bytes are allowed";
            return false;
        }
    }
    if (fields[0].bytes.empty() && fields[1].bytes.empty() && fields[2].bytes.empty()) {
        error = where + ": an entry needs at least one field";
        return false;
    }
    bool dbcs = false;
    // The limits are what a memo file holds, so that every file exports and imports
    // back; the storing steps are the Input button's.
    MemoCommit result = StoreMemoInput(entry, {fields[0].bytes, fields[1].bytes, fields[2].bytes}, dbcs);
    if (result == MemoCommit::EmailOver) {
        error = where + ", field email: longer than " + std::to_string(kMemoStoredEmail) +
                " bytes once split for the device (E-Mail String Over)";
        return false;
    }
    return true;
}

int MemoImport(const Args& args) {
    InOut io;
    std::string error;
    if (!ParseInOut(args, true, io, error)) return Fail(2, "memo import: " + error);
    if (int refused = CheckPaths(io.in, io.out, "csv")) return refused;
    std::vector<CsvRow> rows;
    if (!ReadCsvTable(io.in, kHeader, rows, error, kMemoRows)) return Fail(1, error);
    if (rows.size() > static_cast<size_t>(kMemoRows))
        return Fail(1, io.in + ": line " + std::to_string(rows[kMemoRows].line) + ": more than " +
                           std::to_string(kMemoRows) + " entries");
    MemoTable table{};
    for (size_t r = 0; r < rows.size(); ++r)
        if (!ImportRow(io.in, rows[r], table[r], error)) return Fail(1, error);
    int last = static_cast<int>(rows.size()) - 1;
    return WriteOutput(io.out, EncodeMemoFile(table, last));
}

bool DescribeMemo(const std::string& path, std::string& block) {
    if (FileExtension(path) != "mmo") return false;
    MemoTable table{};
    int entries = 0;
    if (!ReadMemoFile(path, table, entries)) return false;
    block = "  memo file, " + std::to_string(entries) + " entries\n";
    return true;
}

const Registered exportCommand("memo export", MemoExport);
const Registered importCommand("memo import", MemoImport);
const Registered describer(10, DescribeMemo);

}  // namespace
}  // namespace cli
