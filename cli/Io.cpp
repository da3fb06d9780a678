#include "cli/Io.h"

#include <cstdio>
#include <sys/stat.h>

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

bool ParseInOut(const Args& args, bool outRequired, InOut& r, std::string& error) {
    std::vector<std::string> plain;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "-o") {
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
        } else if (args[i].size() > 1 && args[i][0] == '-') {
            error = "unknown option '" + args[i] + "'";
            return false;
        } else {
            plain.push_back(args[i]);
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

int CheckPaths(const std::string& in, const std::string& out, std::initializer_list<const char*> refusedExtensions) {
    struct stat input {};
    if (::stat(in.c_str(), &input) != 0) return Fail(1, in + ": cannot be opened");
    if (!S_ISREG(input.st_mode)) return Fail(1, in + ": is not a file");
    if (out.empty()) return 0;
    for (const char* refused : refusedExtensions)
        if (FileExtension(out) == refused)
            return Fail(2, out + ": a ." + refused + " file is not what this command writes");
    struct stat output {};
    if (::stat(out.c_str(), &output) != 0) return 0;  // a new file (or a dangling link's target)
    if (output.st_dev == input.st_dev && output.st_ino == input.st_ino)
        return Fail(1, out + ": is the input file; write to another file");
    if (!S_ISREG(output.st_mode)) return Fail(1, out + ": is not a file; only regular files are replaced");
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
