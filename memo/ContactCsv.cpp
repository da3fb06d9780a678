#include "memo/ContactCsv.h"

#include <algorithm>
#include <cctype>

#include "memo/ContactCsvColumns.h"
#include "memo/MemoTable.h"
#include "platform/Csv.h"
#include "platform/TextEncoding.h"

namespace {

const std::vector<std::string> kOwnHeader = {MemoFieldName(MemoField::Name), MemoFieldName(MemoField::Tel),
                                             MemoFieldName(MemoField::Email)};

// The header row read once: what each column holds, and Google's numbered value columns
// ("Phone 1 - Value") with the type or label column beside each, whose "* " marks the
// primary one and whose text may say "Mobile".
struct Layout {
    std::vector<ContactColumn> columns;
    struct Numbered {
        bool phone;
        size_t value, kind;  // kind: npos when there is none
    };
    std::vector<Numbered> numbered;

    explicit Layout(const csv::CsvRow& header) {
        std::vector<std::string> keys;
        for (const std::string& cell : header.fields) {
            columns.push_back(ContactColumnOf(cell));
            std::string key = Trimmed(cell);
            for (char& c : key) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            keys.push_back(std::move(key));
        }
        for (size_t i = 0; i < keys.size(); ++i) {
            const std::string& key = keys[i];
            bool phone = key.rfind("phone ", 0) == 0;
            if (!phone && key.rfind("e-mail ", 0) != 0) continue;
            if (key.size() < 8 || key.substr(key.size() - 8) != " - value") continue;
            const std::string stem = key.substr(0, key.size() - 8);
            const std::string type = stem + " - type", label = stem + " - label";
            size_t kind = std::string::npos;
            for (size_t k = 0; k < keys.size(); ++k)
                if (keys[k] == type || keys[k] == label) kind = k;
            numbered.push_back({phone, i, kind});
        }
    }

    bool Has(std::initializer_list<ContactColumn> any) const {
        for (ContactColumn c : columns)
            for (ContactColumn a : any)
                if (c == a) return true;
        return false;
    }
    // A contact export: some name, and a number or an address.
    bool Known() const {
        using C = ContactColumn;
        return Has({C::FullName, C::Given, C::Family, C::Organisation, C::Nickname}) &&
               (!numbered.empty() || Has({C::Email, C::OtherEmail, C::PrimaryPhone, C::MobilePhone, C::OtherPhone}));
    }

    Contact Read(const csv::CsvRow& row) const {
        using C = ContactColumn;
        std::string text[16];
        NameParts parts;
        PreferredValue tel, email;
        for (size_t i = 0; i < columns.size() && i < row.fields.size(); ++i) {
            const std::string value = Trimmed(row.fields[i]);
            std::string& first = text[static_cast<int>(columns[i])];
            if (first.empty()) first = value;
            switch (columns[i]) {
                case C::PrimaryPhone: tel.Offer(value, 1); break;
                case C::MobilePhone: tel.Offer(value, PreferredValue::kNotPreferred, true); break;
                case C::OtherPhone: tel.Offer(value); break;
                case C::Email: email.Offer(value, 1); break;
                case C::OtherEmail: email.Offer(value); break;
                default: break;
            }
        }
        for (const Numbered& n : numbered) {
            if (n.value >= row.fields.size()) continue;
            std::string value = row.fields[n.value];
            value = Trimmed(value.substr(0, value.find(" ::: ")));  // one cell may hold several
            std::string kind = n.kind < row.fields.size() ? Trimmed(row.fields[n.kind]) : std::string();
            const bool preferred = kind.rfind("* ", 0) == 0;
            if (preferred) kind.erase(0, 2);
            for (char& c : kind) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            (n.phone ? tel : email).Offer(value, preferred ? 1 : PreferredValue::kNotPreferred, kind == "mobile");
        }
        auto at = [&](C c) -> const std::string& { return text[static_cast<int>(c)]; };
        parts = {at(C::Family), at(C::Given), at(C::Middle), at(C::Prefix), at(C::Suffix)};
        Contact c;
        c.line = row.line;
        SetNameOrStandIn(c, at(C::FullName).empty() ? JoinName(parts) : at(C::FullName), at(C::Organisation),
                         at(C::Nickname));
        c.tel = tel.Value();
        c.email = email.Value();
        return c;
    }
};

std::string ColumnList(const csv::CsvRow& header) {
    constexpr size_t kShown = 12;
    std::string list;
    for (size_t i = 0; i < header.fields.size() && i < kShown; ++i)
        list += (i ? ", " : "") + textenc::Printable(header.fields[i]);
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
    const Layout layout(header);
    if (!layout.Known()) {
        error = "line " + std::to_string(header.line) + ": the columns found (" + ColumnList(header) +
                ") are not a contact layout this program knows: name,tel,email, or an export of Google "
                "Contacts, Outlook or Thunderbird";
        return false;
    }
    for (size_t r = 1; r < rows.size(); ++r) contacts.push_back(layout.Read(rows[r]));
    return true;
}

std::string WriteContactCsv(const Contacts& contacts) {
    std::string out = csv::CsvLine(kOwnHeader);
    for (const Contact& c : contacts) out += csv::CsvLine({c.name, c.tel, c.email});
    return out;
}
