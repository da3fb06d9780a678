#include "platform/Csv.h"

#include <algorithm>
#include <cctype>

namespace csv {
namespace {

// A control character in a field becomes a space: a device field is one line. NUL is
// kept for the callers, which refuse it with their own message.
char FieldChar(char c) { return (c > 0 && c < 0x20) || c == 0x7F ? ' ' : c; }

}  // namespace

char DetectSeparator(std::string_view text) {
    size_t count[3] = {};
    const char kSeparators[3] = {',', ';', '\t'};
    bool quoted = false;
    for (char c : text) {
        if (c == '"') quoted = !quoted;
        if (quoted) continue;
        if (c == '\n' || c == '\r') {
            if (count[0] + count[1] + count[2] > 0) break;  // the first row that is not blank
            continue;
        }
        for (int k = 0; k < 3; ++k) count[k] += c == kSeparators[k];
    }
    int best = 0;
    for (int k = 1; k < 3; ++k)
        if (count[k] > count[best]) best = k;
    return kSeparators[best];
}

bool ParseCsv(const std::string& input, std::vector<CsvRow>& rows, std::string& error, size_t maxRows) {
    rows.clear();
    std::string_view text(input);
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    const char sep = DetectSeparator(text);
    int line = 1;
    size_t i = 0;
    while (i < text.size()) {
        CsvRow row;
        row.line = line;
        std::string field;
        bool rowDone = false;
        while (!rowDone) {
            field.clear();
            if (i < text.size() && text[i] == '"') {
                int quoteLine = line;
                ++i;
                for (;;) {
                    if (i >= text.size()) {
                        error = "line " + std::to_string(quoteLine) + ": a quoted field is not closed";
                        return false;
                    }
                    char c = text[i++];
                    if (c == '"') {
                        if (i < text.size() && text[i] == '"') {
                            field += '"';
                            ++i;
                            continue;
                        }
                        break;
                    }
                    if (c == '\n') ++line;
                    // A line break inside the field is one space, CRLF too.
                    if (c == '\r' && i < text.size() && text[i] == '\n') continue;
                    field += FieldChar(c);
                }
                if (i < text.size() && text[i] != sep && text[i] != '\n' && text[i] != '\r') {
                    error = "line " + std::to_string(line) + ": text after a closing quote";
                    return false;
                }
            } else {
                while (i < text.size() && text[i] != sep && text[i] != '\n' && text[i] != '\r') {
                    if (text[i] == '"') {
                        error = "line " + std::to_string(line) + ": a quote inside an unquoted field";
                        return false;
                    }
                    field += FieldChar(text[i++]);
                }
            }
            row.fields.push_back(field);
            if (row.fields.size() > kCsvMaxFields) {
                error = "line " + std::to_string(row.line) + ": more than " + std::to_string(kCsvMaxFields) + " fields";
                return false;
            }
            if (i >= text.size()) {
                rowDone = true;
            } else if (text[i] == sep) {
                ++i;
            } else {
                if (text[i] == '\r') ++i;
                if (i < text.size() && text[i] == '\n') ++i;
                ++line;
                rowDone = true;
            }
        }
        if (row.fields.size() == 1 && row.fields[0].empty()) continue;  // a blank line
        rows.push_back(std::move(row));
        if (rows.size() >= maxRows) break;
    }
    return true;
}

bool IsHeader(const CsvRow& row, const std::vector<std::string>& columns) {
    if (row.fields.size() != columns.size()) return false;
    for (size_t i = 0; i < columns.size(); ++i) {
        std::string f = row.fields[i];
        f.erase(0, f.find_first_not_of(" \t"));
        f.erase(f.find_last_not_of(" \t") + 1);
        std::transform(f.begin(), f.end(), f.begin(), [](unsigned char c) { return std::tolower(c); });
        if (f != columns[i]) return false;
    }
    return true;
}

std::string CsvLine(const std::vector<std::string>& fields) {
    std::string out;
    for (size_t k = 0; k < fields.size(); ++k) {
        if (k) out += ',';
        const std::string& f = fields[k];
        // A leading byte-order mark is quoted too, or a reader would take it for the file's;
        // so are semicolons and tabs, or a reader could take one for the separator.
        if (f.find_first_of(",;\t\"\r\n") == std::string::npos && f.rfind("\xEF\xBB\xBF", 0) != 0) {
            out += f;
            continue;
        }
        out += '"';
        for (char c : f) {
            if (c == '"') out += '"';
            out += c;
        }
        out += '"';
    }
    return out + "\r\n";
}

}  // namespace csv
