#pragma once
// The rules a memo entry passes before it is stored: byte limits and the e-mail line
// rule that keeps a double-byte character out of the gap between the two 12-byte pieces
// of the file's e-mail field. Bracket replacement, which songs share, is in
// ui/EntryRules.h.
#include <string>

// Limits in CP949 bytes.
constexpr size_t kMemoTypedName = 14;   // what the entry boxes let a person type
constexpr size_t kMemoTypedTel = 14;
constexpr size_t kMemoTypedEmail = 24;   // the most the row stores: a longer one could never be kept
constexpr size_t kMemoStoredName = 15;  // what the table ever holds
constexpr size_t kMemoStoredTel = 15;
constexpr size_t kMemoStoredEmail = 24;

// Applies the line rule to an e-mail of more than 12 bytes: a lead byte among its first
// 12 bytes sets dbcsFlag; while the flag is set, a two-byte character that begins at
// byte 11 (and so would be cut between the file's two 12-byte pieces) gets one space
// inserted before it. The flag is the caller's, since it outlives one commit. The
// character is found by reading the text from its start, so punctuation, control bytes
// and trail bytes that look like letters cannot make the rule cut a character, and a
// text the rule has already spaced stays as it is.
void ApplyEmailLineRule(std::string& email, bool& dbcsFlag);
