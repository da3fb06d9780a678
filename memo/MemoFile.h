#pragma once
// The memo file: 64-byte records, one per entry (name 16, tel 16, e-mail in two
// 16-byte pieces of at most 12 bytes each), then 0xFF filler records up to 256.
#include <string>

#include "memo/MemoTable.h"

constexpr size_t kMemoRecordBytes = 64;
constexpr size_t kMemoFileRecords = 256;

// The file's bytes for a table whose last used row index is last (negative: none).
std::string EncodeMemoFile(const MemoTable& table, int last);

// Fills table from file bytes and returns the number of entry records read (0..250).
// A record cut short by the end of the data counts with its missing bytes as zeros.
int DecodeMemoFile(const std::string& bytes, MemoTable& table);

// Writes atomically; false (with error) when the file cannot be written.
bool WriteMemoFile(const std::string& path, const MemoTable& table, int last, std::string* error = nullptr);

// Reads a memo file; false (with why, when asked) when it cannot be read, leaving table
// and count as they were.
bool ReadMemoFile(const std::string& path, MemoTable& table, int& entries, std::string* why = nullptr);
