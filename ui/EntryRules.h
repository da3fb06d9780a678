#pragma once
// The rules every entry box's text passes before a page stores it, whichever page it
// is: the memo page's contacts and the song page's songs alike.
#include <cstddef>
#include <string>

// Every "[" becomes "(" and every "]" becomes ")".
void ReplaceBrackets(std::string& text);

// The files store a long field in pieces of a fixed width; a two-byte character that
// begins on the last byte of the first piece would be cut in two. When one does, a space
// is inserted before it so that it begins the next piece whole. True when it inserted.
bool KeepCharacterWholeAt(std::string& text, size_t piece);
