// vCard reader over arbitrary bytes: every contact it gives is UTF-8, what the writer
// makes of them reads back the same, and fitting them gives rows within the memo's
// limits that never end inside a Korean character.
#include <cstdint>
#include <string>

#include "memo/ContactFit.h"
#include "memo/MemoRules.h"
#include "memo/VCard.h"
#include "platform/Cp949.h"

namespace {

// A value as it comes back from the writer: line breaks travel as "\n", read as a space.
std::string Written(std::string s) {
    std::string out;
    for (char c : s)
        if (c != '\r') out += c == '\n' ? ' ' : c;
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string bytes(reinterpret_cast<const char*>(data), size);
    Contacts contacts;
    std::string error;
    if (!ReadVCards(bytes, contacts, error)) return 0;
    for (const Contact& c : contacts)
        if (!cp949::IsValidUtf8(c.name) || !cp949::IsValidUtf8(c.tel) || !cp949::IsValidUtf8(c.email))
            __builtin_trap();
    Contacts again;
    if (!ReadVCards(WriteVCards(contacts), again, error) || again.size() != contacts.size()) __builtin_trap();
    for (size_t i = 0; i < contacts.size(); ++i)
        if (again[i].name != Written(contacts[i].name) || again[i].tel != Written(contacts[i].tel) ||
            again[i].email != Written(contacts[i].email))
            __builtin_trap();
    FitResult fit = FitContacts(contacts, FitPolicy::Trim, kMemoRows);
    for (const MemoInput& in : fit.rows) {
        std::string email = in.email;
        bool dbcs = false;
        ApplyEmailLineRule(email, dbcs);
        if (in.name.size() > kMemoStoredName || in.tel.size() > kMemoStoredTel || email.size() > kMemoStoredEmail)
            __builtin_trap();
        if (!cp949::ToUtf8(in.name).ok || !cp949::ToUtf8(in.tel).ok || !cp949::ToUtf8(in.email).ok) __builtin_trap();
    }
    return 0;
}
