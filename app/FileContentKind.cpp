#include "app/FileContentKind.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <sys/stat.h>

#include "app/FileTypes.h"
#include "platform/AtomicFile.h"
#include "platform/Services.h"

namespace {

constexpr size_t kMemoFileBytes = 16384;  // 256 records of 64 bytes
constexpr size_t kMemoRecord = 64;
constexpr size_t kMemoEntryRecords = 250;
constexpr size_t kSongFileBytes = 19200;  // three sections of 100 records of 64 bytes
constexpr size_t kSongRecord = 64;

bool StartsWith(std::string_view s, std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; }

// Entry records, each with the zero bytes that end its two e-mail pieces (12 bytes of
// 16), then 0xFF filler records to the 256th; a list of all 250 entries has none.
bool IsMemoFile(std::string_view head, uint64_t size) {
    if ((size != kMemoFileBytes && size != kMemoEntryRecords * kMemoRecord) || head.size() < size) return false;
    const size_t records = size / kMemoRecord;
    size_t r = 0;
    for (; r < records && uint8_t(head[r * kMemoRecord]) != 0xFF; ++r) {
        const std::string_view record = head.substr(r * kMemoRecord, kMemoRecord), zeros("\0\0\0\0", 4);
        if (record.substr(44, 4) != zeros || record.substr(60, 4) != zeros) return false;
    }
    if (r > kMemoEntryRecords) return false;
    const std::string_view filler = head.substr(r * kMemoRecord, size - r * kMemoRecord);
    return std::all_of(filler.begin(), filler.end(), [](char c) { return uint8_t(c) == 0xFF; });
}

// Every record a bracketed song "[..." or "*" filler, no NUL anywhere.
bool IsSongFile(std::string_view head, uint64_t size) {
    if (size != kSongFileBytes || head.size() < kSongFileBytes) return false;
    if (head.substr(0, kSongFileBytes).find('\0') != std::string_view::npos) return false;
    for (size_t at = 0; at < kSongFileBytes; at += kSongRecord)
        if (head[at] != '[' && head[at] != '*') return false;
    return true;
}

bool IsPicture(std::string_view head) {
    return (StartsWith(head, "BM") && head.size() >= 26) || StartsWith(head, "GIF87a") || StartsWith(head, "GIF89a") ||
           StartsWith(head, "\xFF\xD8\xFF") || StartsWith(head, "\x89PNG\r\n\x1A\n");
}

// The text of the head as single bytes: a UTF-8 byte-order mark dropped, UTF-16 (by
// its mark) narrowed to the low byte of each unit, which keeps every ASCII letter.
std::string NarrowText(std::string_view head) {
    if (StartsWith(head, "\xEF\xBB\xBF")) return std::string(head.substr(3));
    const bool le = StartsWith(head, "\xFF\xFE"), be = StartsWith(head, "\xFE\xFF");
    if (!le && !be) return std::string(head);
    std::string narrow;
    for (size_t i = 2; i + 1 < head.size(); i += 2) narrow += le ? head[i] : head[i + 1];
    return narrow;
}

bool IsVCard(const std::string& text) {
    const size_t start = text.find_first_not_of(" \t\r\n");
    if (start == std::string::npos || text.size() - start < 11) return false;
    std::string word = text.substr(start, 11);
    std::transform(word.begin(), word.end(), word.begin(), [](char c) { return char(std::toupper(uint8_t(c))); });
    return word == "BEGIN:VCARD";
}

// Text (no control characters but tab and line ends) whose first line holds a
// separator: a one-column text is no table anyone would miss as one.
bool IsCsv(const std::string& text) {
    for (char c : text)
        if (uint8_t(c) < 0x20 && c != '\t' && c != '\r' && c != '\n') return false;
    const std::string first = text.substr(0, text.find_first_of("\r\n"));
    return first.find_first_of(",;\t") != std::string::npos;
}

}  // namespace

ContentKind ContentKindOf(std::string_view head, uint64_t fileSize) {
    if (IsMemoFile(head, fileSize)) return ContentKind::MemoFile;
    if (IsSongFile(head, fileSize)) return ContentKind::SongFile;
    if (IsPicture(head)) return ContentKind::Picture;
    // A text's kind is told from its first part; a cut-off last character is no matter.
    const std::string text = NarrowText(head.substr(0, 4096));
    if (IsVCard(text)) return ContentKind::VCard;
    if (IsCsv(text)) return ContentKind::Csv;
    return ContentKind::Other;
}

ContentKind ContentKindOfFile(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return errno == ENOENT ? ContentKind::None : ContentKind::Other;
    std::FILE* f = platform::OpenRegularFile(path);
    if (f == nullptr) return ContentKind::Other;
    std::string head(kContentKindHeadBytes, '\0');
    head.resize(std::fread(head.data(), 1, head.size(), f));
    uint64_t size = head.size();
    if (std::fseek(f, 0, SEEK_END) == 0) size = uint64_t(std::max(0L, std::ftell(f)));
    std::fclose(f);
    return ContentKindOf(head, size);
}

const char* ContentKindName(ContentKind kind) {
    switch (kind) {
    case ContentKind::MemoFile: return "a memo file";
    case ContentKind::SongFile: return "a song file";
    case ContentKind::Picture: return "a picture";
    case ContentKind::Csv: return "a CSV file";
    case ContentKind::VCard: return "a vCard file";
    case ContentKind::None:
    case ContentKind::Other: break;
    }
    return "";
}

ContentKind OtherKindAt(const std::string& path, ContentKind writes) {
    const ContentKind there = ContentKindOfFile(path);
    if (there == ContentKind::None || there == ContentKind::Other || there == writes) return ContentKind::None;
    return there;
}

bool MayReplaceWith(const std::string& path, ContentKind writes) {
    if (writes == ContentKind::None || writes == ContentKind::Other) return true;
    const ContentKind there = OtherKindAt(path, writes);
    if (there == ContentKind::None) return true;
    const std::string name = path.substr(path.rfind('/') + 1);
    const std::string text = "\"" + name + "\" is " + ContentKindName(there) + ".\nReplace it with " +
                             ContentKindName(writes) + "?";
    return platform::services().prompts->Show(text, platform::Buttons::YesNoCancel) == platform::Answer::Yes;
}

ContentKind ContentKindForName(const std::string& path) {
    const FileKind kind = ClassifyFile(path);
    if (kind.page == 1) return ContentKind::Picture;
    if (kind.type == kMemoFileType) return ContentKind::MemoFile;
    if (FileExtension(path) == "kok") return ContentKind::SongFile;
    if (FileExtension(path) == "csv") return ContentKind::Csv;
    if (FileExtension(path) == "vcf") return ContentKind::VCard;
    return ContentKind::Other;
}
