#include "cli/Io.h"

#include <cstdio>

#include "platform/AtomicFile.h"
#include "platform/Cp949.h"

namespace cli {

bool ParseInOut(const Args& args, bool outRequired, InOut& r, std::string& error) {
    std::vector<std::string> plain;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "-o") {
            if (i + 1 >= args.size()) {
                error = "-o needs a file name";
                return false;
            }
            r.out = args[++i];
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

bool ReadWholeFile(const std::string& path, std::string& bytes, std::string& error) {
    if (platform::ReadFileBytes(path, bytes)) return true;
    error = path + ": cannot be read";
    return false;
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
                  std::string& error) {
    std::string text;
    if (!ReadWholeFile(path, text, error)) return false;
    if (!ParseCsv(text, rows, error)) {
        error = path + ": " + error;
        return false;
    }
    DropBlankRows(rows);
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
    cp949::Conversion c = cp949::FromUtf8(utf8);
    if (!c.ok) {
        error = file + ": line " + std::to_string(line) + ", field " + field + ": " + c.error;
        return false;
    }
    bytes = std::move(c.text);
    return true;
}

}  // namespace cli
