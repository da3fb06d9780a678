#include "memo/MemoFile.h"

#include <cstring>

#include "platform/AtomicFile.h"

namespace {

constexpr size_t kPiece = 12;  // e-mail bytes per 16-byte piece
constexpr size_t kField = 16;

void PutField(std::string& out, std::string_view text) {
    std::string field(kField, '\0');
    field.replace(0, std::min(text.size(), kField), text.substr(0, kField));
    out += field;
}

// Bytes of the field at offset, up to its first zero and at most max; bytes past the
// end of the data read as zero.
std::string_view TakeField(const std::string& data, size_t offset, size_t max) {
    if (offset >= data.size()) return {};
    size_t avail = std::min(max, data.size() - offset);
    const char* p = data.data() + offset;
    return std::string_view(p, strnlen(p, avail));
}

}  // namespace

std::string EncodeMemoFile(const MemoTable& table, int last) {
    std::string out;
    size_t written = 0;
    for (int i = 0; last >= 0 && i < kMemoRows; ++i) {
        const MemoEntry& row = table[i];
        if (IsMemoRowEmpty(row)) break;
        std::string_view email = MemoFieldText(row, MemoField::Email);
        PutField(out, MemoFieldText(row, MemoField::Name));
        PutField(out, MemoFieldText(row, MemoField::Tel));
        PutField(out, email.substr(0, kPiece));
        PutField(out, email.size() > kPiece ? email.substr(kPiece, kPiece) : std::string_view{});
        ++written;
        if (i + 1 > last) break;
    }
    if (written < static_cast<size_t>(kMemoRows)) out.append((kMemoFileRecords - written) * kMemoRecordBytes, '\xFF');
    return out;
}

int DecodeMemoFile(const std::string& bytes, MemoTable& table) {
    ClearMemoTable(table);
    int n = 0;
    for (; n < kMemoRows; ++n) {
        size_t at = n * kMemoRecordBytes;
        if (at >= bytes.size() || static_cast<unsigned char>(bytes[at]) == 0xFF) break;
        MemoEntry& row = table[n];
        SetMemoField(row, MemoField::Name, TakeField(bytes, at, kField));
        SetMemoField(row, MemoField::Tel, TakeField(bytes, at + 16, kField));
        std::string email(TakeField(bytes, at + 32, kPiece));
        email += TakeField(bytes, at + 48, kPiece);
        SetMemoField(row, MemoField::Email, email);
    }
    return n;
}

bool WriteMemoFile(const std::string& path, const MemoTable& table, int last, std::string* error) {
    return platform::WriteFileAtomically(path, EncodeMemoFile(table, last), error);
}

bool ReadMemoFile(const std::string& path, MemoTable& table, int& entries, std::string* why) {
    std::string bytes;
    if (!platform::ReadFileBytes(path, bytes, kMemoRows * kMemoRecordBytes, why)) return false;
    entries = DecodeMemoFile(bytes, table);
    return true;
}
