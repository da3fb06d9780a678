#pragma once
// Writing a file so that a failure never leaves a half-written file in its place:
// the bytes go to a temporary file in the target's folder — unnamed where the file
// system allows it, so that a killed process leaves nothing behind — which replaces
// the target only when everything was written and synced. A symlinked target is
// written through: the file it points to is replaced and the link is kept.
//
// Reading takes regular files only: a folder, device or FIFO is refused without
// waiting on it.
#include <cstdio>
#include <string>
#include <string_view>
#include <sys/types.h>

namespace platform {

// Writes data to path atomically. On failure the target is untouched, the temporary
// file is removed, and error (if given) says why.
bool WriteFileAtomically(const std::string& path, std::string_view data, std::string* error = nullptr);

// The same for writers that stream: Open, Write, then Commit. Destroying an
// uncommitted writer discards what was written.
class AtomicWriter {
public:
    AtomicWriter() = default;
    ~AtomicWriter();
    AtomicWriter(const AtomicWriter&) = delete;
    AtomicWriter& operator=(const AtomicWriter&) = delete;

    bool Open(const std::string& path, std::string* error = nullptr);
    // Writes all of data; false with errno set otherwise. Each megabyte written is
    // handed to the disk at once, so the disk works while the rest is being written
    // and the sync in Commit waits only for the last piece.
    bool Write(const void* data, size_t size);
    // Syncs the file, puts it in place of the target and syncs the folder.
    // False when the file could not be put in place, and also when it was but the
    // folder could not be synced afterwards (error then begins "saved ...").
    bool Commit(std::string* error = nullptr);
    // The system's error code of the step that failed (no space, quota, a name too
    // long, an I/O error); 0 when none did.
    int ErrorCode() const { return m_errno; }
    // True once the file is in place, even when the folder's sync then failed.
    bool Saved() const { return m_saved; }

private:
    void Discard();
    bool Refuse(std::string* error, const std::string& what);  // records errno, then fails
    std::string m_target;   // the file replaced (a symlink's target)
    std::string m_folder;
    std::string m_named;    // the temporary file's name when it has one
    int m_fd = -1;
    off_t m_written = 0;        // bytes written through Write
    off_t m_handedToDisk = 0;   // of which the disk has been asked to write
    int m_errno = 0;
    bool m_saved = false;
};

// Reads a whole file, at most maxBytes of it. False when it cannot be opened or read,
// or is not a regular file; error (if given) then says why, naming the path.
bool ReadFileBytes(const std::string& path, std::string& out, size_t maxBytes = static_cast<size_t>(-1),
                   std::string* error = nullptr);

// Why OpenRegularFile refused a path: the system refused the open, or what it opened
// is no regular file (a folder, device or FIFO).
enum class OpenFailure { CannotOpen, NotAFile };

// Opens a regular file for reading ("rb"); nullptr with error set ("is not a file",
// or the system's reason) and failure set otherwise. Never blocks on a FIFO.
std::FILE* OpenRegularFile(const std::string& path, std::string* error = nullptr, OpenFailure* failure = nullptr);

}  // namespace platform
