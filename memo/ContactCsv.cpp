#include "memo/ContactCsv.h"

#include <algorithm>
#include <cctype>
#include <optional>

#include "memo/MemoTable.h"
#include "platform/Csv.h"

namespace {

const std::vector<std::string> kOwnHeader = {MemoFieldName(MemoField::Name), MemoFieldName(MemoField::Tel),
                                             MemoFieldName(MemoField::Email)};

std::string Key(std::string s) {
    s.erase(0, s.find_first_not_of(" \t"));
    s.erase(s.find_last_not_of(" \t") + 1);
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
    return s;
}

// The header row's columns by name, for the exports whose column order varies.
class Columns {
public:
    explicit Columns(const csv::CsvRow& header) {
        for (const std::string& f : header.fields) keys_.push_back(Key(f));
    }
    std::optional<size_t> Find(const std::string& key) const {
        auto it = std::find(keys_.begin(), keys_.end(), key);
        if (it == keys_.end()) return std::nullopt;
        return static_cast<size_t>(it - keys_.begin());
    }
    bool Has(const std::string& key) const { return Find(key).has_value(); }
    // The field under the column, or "" when the row is short or has no such column.
    std::string Get(const csv::CsvRow& row, const std::string& key) const {
        auto i = Find(key);
        return i && *i < row.fields.size() ? row.fields[*i] : std::string();
    }
    // The first of these columns that is filled in.
    std::string First(const csv::CsvRow& row, std::initializer_list<const char*> keys) const {
        for (const char* k : keys)
            if (std::string v = Get(row, k); !v.empty()) return v;
        return {};
    }
    const std::vector<std::string>& Keys() const { return keys_; }

private:
    std::vector<std::string> keys_;
};

NameParts PartsOf(const Columns& c, const csv::CsvRow& row) {
    return {c.First(row, {"last name", "family name"}), c.First(row, {"first name", "given name"}),
            c.First(row, {"middle name", "additional name"}), c.First(row, {"title", "name prefix"}),
            c.First(row, {"suffix", "name suffix"})};
}

// Google keeps several numbers and addresses as "Phone 1 - Value", "Phone 2 - Value" …
// with a type or label beside each; the primary one's type starts with "* ". One cell
// may hold several values joined by " ::: ".
std::string GoogleValue(const Columns& c, const csv::CsvRow& row, const std::string& kind) {
    std::string first;
    for (int n = 1;; ++n) {
        std::string prefix = kind + " " + std::to_string(n) + " - ";
        if (!c.Has(prefix + "value")) break;
        std::string value = c.Get(row, prefix + "value");
        value = value.substr(0, value.find(" ::: "));
        if (value.empty()) continue;
        std::string type = c.Get(row, prefix + "type") + c.Get(row, prefix + "label");
        if (type.rfind("* ", 0) == 0) return value;
        if (first.empty()) first = value;
    }
    return first;
}

Contact FromGoogle(const Columns& c, const csv::CsvRow& row) {
    std::string name = c.Get(row, "name");
    if (name.empty()) name = JoinName(PartsOf(c, row));
    return {name, GoogleValue(c, row, "phone"), GoogleValue(c, row, "e-mail"), row.line};
}

// Outlook names its phone columns by use; a handheld's phone book wants the primary or
// the mobile number first.
Contact FromOutlook(const Columns& c, const csv::CsvRow& row) {
    std::string tel = c.First(row, {"primary phone", "mobile phone", "home phone", "business phone", "home phone 2",
                                    "business phone 2", "other phone", "car phone", "company main phone"});
    std::string email = c.First(row, {"e-mail address", "e-mail 2 address", "e-mail 3 address"});
    return {JoinName(PartsOf(c, row)), tel, email, row.line};
}

Contact FromThunderbird(const Columns& c, const csv::CsvRow& row) {
    std::string name = c.Get(row, "display name");
    if (name.empty()) name = JoinName(PartsOf(c, row));
    return {name, c.First(row, {"mobile number", "home phone", "work phone"}),
            c.First(row, {"primary email", "secondary email"}), row.line};
}

std::string ColumnList(const csv::CsvRow& header) {
    constexpr size_t kShown = 12;
    std::string list;
    for (size_t i = 0; i < header.fields.size() && i < kShown; ++i) list += (i ? ", " : "") + header.fields[i];
    if (header.fields.size() > kShown) list += ", … (" + std::to_string(header.fields.size()) + " columns)";
    return list;
}

}  // namespace

bool ReadContactCsv(const std::string& text, Contacts& contacts, std::string& error, size_t maxContacts) {
    contacts.clear();
    std::vector<csv::CsvRow> rows;
    // The header row and maxContacts rows after it.
    if (!csv::ParseCsv(text, rows, error, maxContacts == size_t(-1) ? maxContacts : maxContacts + 1)) return false;
    if (rows.empty()) {
        error = "the file is empty; a header row is needed (name,tel,email)";
        return false;
    }
    const csv::CsvRow& header = rows[0];
    Columns columns(header);
    Contact (*convert)(const Columns&, const csv::CsvRow&) = nullptr;
    if (csv::IsHeader(header, kOwnHeader)) {
        for (size_t r = 1; r < rows.size(); ++r) {
            const csv::CsvRow& row = rows[r];
            if (row.fields.size() != 3) {
                error = "line " + std::to_string(row.line) + ": expected 3 fields (name,tel,email), found " +
                        std::to_string(row.fields.size());
                return false;
            }
            contacts.push_back({row.fields[0], row.fields[1], row.fields[2], row.line});
        }
        return true;
    }
    if (columns.Has("primary email") && columns.Has("display name")) convert = FromThunderbird;
    else if (columns.Has("phone 1 - value") || columns.Has("e-mail 1 - value")) convert = FromGoogle;
    else if (columns.Has("e-mail address") && columns.Has("first name")) convert = FromOutlook;
    if (!convert) {
        error = "line " + std::to_string(header.line) + ": the columns found (" + ColumnList(header) +
                ") are not a contact layout this program knows: name,tel,email, or an export of Google "
                "Contacts, Outlook or Thunderbird";
        return false;
    }
    for (size_t r = 1; r < rows.size(); ++r) contacts.push_back(convert(columns, rows[r]));
    return true;
}

std::string WriteContactCsv(const Contacts& contacts) {
    std::string out = csv::CsvLine(kOwnHeader);
    for (const Contact& c : contacts) out += csv::CsvLine({c.name, c.tel, c.email});
    return out;
}
