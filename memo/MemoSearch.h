#pragma once
// Finding text in the memo table cell by cell, as the page's find dialog does.
#include <string_view>

#include "memo/MemoTable.h"

// The most cells one search looks at before it gives up.
constexpr int kMemoSearchCellLimit = 10000;

// True when needle occurs in haystack starting on a character boundary of the CP949
// text (so the trail byte of one Hangul syllable and the lead byte of the next never
// match a syllable). Byte-wise and case-sensitive; an empty needle matches nothing.
bool ContainsCp949(std::string_view haystack, std::string_view needle);

// Searches from the row after current (down) or before it (up), visiting Name, Tel.,
// E-Mail within a row (the reverse going up) and wrapping between rows 249 and 0.
// Returns the matching row, or -1 when no cell matched within the cell limit.
int FindMemoRow(const MemoTable& table, int current, std::string_view text, bool down);
