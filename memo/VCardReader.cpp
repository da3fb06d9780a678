// Reading vCards. Lines are unfolded (a line starting with a space or tab continues
// the one before; in a QUOTED-PRINTABLE value a line ending in "=" continues on the
// next line whatever it starts with), split into name, parameters and value, and the
// value is decoded (quoted-printable or base64, then its CHARSET) into UTF-8.
#include <algorithm>
#include <charconv>

#include "memo/VCard.h"
#include "platform/Cp949.h"
#include "platform/TextEncoding.h"

namespace {

// Names and parameters are ASCII; the locale has no say in their case.
char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool SameText(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return AsciiUpper(x) == AsciiUpper(y); });
}

bool StartsWithText(std::string_view s, std::string_view prefix) {
    return s.size() >= prefix.size() && SameText(s.substr(0, prefix.size()), prefix);
}

std::string Upper(std::string_view s) {
    std::string u(s);
    for (char& c : u) c = AsciiUpper(c);
    return u;
}

// Position of the first c outside double quotes, or npos.
size_t FindUnquoted(std::string_view s, char c, size_t from = 0) {
    bool quoted = false;
    for (size_t i = from; i < s.size(); ++i) {
        if (s[i] == '"') quoted = !quoted;
        else if (s[i] == c && !quoted) return i;
    }
    return std::string_view::npos;
}

struct Param {
    std::string name;  // upper case; a bare 2.1 parameter ("CELL", "PREF") is a TYPE
    std::string value;
};

struct Property {
    std::string name;  // upper case, without its group
    std::vector<Param> params;
    std::string_view value;

    // Every value of the parameter, a comma list split up ("TYPE=WORK,pref").
    bool Has(std::string_view param, std::string_view value) const {
        for (const Param& p : params) {
            if (p.name != param) continue;
            std::string_view list = p.value;
            for (size_t start = 0; start <= list.size();) {
                size_t comma = list.find(',', start);
                if (comma == std::string_view::npos) comma = list.size();
                if (SameText(list.substr(start, comma - start), value)) return true;
                start = comma + 1;
            }
        }
        return false;
    }
    const std::string* Get(std::string_view param) const {
        for (const Param& p : params)
            if (p.name == param) return &p.value;
        return nullptr;
    }
    bool QuotedPrintable() const { return Has("ENCODING", "QUOTED-PRINTABLE") || Has("TYPE", "QUOTED-PRINTABLE"); }
    bool Base64() const { return Has("ENCODING", "B") || Has("ENCODING", "BASE64") || Has("TYPE", "BASE64"); }
};

// Splits "group.NAME;P=V;BARE:value"; false for a line without a colon.
bool ParseLine(std::string_view line, Property& prop) {
    size_t colon = FindUnquoted(line, ':');
    if (colon == std::string_view::npos) return false;
    std::string_view head = line.substr(0, colon);
    prop.value = line.substr(colon + 1);
    prop.params.clear();
    size_t semi = FindUnquoted(head, ';');
    std::string_view name = head.substr(0, semi);
    if (size_t dot = name.rfind('.'); dot != std::string_view::npos) name.remove_prefix(dot + 1);
    prop.name = Upper(name);
    while (semi != std::string_view::npos) {
        size_t next = FindUnquoted(head, ';', semi + 1);
        std::string_view p = head.substr(semi + 1, next == std::string_view::npos ? next : next - semi - 1);
        semi = next;
        size_t eq = p.find('=');
        Param param;
        if (eq == std::string_view::npos) {
            param = {"TYPE", std::string(p)};
        } else {
            param.name = Upper(p.substr(0, eq));
            for (char c : p.substr(eq + 1))
                if (c != '"') param.value += c;
        }
        prop.params.push_back(std::move(param));
    }
    return true;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    c = AsciiUpper(c);
    return c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
}

std::string DecodeQuotedPrintable(std::string_view s) {
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        int hi = s[i] == '=' && i + 2 < s.size() ? HexDigit(s[i + 1]) : -1;
        int lo = hi >= 0 ? HexDigit(s[i + 2]) : -1;
        if (hi >= 0 && lo >= 0) {
            out += static_cast<char>(hi * 16 + lo);
            i += 2;
        } else {
            out += s[i];
        }
    }
    return out;
}

std::string DecodeBase64(std::string_view s) {
    std::string out;
    unsigned bits = 0;
    int count = 0;
    for (char c : s) {
        int v = c >= 'A' && c <= 'Z' ? c - 'A' : c >= 'a' && c <= 'z' ? c - 'a' + 26 : c >= '0' && c <= '9' ? c - '0' + 52
                : c == '+' ? 62 : c == '/' ? 63 : -1;
        if (v < 0) continue;
        bits = (bits << 6) | static_cast<unsigned>(v);
        if ((count += 6) >= 8) {
            count -= 8;
            out += static_cast<char>((bits >> count) & 0xFF);
        }
    }
    return out;
}

// Undoes the text escapes: "\\", "\,", "\;", and "\n" (a line break, which a one-line
// field shows as a space).
std::string Unescape(std::string_view s) {
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] != '\\' || i + 1 == s.size()) {
            out += s[i];
            continue;
        }
        char c = s[++i];
        if (c == 'n' || c == 'N') out += ' ';
        else if (c == '\\' || c == ',' || c == ';' || c == ':') out += c;
        else out += '\\', out += c;
    }
    return out;
}

// Position of the first c that no backslash escapes, or the text's size.
size_t FindUnescaped(std::string_view s, char c) {
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\\') ++i;
        else if (s[i] == c) return i;
    }
    return s.size();
}

// The parts of a structured value, split at semicolons that are not escaped.
std::vector<std::string> SplitParts(std::string_view s) {
    std::vector<std::string> parts(1);
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 1 < s.size()) {
            parts.back() += s[i];
            parts.back() += s[++i];
        } else if (s[i] == ';') {
            parts.emplace_back();
        } else {
            parts.back() += s[i];
        }
    }
    for (std::string& p : parts) p = Unescape(p);
    return parts;
}

// How strongly a property is preferred: PREF=n (1 the most), a PREF type, or not at all.
int Preference(const Property& prop) {
    if (const std::string* pref = prop.Get("PREF")) {
        int n = 1;
        std::from_chars(pref->data(), pref->data() + pref->size(), n);
        return std::max(n, 1);
    }
    return prop.Has("TYPE", "PREF") ? 1 : PreferredValue::kNotPreferred;
}

// A value as the card holds it: transfer encoding undone, character set not yet known.
struct RawValue {
    std::string bytes;
    std::string charset;  // the CHARSET parameter, empty when the card names none
    int preference = PreferredValue::kNotPreferred;
    bool mobile = false;
};

// The properties of one card that make a contact, in the card's order.
struct RawCard {
    int line = 0;
    int closedAt = 0;
    bool version21 = false, version40 = false;
    std::vector<RawValue> fn, n, tel, email, org, nickname;
};

// Splits the text into cards. A card inside a card (as an AGENT, or as phones nest them)
// is a card of its own, and so is a card that begins before the one before it ended:
// both are kept, the one without its END closed where the next began.
class CardReader {
public:
    void Take(std::string_view line, int number) {
        Property prop;
        if (!ParseLine(line, prop)) return;
        if (prop.name == "BEGIN" && SameText(prop.value, "VCARD")) {
            if (!open_.empty() && cards_[open_.back()].closedAt == 0) cards_[open_.back()].closedAt = number;
            open_.push_back(cards_.size());
            cards_.push_back({});
            cards_.back().line = number;
            return;
        }
        if (prop.name == "END" && SameText(prop.value, "VCARD")) {
            if (!open_.empty()) {
                // A card that held a card but ended as it should was nested, not cut off.
                cards_[open_.back()].closedAt = 0;
                open_.pop_back();
            }
            return;
        }
        if (open_.empty()) return;
        RawCard& card = cards_[open_.back()];
        std::vector<RawValue>* into = prop.name == "FN"         ? &card.fn
                                      : prop.name == "N"        ? &card.n
                                      : prop.name == "TEL"      ? &card.tel
                                      : prop.name == "EMAIL"    ? &card.email
                                      : prop.name == "ORG"      ? &card.org
                                      : prop.name == "NICKNAME" ? &card.nickname
                                                                : nullptr;
        if (prop.name == "VERSION") {
            card.version21 = prop.value == "2.1";
            card.version40 = prop.value == "4.0";
        }
        if (!into) return;
        std::string bytes = prop.QuotedPrintable() ? DecodeQuotedPrintable(prop.value)
                            : prop.Base64()        ? DecodeBase64(prop.value)
                                                   : std::string(prop.value);
        if (prop.name == "TEL" && (card.version40 || prop.Has("VALUE", "uri")) && StartsWithText(bytes, "tel:"))
            bytes.erase(0, 4);  // 4.0 gives numbers as tel: links
        const std::string* charset = prop.Get("CHARSET");
        into->push_back({std::move(bytes), charset ? *charset : std::string(), Preference(prop),
                         prop.Has("TYPE", "CELL") || prop.Has("TYPE", "MOBILE")});
    }

    // Cards the text ends inside still count: what they hold so far is a contact.
    void End(int lastLine) {
        for (size_t index : open_)
            if (cards_[index].closedAt == 0) cards_[index].closedAt = lastLine;
        open_.clear();
    }

    bool Version21() const { return !open_.empty() && cards_[open_.back()].version21; }
    std::vector<RawCard>& Cards() { return cards_; }

private:
    std::vector<RawCard> cards_;   // in the order they begin
    std::vector<size_t> open_;     // the cards begun and not ended, innermost last
};

// Decides once for the file how the values that name no character set are read: UTF-8
// when they all are, else the encoding asked for, else the one their bytes point to.
std::string EncodingOfUnnamed(const std::vector<RawCard>& cards, const std::string& asked, bool& guessed) {
    guessed = false;
    std::string unnamed;
    for (const RawCard& card : cards)
        for (const auto* values : {&card.fn, &card.n, &card.tel, &card.email, &card.org, &card.nickname})
            for (const RawValue& v : *values)
                if (v.charset.empty()) unnamed += v.bytes, unnamed += '\n';
    if (!asked.empty()) return asked;
    if (cp949::IsValidUtf8(unnamed)) return "UTF-8";
    guessed = true;
    return textenc::GuessLegacy(unnamed);
}

std::string ToUtf8(const RawValue& v, const std::string& fileEncoding) {
    std::string out;
    size_t bad = 0;
    if (!v.charset.empty()) {
        bool korean = SameText(v.charset, "EUC-KR") || SameText(v.charset, "CP949") ||
                      SameText(v.charset, "KS_C_5601-1987") || SameText(v.charset, "UHC");
        if (SameText(v.charset, "UTF-8") && cp949::IsValidUtf8(v.bytes)) return v.bytes;
        if (textenc::ToUtf8(v.bytes, korean ? "CP949" : v.charset, out, bad)) return out;
    }
    if (fileEncoding == "UTF-8" && cp949::IsValidUtf8(v.bytes)) return v.bytes;
    if (textenc::ToUtf8(v.bytes, fileEncoding, out, bad)) return out;
    // A value the file's encoding does not hold either: its own bytes are its best guess.
    if (cp949::IsValidUtf8(v.bytes)) return v.bytes;
    textenc::ToUtf8(v.bytes, textenc::GuessLegacy(v.bytes), out, bad);
    return out;
}

// The next physical line from pos, without its line end (CRLF, LF or CR).
std::string_view NextLine(std::string_view text, size_t& pos) {
    size_t end = pos;
    while (end < text.size() && text[end] != '\r' && text[end] != '\n') ++end;
    std::string_view line = text.substr(pos, end - pos);
    pos = end;
    if (pos < text.size() && text[pos] == '\r') ++pos;
    if (pos < text.size() && text[pos] == '\n') ++pos;
    return line;
}

// Whether a line starts a quoted-printable value, whose "=" at a line end is a soft break.
bool StartsQuotedPrintable(std::string_view line) {
    std::string_view head = line.substr(0, line.find(':'));
    if (head.find_first_of("Qq") == std::string_view::npos) return false;  // most lines: no need to parse
    Property prop;
    return ParseLine(line, prop) && prop.QuotedPrintable();
}

std::string_view SkipByteOrderMark(std::string_view text) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    return text;
}

}  // namespace

bool LooksLikeVCard(std::string_view bytes) {
    std::string_view text = SkipByteOrderMark(bytes);
    size_t pos = 0;
    while (pos < text.size()) {
        std::string_view line = NextLine(text, pos);
        size_t first = line.find_first_not_of(" \t");
        if (first == std::string_view::npos) continue;
        line.remove_prefix(first);
        return StartsWithText(line, "BEGIN:VCARD");
    }
    return false;
}

bool ReadVCards(std::string_view bytes, Contacts& contacts, std::string& error, const std::string& encoding,
               std::string* note) {
    contacts.clear();
    std::string_view text = SkipByteOrderMark(bytes);
    CardReader reader;
    std::string logical;
    int logicalLine = 0;
    bool quotedPrintable = false;
    size_t pos = 0;
    int number = 0;
    while (pos < text.size()) {
        std::string_view line = NextLine(text, pos);
        ++number;
        if (!logical.empty()) {
            if (quotedPrintable && logical.back() == '=' && !StartsWithText(line, "END:VCARD")) {
                logical.pop_back();  // a soft line break
                logical += line;
                continue;
            }
            if (!line.empty() && (line[0] == ' ' || line[0] == '\t')) {
                // 2.1 keeps the space of a fold; later versions drop it.
                logical += reader.Version21() ? line : line.substr(1);
                continue;
            }
            reader.Take(logical, logicalLine);
            logical.clear();
        }
        if (line.empty()) continue;
        logical = line;
        logicalLine = number;
        quotedPrintable = StartsQuotedPrintable(line);
    }
    if (!logical.empty()) reader.Take(logical, logicalLine);
    reader.End(number);
    if (reader.Cards().empty()) {
        error = "no vCard found (no BEGIN:VCARD line)";
        return false;
    }
    bool guessed = false;
    const std::string fileEncoding = EncodingOfUnnamed(reader.Cards(), encoding, guessed);
    if (note && guessed)
        *note = "values without a CHARSET are not UTF-8; read as " + textenc::Describe(fileEncoding);
    auto text_of = [&](const std::vector<RawValue>& values) {
        return values.empty() ? std::string() : ToUtf8(values.front(), fileEncoding);
    };
    for (const RawCard& card : reader.Cards()) {
        Contact c;
        c.line = card.line;
        c.closedAt = card.closedAt;
        std::string name = Unescape(text_of(card.fn));
        if (name.empty() && !card.n.empty()) {
            std::vector<std::string> p = SplitParts(text_of(card.n));
            p.resize(5);
            name = JoinName({p[0], p[1], p[2], p[3], p[4]});
        }
        std::string org = card.org.empty() ? std::string() : SplitParts(text_of(card.org)).front();
        std::string nickname = text_of(card.nickname);
        nickname = Unescape(nickname.substr(0, FindUnescaped(nickname, ',')));
        SetNameOrStandIn(c, name, org, nickname);
        PreferredValue tel, email;
        for (const RawValue& v : card.tel) tel.Offer(Unescape(ToUtf8(v, fileEncoding)), v.preference, v.mobile);
        for (const RawValue& v : card.email) email.Offer(Unescape(ToUtf8(v, fileEncoding)), v.preference);
        c.tel = tel.Value();
        c.email = email.Value();
        contacts.push_back(std::move(c));
    }
    return true;
}
