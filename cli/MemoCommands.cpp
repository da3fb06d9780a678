// "memo export" and "memo import": the memo file to and from CSV or vCard, through the
// same entry rules as the editor's Input button.
#include <algorithm>
#include <string>

#include "app/FileTypes.h"
#include "cli/Io.h"
#include "memo/ContactFiles.h"
#include "memo/ContactFit.h"
#include "memo/MemoFile.h"
#include "platform/AtomicFile.h"
#include "platform/TextEncoding.h"

namespace cli {
namespace {

// Takes "--NAME VALUE" out of args; false (with error) when the value is missing or not
// one of choices. value keeps its default when the option is absent.
bool TakeChoice(Args& args, const std::string& name, const std::vector<std::string>& choices, std::string& value,
                std::string& error) {
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--") break;
        if (args[i] != name) continue;
        if (i + 1 >= args.size() || std::find(choices.begin(), choices.end(), args[i + 1]) == choices.end()) {
            std::string list;
            for (const std::string& c : choices) list += (list.empty() ? "" : "|") + c;
            error = name + " takes " + list;
            return false;
        }
        value = args[i + 1];
        args.erase(args.begin() + i, args.begin() + i + 2);
        return true;
    }
    return true;
}

// Takes "--NAME VALUE" out of args; false (with error) when the value is missing.
bool TakeValue(Args& args, const std::string& name, std::string& value, std::string& error) {
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--") break;
        if (args[i] != name) continue;
        if (i + 1 >= args.size() || args[i + 1].empty()) {
            error = name + " needs a value";
            return false;
        }
        value = args[i + 1];
        args.erase(args.begin() + i, args.begin() + i + 2);
        return true;
    }
    return true;
}

// Takes the flag "--NAME" out of args; true when it was there.
bool TakeFlag(Args& args, const std::string& name) {
    const auto end = std::find(args.begin(), args.end(), "--");
    auto it = std::find(args.begin(), end, name);
    if (it == end) return false;
    args.erase(it);
    return true;
}

int MemoExport(const Args& given) {
    Args args = given;
    std::string to, error;
    InOut io;
    const bool bom = TakeFlag(args, "--bom");
    if (!TakeChoice(args, "--to", {"csv", "vcard"}, to, error) || !ParseInOut(args, false, io, error))
        return Fail(2, "memo export: " + error);
    if (to.empty()) to = FileExtension(io.out) == "vcf" ? "vcard" : "csv";
    if (int refused = CheckPaths(io.in, io.out, to == "vcard" ? ContentKind::VCard : ContentKind::Csv))
        return refused;
    MemoTable table{};
    int entries = 0;
    if (!ReadMemoFile(io.in, table, entries)) return Fail(1, io.in + ": cannot be read");
    Contacts contacts;
    if (!ContactsFromMemo(table, entries, contacts, error)) return Fail(1, io.in + ": " + error);
    if (bom && to == "vcard") return Fail(2, "memo export: --bom is for CSV; a vCard is UTF-8 without one");
    return WriteOutput(io.out,
                       WriteContacts(contacts, to == "vcard" ? ContactFormat::VCard : ContactFormat::Csv, bom));
}

int MemoImport(const Args& given) {
    Args args = given;
    std::string from, fit = "trim", encoding, error;
    InOut io;
    if (!TakeChoice(args, "--from", {"csv", "vcard"}, from, error) ||
        !TakeChoice(args, "--fit", {"trim", "skip", "fail"}, fit, error) ||
        !TakeValue(args, "--encoding", encoding, error) || !ParseInOut(args, true, io, error))
        return Fail(2, "memo import: " + error);
    if (!encoding.empty() && !textenc::Known(encoding))
        return Fail(2, "memo import: --encoding: this system knows no encoding named " + encoding);
    if (int refused = CheckPaths(io.in, io.out, ContentKind::MemoFile)) return refused;
    ContactFormat format = from == "vcard" ? ContactFormat::VCard
                           : from == "csv" ? ContactFormat::Csv
                                           : ContactFormat::Detect;
    // One byte past the limit, for ReadContacts to refuse a larger file by its kind's limit.
    std::string bytes;
    if (!platform::ReadFileBytes(io.in, bytes, ContactFileLimit(format) + 1, &error)) return Fail(1, error);
    Contacts contacts;
    std::vector<std::string> notes;
    if (!ReadContacts(bytes, format, contacts, error, encoding, &notes)) return Fail(1, io.in + ": " + error);
    FitPolicy policy = fit == "skip" ? FitPolicy::Skip : fit == "fail" ? FitPolicy::Fail : FitPolicy::Trim;
    FitResult fitted = FitContacts(contacts, policy, kMemoRows);
    // Every contact that does not fit is reported; when the import fails, these lines
    // are the failure.
    for (const std::string& line : notes) Fail(0, io.in + ": " + line);
    for (const std::string& line : FitReportLines(fitted)) Fail(0, io.in + ": " + line);
    if (fitted.failed) {
        const std::string out = io.out.empty() ? "standard output" : io.out;
        return Fail(1, io.in + ": nothing imported, nothing written to " + out +
                           (policy == FitPolicy::Fail ? " (--fit fail)" : " (a field holds NUL)"));
    }
    MemoTable table{};
    int last = StoreFitted(table, 0, fitted.rows);
    return WriteOutput(io.out, EncodeMemoFile(table, last));
}

bool DescribeMemo(const FileToDescribe& file, std::string& block) {
    if (FileExtension(file.name) != "mmo") return false;
    MemoTable table{};
    int entries = 0;
    if (!ReadMemoFile(file.path, table, entries)) return false;
    block = "  memo file, " + std::to_string(entries) + " entries\n";
    return true;
}

const Registered exportCommand("memo export", MemoExport);
const Registered importCommand("memo import", MemoImport);
const Registered describer(10, DescribeMemo);

}  // namespace
}  // namespace cli
