#pragma once
// What an existing file holds, told by its content rather than its name. Before a
// file is replaced, the writer checks that it replaces a file of the kind it writes:
// a song list saved over the device's contact file, or a CSV export over a picture,
// would lose the other file's data without a word.
#include <cstdint>
#include <string>
#include <string_view>

enum class ContentKind { None, Other, MemoFile, SongFile, Picture, Csv, VCard };

// The kind of the first bytes of a file of fileSize bytes. head holds at least the
// first min(fileSize, kContentKindHeadBytes) bytes. Other when it is none of the kinds
// the program writes.
inline constexpr size_t kContentKindHeadBytes = 20000;
ContentKind ContentKindOf(std::string_view head, uint64_t fileSize);

// The kind of the file at path (symlinks followed): None when there is none, Other
// when it cannot be read or is of no known kind.
ContentKind ContentKindOfFile(const std::string& path);

// "a memo file", "a song file", "a picture", "a CSV file", "a vCard file"; "" for
// None and Other.
const char* ContentKindName(ContentKind kind);

// The kind of the file at path when writing a file of kind `writes` there would
// replace a file of another known kind; None otherwise (no file, the same kind, or a
// file of no known kind).
ContentKind OtherKindAt(const std::string& path, ContentKind writes);

// For the window's save commands, after the file dialog: when path holds a file of
// another kind than `writes`, asks the person whether to replace it. True when the
// save may go on (also for a `writes` of None or Other: nothing of a known kind).
bool MayReplaceWith(const std::string& path, ContentKind writes);

// The kind the document writes for a file name by its extension (pictures, memo and
// song files); Other for names it does not write.
ContentKind ContentKindForName(const std::string& path);
