// Reading vCards. Lines are unfolded (a line starting with a space or tab continues
// the one before; in a QUOTED-PRINTABLE value a line ending in "=" continues on the
// next line whatever it starts with), split into name, parameters and value, and the
// value is decoded (quoted-printable or base64, then its CHARSET) into UTF-8.
#include <algorithm>
#include <charconv>
#include <climits>

#include "memo/VCard.h"
#include "platform/Cp949.h"

namespace {

constexpr int kNoPreference = INT_MAX;

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

// Bytes in the card's character set to UTF-8. Without a usable CHARSET, text that is not
// UTF-8 is taken as CP949 (what Korean phones write), and failing that as Latin-1, so a
// contact is never lost to its encoding; the fit step then says what CP949 cannot hold.
std::string ToUtf8(const std::string& bytes, const std::string* charset) {
    if (charset && !SameText(*charset, "UTF-8")) {
        bool korean = SameText(*charset, "EUC-KR") || SameText(*charset, "CP949") ||
                      SameText(*charset, "KS_C_5601-1987") || SameText(*charset, "UHC");
        if (auto text = cp949::CharsetToUtf8(bytes, korean ? "CP949" : *charset)) return *text;
    }
    if (cp949::IsValidUtf8(bytes)) return bytes;
    if (auto text = cp949::CharsetToUtf8(bytes, "CP949")) return *text;
    return cp949::CharsetToUtf8(bytes, "ISO-8859-1").value_or(std::string());
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
    return prop.Has("TYPE", "PREF") ? 1 : kNoPreference;
}

struct Candidate {
    std::string value;
    int preference = kNoPreference;
    bool set = false;
    void Offer(std::string v, int pref) {
        if (set && pref >= preference) return;
        value = std::move(v), preference = pref, set = true;
    }
};

class CardReader {
public:
    explicit CardReader(Contacts& out) : out_(out) {}

    void Take(std::string_view line, int number) {
        Property prop;
        if (!ParseLine(line, prop)) return;
        if (prop.name == "BEGIN" && SameText(prop.value, "VCARD")) {
            if (depth_++ == 0) Start(number);
            return;
        }
        if (prop.name == "END" && SameText(prop.value, "VCARD")) {
            if (depth_ > 0 && --depth_ == 0) Finish();
            return;
        }
        if (depth_ != 1) return;  // outside a card, or inside a card nested in it
        if (prop.name == "VERSION") {
            version21_ = prop.value == "2.1";
            version40_ = prop.value == "4.0";
        } else if (prop.name == "FN") {
            if (fn_.empty()) fn_ = Unescape(Decode(prop));
        } else if (prop.name == "N") {
            if (n_.empty()) {
                std::vector<std::string> p = SplitParts(Decode(prop));
                p.resize(5);
                n_ = JoinName({p[0], p[1], p[2], p[3], p[4]});
            }
        } else if (prop.name == "TEL") {
            std::string tel = Unescape(Decode(prop));
            // 4.0 gives numbers as tel: links.
            if ((version40_ || prop.Has("VALUE", "uri")) && StartsWithText(tel, "tel:")) tel.erase(0, 4);
            tel_.Offer(std::move(tel), Preference(prop));
        } else if (prop.name == "EMAIL") {
            email_.Offer(Unescape(Decode(prop)), Preference(prop));
        }
    }

    // A card the text ends inside still counts: what it holds so far is a contact.
    void End() {
        if (depth_ > 0) Finish();
    }

    bool Version21() const { return depth_ > 0 && version21_; }
    bool SawCard() const { return sawCard_; }

private:
    static std::string Decode(const Property& prop) {
        std::string bytes = prop.QuotedPrintable() ? DecodeQuotedPrintable(prop.value)
                            : prop.Base64()        ? DecodeBase64(prop.value)
                                                   : std::string(prop.value);
        return ToUtf8(bytes, prop.Get("CHARSET"));
    }

    void Start(int number) {
        sawCard_ = true;
        line_ = number;
        version21_ = version40_ = false;
        fn_.clear(), n_.clear();
        tel_ = {}, email_ = {};
    }

    void Finish() {
        depth_ = 0;
        out_.push_back({fn_.empty() ? n_ : fn_, tel_.value, email_.value, line_});
    }

    Contacts& out_;
    int depth_ = 0;
    int line_ = 0;
    bool sawCard_ = false;
    bool version21_ = false;
    bool version40_ = false;
    std::string fn_, n_;
    Candidate tel_, email_;
};

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

bool ReadVCards(std::string_view bytes, Contacts& contacts, std::string& error) {
    contacts.clear();
    std::string_view text = SkipByteOrderMark(bytes);
    CardReader reader(contacts);
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
    reader.End();
    if (!reader.SawCard()) {
        error = "no vCard found (no BEGIN:VCARD line)";
        return false;
    }
    return true;
}
