// CSV parser over arbitrary text, and what it writes back parses to the same rows.
#include <cstdint>
#include <string>

#include "cli/Csv.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    std::vector<cli::CsvRow> rows;
    std::string error;
    if (!cli::ParseCsv(text, rows, error)) return 0;
    std::string written;
    for (const cli::CsvRow& r : rows) written += cli::CsvLine(r.fields);
    std::vector<cli::CsvRow> again;
    if (!cli::ParseCsv(written, again, error) || again.size() != rows.size()) __builtin_trap();
    for (size_t i = 0; i < rows.size(); ++i)
        if (again[i].fields != rows[i].fields) __builtin_trap();
    return 0;
}
