// "song export" and "song import": the song file to and from CSV, through the same
// entry rules as the song page's Input.
#include <memory>
#include <string>

#include "app/FileTypes.h"
#include "cli/Csv.h"
#include "cli/Io.h"
#include "platform/AtomicFile.h"
#include "platform/Cp949.h"
#include "song/SongFile.h"
#include "song/SongRules.h"

namespace cli {
namespace {

const std::vector<std::string> kHeader = {"brand", "title", "singer", "number"};

bool ReadSongs(const std::string& path, SongTables& tables, SongCounts& counts, size_t* size = nullptr) {
    std::string bytes;
    if (!platform::ReadFileBytes(path, bytes, kSongFileBytes + 1)) return false;
    if (size) *size = bytes.size();
    DecodeSongFile(std::string_view(bytes).substr(0, kSongFileBytes), tables, counts);
    return true;
}

int SongExport(const Args& args) {
    InOut io;
    std::string error;
    if (!ParseInOut(args, false, io, error)) return Fail(2, "song export: " + error);
    if (int refused = CheckPaths(io.in, io.out, ContentKind::Csv)) return refused;
    auto tables = std::make_unique<SongTables>();
    SongCounts counts{};
    if (!ReadSongs(io.in, *tables, counts)) return Fail(1, io.in + ": cannot be read");
    std::string csv = CsvLine(kHeader);
    for (int b = 0; b < kBrandCount; ++b) {
        const SongTable& t = (*tables)[b];
        for (int i = 0; i < counts[b]; ++i) {
            std::vector<std::string> fields = {BrandName(b)};
            const std::string* cells[3] = {&t.title[i], &t.singer[i], &t.number[i]};
            for (int f = 0; f < 3; ++f) {
                cp949::Conversion c = cp949::ToUtf8(*cells[f]);
                if (!c.ok)
                    return Fail(1, io.in + ": " + BrandName(b) + " entry " + std::to_string(i + 1) + ", field " +
                                       kHeader[f + 1] + ": " + c.error);
                fields.push_back(std::move(c.text));
            }
            csv += CsvLine(fields);
        }
    }
    return WriteOutput(io.out, csv);
}

// Why a song was refused: the field it concerns (or none) and the reason.
struct Refusal {
    const char* field;
    std::string reason;
};

Refusal Explain(SongCheck check, const SongFields& f) {
    auto bytes = [](const std::string& s, size_t limit) {
        return std::to_string(s.size()) + " bytes, at most " + std::to_string(limit) + " bytes are allowed";
    };
    switch (check) {
    case SongCheck::BrandFull:
        return {"brand", "more than " + std::to_string(kSongsPerBrand) + " songs for this brand"};
    case SongCheck::BadNumber:
        return {"number", "only digits and spaces are allowed"};
    case SongCheck::EmptyField:
        return {nullptr, "title, singer and number must all be given"};
    case SongCheck::TitleTooLong:
        return {"title", bytes(f.title, kSongTitleBytes)};
    case SongCheck::SingerTooLong:
        return {"singer", bytes(f.singer, kSongSingerBytes)};
    case SongCheck::Asterisk:
        return {nullptr, "'*' is not allowed in a song field"};
    case SongCheck::TooLong:
    case SongCheck::Ok:
        break;
    }
    return {"number", bytes(f.number, kSongNumberBytes)};
}

// Checks one row and appends it to its brand; false with the error line's text.
bool ImportRow(const std::string& file, const CsvRow& row, SongTables& tables, SongCounts& counts,
               std::string& error) {
    std::string where = file + ": line " + std::to_string(row.line);
    if (row.fields.size() != 4) {
        error = where + ": expected 4 fields (brand,title,singer,number), found " + std::to_string(row.fields.size());
        return false;
    }
    int brand = BrandFromName(row.fields[0]);
    if (brand < 0) {
        error = where + ", field brand: unknown brand '" + row.fields[0] + "' (Zandri, Pellix or Quorvel)";
        return false;
    }
    SongFields f;
    std::string* targets[3] = {&f.title, &f.singer, &f.number};
    for (int i = 0; i < 3; ++i) {
        if (!CsvFieldToCp949(file, row.line, kHeader[i + 1].c_str(), row.fields[i + 1], *targets[i], error))
            return false;
        // The song file marks its records with '*': a field holding one would not read back.
        if (targets[i]->find('*') != std::string::npos) {
            error = where + ", field " + kHeader[i + 1] + ": '*' is not allowed in a song field";
            return false;
        }
    }
    SongCheck check = CheckNewSong(f, counts[brand]);
    if (check != SongCheck::Ok) {
        Refusal why = Explain(check, f);
        std::string message = SongCheckMessage(check);
        error = where + (why.field ? std::string(", field ") + why.field + ": " : std::string(": ")) + why.reason +
                (message.empty() ? "" : " (" + message + ")");
        return false;
    }
    SongTable& t = tables[brand];
    int n = counts[brand]++;
    t.title[n] = std::move(f.title);
    t.singer[n] = std::move(f.singer);
    t.number[n] = std::move(f.number);
    return true;
}

int SongImport(const Args& args) {
    InOut io;
    std::string error;
    if (!ParseInOut(args, true, io, error)) return Fail(2, "song import: " + error);
    if (int refused = CheckPaths(io.in, io.out, ContentKind::SongFile)) return refused;
    std::vector<CsvRow> rows;
    if (!ReadCsvTable(io.in, kHeader, rows, error, size_t(kBrandCount) * kSongsPerBrand)) return Fail(1, error);
    auto tables = std::make_unique<SongTables>();
    SongCounts counts{};
    for (const CsvRow& row : rows)
        if (!ImportRow(io.in, row, *tables, counts, error)) return Fail(1, error);
    return WriteOutput(io.out, EncodeSongFile(*tables, counts));
}

bool DescribeSongs(const FileToDescribe& file, std::string& block) {
    if (FileExtension(file.name) != "kok") return false;
    auto tables = std::make_unique<SongTables>();
    SongCounts counts{};
    size_t size = 0;
    if (!ReadSongs(file.path, *tables, counts, &size)) return false;
    block = "  song file";
    if (size != kSongFileBytes) block += " (" + std::to_string(size) + (size > kSongFileBytes ? "+" : "") +
                                         " bytes; a song file has " + std::to_string(kSongFileBytes) + ")";
    block += "\n";
    for (int b = 0; b < kBrandCount; ++b)
        block += std::string("  ") + BrandName(b) + ": " + std::to_string(counts[b]) +
                 (counts[b] == 1 ? " song\n" : " songs\n");
    return true;
}

const Registered exportCommand("song export", SongExport);
const Registered importCommand("song import", SongImport);
const Registered describer(20, DescribeSongs);

}  // namespace
}  // namespace cli
