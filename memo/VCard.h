#pragma once
// vCard 2.1, 3.0 and 4.0 cards to contacts and back. Reading takes the name from FN
// (else from N, else ORG, else NICKNAME), the number by PreferredValue's rule and the
// preferred e-mail address (else the first); every other property is passed over. Writing gives vCard 3.0 in UTF-8.
#include <string>
#include <string_view>

#include "memo/Contact.h"

// True when the text's first line that is not blank opens a card.
bool LooksLikeVCard(std::string_view bytes);

// Every card of the text in the order they begin, a card nested in another one too. The
// values that name no CHARSET are read in `encoding` when one is given, else as UTF-8
// when they all are, else in the legacy encoding their bytes point to, which note then
// names. False (with error) when the text holds no card.
bool ReadVCards(std::string_view bytes, Contacts& contacts, std::string& error, const std::string& encoding = {},
                std::string* note = nullptr);

// The contacts as vCard 3.0: CRLF line ends, lines folded at 75 bytes.
std::string WriteVCards(const Contacts& contacts);
