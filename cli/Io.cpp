#include "cli/Io.h"

#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

#include "app/FileTypes.h"

#include "platform/AtomicFile.h"
#include "platform/Cp949.h"
#include "platform/TextEncoding.h"

namespace cli {
namespace {

// The largest CSV file an import reads: far beyond any legitimate table, and a
// bound on what a hostile one can cost.
constexpr size_t kCsvFileLimit = 4u << 20;

// Reads a whole regular file of at most kCsvFileLimit bytes; false with a message naming it.
bool ReadWholeFile(const std::string& path, std::string& bytes, std::string& error) {
    // One byte past the limit tells a larger file from one of exactly the limit.
    if (!platform::ReadFileBytes(path, bytes, kCsvFileLimit + 1, &error)) return false;
    if (bytes.size() > kCsvFileLimit) {
        error = path + ": larger than the limit of " + std::to_string(kCsvFileLimit) + " bytes for this file";
        bytes.clear();
        return false;
    }
    return true;
}

}  // namespace

bool IsOptionAt(const Args& args, size_t i) {
    for (size_t k = 0; k < i && k < args.size(); ++k)
        if (args[k] == "--") return false;
    return i < args.size() && args[i].size() > 1 && args[i][0] == '-';
}

bool ParseInOut(const Args& args, bool outRequired, InOut& r, std::string& error) {
    std::vector<std::string> plain;
    for (size_t i = 0; i < args.size(); ++i) {
        if (!IsOptionAt(args, i)) {
            plain.push_back(args[i]);
        } else if (args[i] == "--") {
            continue;
        } else if (args[i] == "-o") {
            if (i + 1 >= args.size()) {
                error = "-o needs a file name";
                return false;
            }
            r.out = args[++i];
            if (r.out.empty()) {
                error = "-o needs a file name (- for standard output)";
                return false;
            }
            if (r.out == "-") r.out.clear();
        } else {
            error = "unknown option '" + args[i] + "'";
            return false;
        }
    }
    if (plain.size() != 1) {
        error = plain.empty() ? "an input file is needed" : "only one input file is taken";
        return false;
    }
    if (outRequired && r.out.empty()) {
        error = "an output file is needed (-o OUT)";
        return false;
    }
    r.in = plain[0];
    return true;
}

namespace {
CommonOptions g_common;
}  // namespace

const CommonOptions& Common() { return g_common; }

void TakeCommonOptions(Args& args) {
    g_common = CommonOptions{};
    for (size_t i = 0; i < args.size() && args[i] != "--";) {
        if (args[i] == "--force") {
            g_common.force = true;
            args.erase(args.begin() + long(i));
        } else {
            ++i;
        }
    }
}

int RefuseStdoutOnto(const std::string& path) {
    struct stat input {}, output {};
    if (::stat(path.c_str(), &input) != 0 || ::fstat(STDOUT_FILENO, &output) != 0) return 0;
    if (input.st_dev != output.st_dev || input.st_ino != output.st_ino) return 0;
    return Fail(1, path + ": standard output is this file; write to another file");
}

namespace {

// A name whose extension belongs to another kind than the one written (a ".mmo" for a
// song file). CSV and vCard share their names' freedom: either is text.
bool NameOfOtherKind(const std::string& out, ContentKind writes) {
    const ContentKind named = ContentKindForName(out);
    auto text = [](ContentKind k) { return k == ContentKind::Csv || k == ContentKind::VCard; };
    return named != ContentKind::Other && named != writes && !(text(named) && text(writes));
}

}  // namespace

int CheckPaths(const std::string& in, const std::string& out, ContentKind writes) {
    struct stat input {};
    if (::stat(in.c_str(), &input) != 0) return Fail(1, in + ": cannot be opened");
    if (!S_ISREG(input.st_mode)) return Fail(1, in + ": is not a file");
    if (out.empty()) return RefuseStdoutOnto(in);
    if (NameOfOtherKind(out, writes))
        return Fail(2, out + ": a ." + FileExtension(out) + " file is not what this command writes");
    struct stat output {};
    if (::stat(out.c_str(), &output) != 0) return 0;  // a new file (or a dangling link's target)
    if (output.st_dev == input.st_dev && output.st_ino == input.st_ino)
        return Fail(1, out + ": is the input file; write to another file");
    if (!S_ISREG(output.st_mode)) return Fail(1, out + ": is not a file; only regular files are replaced");
    const ContentKind there = OtherKindAt(out, writes);
    if (there != ContentKind::None && !Common().force)
        return Fail(1, out + ": is " + ContentKindName(there) + ", not " + ContentKindName(writes) +
                           "; give --force to replace it");
    return 0;
}

int WriteOutput(const std::string& path, const std::string& data) {
    if (path.empty()) {
        if (std::fwrite(data.data(), 1, data.size(), stdout) != data.size() || std::fflush(stdout) != 0)
            return Fail(1, "cannot write to standard output");
        return 0;
    }
    std::string error;
    if (!platform::WriteFileAtomically(path, data, &error)) return Fail(1, error);
    return 0;
}

bool ReadCsvTable(const std::string& path, const std::vector<std::string>& header, std::vector<CsvRow>& rows,
                  std::string& error, size_t maxRows) {
    std::string bytes;
    if (!ReadWholeFile(path, bytes, error)) return false;
    // UTF-8 or UTF-16 as the file says, else the legacy code page its bytes point to.
    textenc::Decoded text;
    if (!textenc::Decode(bytes, {}, text, error) ||
        !ParseCsv(text.utf8, rows, error, maxRows == size_t(-1) ? maxRows : maxRows + 2)) {
        error = path + ": " + error;
        return false;
    }
    if (rows.empty() || !IsHeader(rows[0], header)) {
        std::string names;
        for (const std::string& h : header) names += (names.empty() ? "" : ",") + h;
        error = path + ": line 1: the header must be " + names;
        return false;
    }
    rows.erase(rows.begin());
    return true;
}

bool CsvFieldToCp949(const std::string& file, int line, const char* field, const std::string& utf8,
                     std::string& bytes, std::string& error) {
    if (utf8.find('\0') != std::string::npos) {
        error = file + ": line " + std::to_string(line) + ", field " + field +
                ": the character NUL (0x00) is not allowed; the file would end the field there";
        return false;
    }
    cp949::Conversion c = cp949::FromUtf8(utf8);
    if (!c.ok) {
        error = file + ": line " + std::to_string(line) + ", field " + field + ": " + c.error;
        return false;
    }
    bytes = std::move(c.text);
    return true;
}

}  // namespace cli
