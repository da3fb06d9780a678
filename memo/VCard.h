#pragma once
// vCard 2.1, 3.0 and 4.0 cards to contacts and back. Reading takes the name from FN
// (else from N) and the preferred telephone number and e-mail address (else the first);
// every other property is passed over. Writing gives vCard 3.0 in UTF-8.
#include <string>
#include <string_view>

#include "memo/Contact.h"

// True when the text's first line that is not blank opens a card.
bool LooksLikeVCard(std::string_view bytes);

// Every card of the text, in order. False (with error) when the text holds no card.
bool ReadVCards(std::string_view bytes, Contacts& contacts, std::string& error);

// The contacts as vCard 3.0: CRLF line ends, lines folded at 75 bytes.
std::string WriteVCards(const Contacts& contacts);
