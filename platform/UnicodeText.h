#pragma once
// Unicode work on UTF-8 text that iconv does not do: composing characters (NFC), finding
// a plain letter for an accented one, and telling the scripts whose names go family
// name first.
#include <string>
#include <string_view>

namespace unicode {

// The text in composed form (NFC): decomposed Hangul jamo, as macOS writes names,
// become the syllables CP949 holds; "e" + combining acute becomes "é". Text that is not
// valid UTF-8 is returned as it is.
std::string Composed(std::string_view utf8);

// A plain spelling of one character: its letters without accents ("é" -> "e", "Ṻ" ->
// "U"), or the usual spelling of a letter that has no accent to drop ("ß" -> "ss", "ø"
// -> "o", "Œ" -> "OE"). Empty when there is none.
std::string PlainLetters(std::string_view character);

// True when the text holds a Hangul, Han or Kana letter: names in these scripts are
// written family name first without a space.
bool HasEastAsianLetters(std::string_view utf8);

// The UTF-8 characters of the text, one by one; a byte that starts no valid character
// is a character of its own.
size_t CharacterLength(std::string_view utf8, size_t at);

}  // namespace unicode
