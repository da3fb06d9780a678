#include "memo/ContactFiles.h"

#include "memo/ContactCsv.h"
#include "memo/VCard.h"
#include "platform/Cp949.h"
#include "platform/TextEncoding.h"

size_t ContactFileLimit(ContactFormat format) { return format == ContactFormat::Csv ? 4u << 20 : 64u << 20; }

bool ReadContacts(const std::string& raw, ContactFormat format, Contacts& contacts, std::string& error,
                  const std::string& encoding, std::vector<std::string>* notes) {
    contacts.clear();
    // A vCard's structure is ASCII and each value may name its own character set, so only
    // a vCard in UTF-16 is converted whole; a CSV is text of one encoding.
    const bool wide = encoding.empty() ? textenc::IsUtf16(raw)
                                       : encoding.rfind("UTF-16", 0) == 0 || encoding.rfind("UTF-32", 0) == 0;
    textenc::Decoded whole;
    if (wide && !textenc::Decode(raw, encoding, whole, error)) return false;
    const std::string& text = wide ? whole.utf8 : raw;
    if (format == ContactFormat::Detect) format = LooksLikeVCard(text) ? ContactFormat::VCard : ContactFormat::Csv;
    const bool vcard = format == ContactFormat::VCard;
    if (raw.size() > ContactFileLimit(format)) {
        error = "larger than " + std::to_string(ContactFileLimit(format) >> 20) + " MB, the most a " +
                (vcard ? "vCard" : "CSV") + " contact file may have";
        return false;
    }
    std::string note;
    bool read = false;
    if (vcard) {
        read = ReadVCards(text, contacts, error, wide ? std::string() : encoding, &note);
    } else {
        if (!wide && !textenc::Decode(raw, encoding, whole, error)) return false;
        if (whole.guessed) note = "the file is not UTF-8; read as " + textenc::Describe(whole.encoding);
        read = ReadContactCsv(whole.utf8, contacts, error, kMaxContactsRead + 1);
    }
    if (!read) return false;
    if (notes && !note.empty()) notes->push_back(note);
    if (contacts.size() > kMaxContactsRead) {
        error = "line " + std::to_string(contacts[kMaxContactsRead].line) + ": more than " +
                std::to_string(kMaxContactsRead) + " contacts, the most a contact file may hold (the memo list holds " +
                std::to_string(kMemoRows) + ")";
        contacts.clear();
        return false;
    }
    return true;
}

bool ContactsFromMemo(const MemoTable& table, int entries, Contacts& contacts, std::string& error) {
    contacts.clear();
    for (int row = 0; row < entries && row < kMemoRows; ++row) {
        std::string text[3];
        for (int f = 0; f < 3; ++f) {
            const MemoField field = static_cast<MemoField>(f);
            std::string_view bytes = MemoFieldText(table[row], field);
            cp949::Conversion c = cp949::ToUtf8(bytes);
            // The file keeps 12 bytes of a longer name or number, which can end on the
            // first byte of a Korean character; that half character is no text.
            if (!c.ok && !bytes.empty() && cp949::IsDBCSLeadByte(static_cast<unsigned char>(bytes.back()))) {
                cp949::Conversion whole = cp949::ToUtf8(bytes.substr(0, bytes.size() - 1));
                if (whole.ok) c = whole;
            }
            if (!c.ok) {
                error = "entry " + std::to_string(row + 1) + ", field " + MemoFieldName(field) + ": " + c.error;
                return false;
            }
            text[f] = std::move(c.text);
        }
        contacts.push_back({text[0], text[1], text[2], row + 1});
    }
    return true;
}

std::string WriteContacts(const Contacts& contacts, ContactFormat format, bool bom) {
    if (format == ContactFormat::VCard) return WriteVCards(contacts);
    return (bom ? "\xEF\xBB\xBF" : "") + WriteContactCsv(contacts);
}
