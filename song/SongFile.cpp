#include "song/SongFile.h"

#include <algorithm>

#include "platform/AtomicFile.h"
#include "platform/Cp949.h"

namespace {

constexpr size_t kWidths[3] = {30, 22, 6};  // title, singer, number: the record order

void PutField(std::string& out, std::string_view text, size_t width) {
    std::string_view fit = text.substr(0, cp949::WholeCharacterPrefix(text, width));
    out += '[';
    out += fit;
    out.append(width - fit.size(), '*');
    out += ']';
}

// Walks the bytes of one section the way the brackets lead.
class SectionReader {
public:
    SectionReader(std::string_view bytes, size_t begin, size_t end)
        : data_(bytes), p_(begin), end_(std::min(end, bytes.size())) {}

    bool AtEnd() const { return p_ >= end_; }
    bool AtOpenBracket() const { return p_ < end_ && data_[p_] == '['; }

    // Steps past the opening byte, then gathers bytes up to the one followed by "]";
    // "*" is filler and is dropped. False when the section ends first.
    bool ReadField(std::string& target) {
        target.clear();
        ++p_;
        while (p_ < end_) {
            char c = data_[p_];
            if (c != '*') target += c;
            if (p_ + 1 < end_ && data_[p_ + 1] == ']') {
                p_ += 2;
                return true;
            }
            ++p_;
        }
        return false;
    }

private:
    std::string_view data_;
    size_t p_;
    size_t end_;
};

void DecodeSection(SectionReader in, SongTable& table, int& count) {
    count = 0;
    while (count < kSongsPerBrand && in.AtOpenBracket()) {
        std::string title, singer, number;
        // Each of the three fields opens with "["; any other byte ends the section.
        if (!in.ReadField(title) || !in.AtOpenBracket() || !in.ReadField(singer) || !in.AtOpenBracket() ||
            !in.ReadField(number))
            return;
        table.title[count] = std::move(title);
        table.singer[count] = std::move(singer);
        table.number[count] = std::move(number);
        ++count;
    }
}

}  // namespace

std::string EncodeSongFile(const SongTables& tables, const SongCounts& counts) {
    std::string out;
    out.reserve(kSongFileBytes);
    for (int b = 0; b < kBrandCount; ++b) {
        size_t sectionStart = out.size();
        int n = std::clamp(counts[b], 0, kSongsPerBrand);
        for (int i = 0; i < n; ++i) {
            PutField(out, tables[b].title[i], kWidths[0]);
            PutField(out, tables[b].singer[i], kWidths[1]);
            PutField(out, tables[b].number[i], kWidths[2]);
        }
        out.append(sectionStart + kSongSectionBytes - out.size(), '*');
    }
    return out;
}

void DecodeSongFile(std::string_view bytes, SongTables& tables, SongCounts& counts) {
    for (int b = 0; b < kBrandCount; ++b) {
        size_t begin = b * kSongSectionBytes;
        DecodeSection(SectionReader(bytes, begin, begin + kSongSectionBytes), tables[b], counts[b]);
    }
}

bool WriteSongFileTo(const std::string& path, const SongTables& tables, const SongCounts& counts,
                     std::string* error) {
    return platform::WriteFileAtomically(path, EncodeSongFile(tables, counts), error);
}

bool ReadSongFileFrom(const std::string& path, SongTables& tables, SongCounts& counts, std::string* why) {
    std::string bytes;
    if (!platform::ReadFileBytes(path, bytes, kSongFileBytes, why)) return false;
    DecodeSongFile(bytes, tables, counts);
    return true;
}
