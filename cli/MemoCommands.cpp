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

int MemoExport(const Args& given) {
    Args args = given;
    std::string to, error;
    InOut io;
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
    return WriteOutput(io.out, WriteContacts(contacts, to == "vcard" ? ContactFormat::VCard : ContactFormat::Csv));
}

int MemoImport(const Args& given) {
    Args args = given;
    std::string from, fit = "trim", error;
    InOut io;
    if (!TakeChoice(args, "--from", {"csv", "vcard"}, from, error) ||
        !TakeChoice(args, "--fit", {"trim", "skip", "fail"}, fit, error) || !ParseInOut(args, true, io, error))
        return Fail(2, "memo import: " + error);
    if (int refused = CheckPaths(io.in, io.out, ContentKind::MemoFile)) return refused;
    ContactFormat format = from == "vcard" ? ContactFormat::VCard
                           : from == "csv" ? ContactFormat::Csv
                                           : ContactFormat::Detect;
    // One byte past the limit, for ReadContacts to refuse a larger file by its kind's limit.
    std::string bytes;
    if (!platform::ReadFileBytes(io.in, bytes, ContactFileLimit(format) + 1, &error)) return Fail(1, error);
    Contacts contacts;
    if (!ReadContacts(bytes, format, contacts, error)) return Fail(1, io.in + ": " + error);
    FitPolicy policy = fit == "skip" ? FitPolicy::Skip : fit == "fail" ? FitPolicy::Fail : FitPolicy::Trim;
    FitResult fitted = FitContacts(contacts, policy, kMemoRows);
    // Every contact that does not fit is reported; when the import fails, these lines
    // are the failure.
    for (const std::string& line : FitReportLines(fitted)) Fail(0, io.in + ": " + line);
    if (fitted.failed) return 1;
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
