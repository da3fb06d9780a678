#include "platform/AtomicFile.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

// Temporary files that have a name are called ".lyrabox-XXXXXX" (six random
// characters), whatever the target is called: the name stays short, so a target of
// any length the file system allows can be written, and no other process can guess
// it. The writer holds a lock on its temporary file for as long as it lives, which
// is how the next writer in the folder tells a dead writer's leftovers from a live
// one's. Earlier versions named them ".NAME.lyrabox-PID-XXXXXX"; those are still
// recognised by their process id.
constexpr const char* kTempPrefix = ".lyrabox-";
constexpr const char* kTempMark = ".lyrabox-";
constexpr size_t kTempNameLength = 15;  // the prefix and six random characters

// How much written data waits before the disk is asked to write it. Small files (a
// memo list, a logo) never reach it and are written by the sync alone.
constexpr off_t kWritebackStep = off_t(1) << 20;

bool Fail(std::string* error, const std::string& what) {
    if (error) *error = what + ": " + std::strerror(errno);
    return false;
}

std::string FolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// The mode of the file replaced (target: its stat, nullptr when there is none yet), else
// what a new file gets under the umask.
mode_t NewFileMode(const struct stat* target) {
    if (target != nullptr) return target->st_mode & 07777;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

bool SyncFolder(const std::string& folder) {
    const int dfd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd < 0) return false;
    const bool ok = ::fsync(dfd) == 0 || errno == EINVAL;  // some file systems cannot sync folders
    ::close(dfd);
    return ok;
}

// count characters of [A-Za-z0-9] from the system's random source.
void FillRandom(char* out, size_t count) {
    static constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    unsigned char bytes[16];
    if (count > sizeof bytes || ::getentropy(bytes, count) != 0) {
        // Without entropy the name is still unique among tries; it is only less secret.
        for (size_t i = 0; i < count && i < sizeof bytes; ++i) bytes[i] = static_cast<unsigned char>(std::rand());
    }
    for (size_t i = 0; i < count; ++i) out[i] = kAlphabet[bytes[i] % (sizeof kAlphabet - 1)];
}

std::string TempPattern(const std::string& folder) { return folder + "/" + kTempPrefix + "XXXXXX"; }

// Marks fd as the temporary file of a live writer (see kTempPrefix).
void HoldTemporary(int fd) {
    while (::flock(fd, LOCK_EX) != 0 && errno == EINTR) {
    }
}

// The file a path names once symlinks are followed (the path itself otherwise);
// a dangling link gives the file it would create. False (errno ELOOP) for a chain
// of links that does not end, which must not be replaced by a regular file.
bool ResolveWriteTarget(const std::string& path, std::string& target) {
    std::string current = path;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) {
            target = current;
            return true;
        }
        char link[PATH_MAX];
        const ssize_t n = ::readlink(current.c_str(), link, sizeof link - 1);
        if (n <= 0) {
            target = current;
            return true;
        }
        link[n] = 0;
        current = link[0] == '/' ? std::string(link) : FolderOf(current) + "/" + link;
    }
    errno = ELOOP;
    return false;
}

// An old-style leftover ".NAME.lyrabox-PID-XXXXXX" whose writer is no longer running.
bool IsDeadOldStyleTemporary(const char* name) {
    const char* mark = std::strstr(name, kTempMark);
    if (name[0] != '.' || mark == nullptr || mark == name) return false;
    char* end = nullptr;
    const long pid = std::strtol(mark + std::strlen(kTempMark), &end, 10);
    if (pid <= 0 || end == nullptr || *end != '-' || std::strlen(end) != 7) return false;
    return ::kill(pid_t(pid), 0) != 0 && errno == ESRCH;  // otherwise its writer may still run
}

// A ".lyrabox-XXXXXX" file that no live writer holds. The lock taken to find out is
// kept until the file is gone, so a writer cannot take it up meanwhile.
bool RemoveIfUnheld(int dirFd, const char* name) {
    const int fd = ::openat(dirFd, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat opened {}, named {};
    bool removed = false;
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(fd, &opened) == 0 && S_ISREG(opened.st_mode) &&
        ::fstatat(dirFd, name, &named, AT_SYMLINK_NOFOLLOW) == 0 && named.st_dev == opened.st_dev &&
        named.st_ino == opened.st_ino)
        removed = ::unlinkat(dirFd, name, 0) == 0;
    ::close(fd);
    return removed;
}

// Temporary files of this program that a killed writer left in folder are removed.
void RemoveStaleTemporaries(const std::string& folder) {
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) return;
    while (const dirent* e = ::readdir(dir)) {
        const size_t length = std::strlen(e->d_name);
        if (length == kTempNameLength && std::strncmp(e->d_name, kTempPrefix, std::strlen(kTempPrefix)) == 0)
            RemoveIfUnheld(::dirfd(dir), e->d_name);
        else if (IsDeadOldStyleTemporary(e->d_name))
            ::unlinkat(::dirfd(dir), e->d_name, 0);
    }
    ::closedir(dir);
}

// Makes a named temporary file in folder, locked as a live writer's. Retries when a
// cleaner took the fresh file for a leftover before the lock was held.
int CreateNamedTemporary(const std::string& folder, std::string& name) {
    for (int attempt = 0; attempt < 8; ++attempt) {
        name = TempPattern(folder);
        const int fd = ::mkostemp(name.data(), O_CLOEXEC);
        if (fd < 0) break;
        HoldTemporary(fd);
        struct stat st {};
        if (::fstat(fd, &st) == 0 && st.st_nlink > 0) return fd;
        ::close(fd);
    }
    name.clear();
    return -1;
}

}  // namespace

AtomicWriter::~AtomicWriter() { Discard(); }

bool AtomicWriter::Refuse(std::string* error, const std::string& what) {
    m_errno = errno;
    return Fail(error, what);
}

void AtomicWriter::Discard() {
    if (m_fd >= 0) ::close(m_fd);
    m_fd = -1;
    m_written = m_handedToDisk = 0;
    if (!m_named.empty()) ::unlink(m_named.c_str());
    m_named.clear();
}

bool AtomicWriter::Open(const std::string& path, std::string* error) {
    Discard();
    m_errno = 0;
    m_saved = false;
    if (!ResolveWriteTarget(path, m_target)) return Refuse(error, "cannot write " + path);
    m_folder = FolderOf(m_target);
    struct stat st {};
    const bool exists = ::stat(m_target.c_str(), &st) == 0;
    if (exists && !S_ISREG(st.st_mode)) {
        errno = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
        return Refuse(error, "cannot replace " + path + ", which is not a regular file");
    }
    RemoveStaleTemporaries(m_folder);
    const mode_t mode = NewFileMode(exists ? &st : nullptr);
    // An unnamed file disappears with the process that made it.
    m_fd = ::open(m_folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
    if (m_fd >= 0) {
        HoldTemporary(m_fd);  // before it ever has a name
    } else {
        m_fd = CreateNamedTemporary(m_folder, m_named);
        if (m_fd < 0) return Refuse(error, "cannot create a file next to " + path);
    }
    ::fchmod(m_fd, mode);
    return true;
}

bool AtomicWriter::Write(const void* data, size_t size) {
    const char* p = static_cast<const char*>(data);
    while (size > 0) {
        const size_t piece = std::min(size, size_t(kWritebackStep));
        const ssize_t n = ::write(m_fd, p, piece);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (n == 0) errno = ENOSPC;
            m_errno = errno;
            return false;
        }
        p += n;
        size -= size_t(n);
        m_written += n;
        if (m_written - m_handedToDisk >= kWritebackStep) {
            // Only a request to start: where it is not supported, Commit's sync does it all.
            ::sync_file_range(m_fd, m_handedToDisk, m_written - m_handedToDisk, SYNC_FILE_RANGE_WRITE);
            m_handedToDisk = m_written;
        }
    }
    return true;
}

bool AtomicWriter::Commit(std::string* error) {
    if (m_fd < 0) {
        errno = EBADF;
        return Refuse(error, "cannot write " + m_target);
    }
    if (::fsync(m_fd) != 0) {
        const int saved = errno;
        Discard();
        errno = saved;
        return Refuse(error, "cannot write " + m_target);
    }
    if (m_named.empty()) {
        // Give the unnamed file a random name beside the target, then move it over the
        // target. The name is made as mkostemp would, but linkat cannot create it
        // exclusively by pattern, so the random part is drawn here.
        for (int attempt = 0; attempt < 100; ++attempt) {
            std::string candidate = TempPattern(m_folder);
            FillRandom(candidate.data() + candidate.size() - 6, 6);
            const std::string proc = "/proc/self/fd/" + std::to_string(m_fd);
            if (::linkat(AT_FDCWD, proc.c_str(), AT_FDCWD, candidate.c_str(), AT_SYMLINK_FOLLOW) == 0) {
                m_named = candidate;
                break;
            }
            if (errno != EEXIST) {
                const int saved = errno;
                Discard();
                errno = saved;
                return Refuse(error, "cannot write " + m_target);
            }
        }
        if (m_named.empty()) {
            Discard();
            errno = EEXIST;
            return Refuse(error, "cannot write " + m_target);
        }
    }
    // Renamed while the lock is still held: once the file is closed, another writer's
    // clean-up in this folder would take the named temporary for a leftover and remove it.
    if (::rename(m_named.c_str(), m_target.c_str()) != 0) {
        const int saved = errno;
        Discard();
        errno = saved;
        return Refuse(error, "cannot replace " + m_target);
    }
    m_named.clear();
    // The data reached the disk with the sync above, so a failing close loses nothing.
    ::close(m_fd);
    m_fd = -1;
    m_saved = true;
    // The file is in place; only its lasting on the disk after a crash is in doubt.
    if (!SyncFolder(m_folder))
        return Refuse(error, "saved " + m_target + ", but its folder could not be synced to the disk");
    return true;
}

bool WriteFileAtomically(const std::string& path, std::string_view data, std::string* error) {
    AtomicWriter writer;
    if (!writer.Open(path, error)) return false;
    if (!writer.Write(data.data(), data.size())) return Fail(error, "cannot write " + path);  // errno from Write
    return writer.Commit(error);
}

std::FILE* OpenRegularFile(const std::string& path, std::string* error, OpenFailure* failure) {
    OpenFailure ignored;
    OpenFailure& why = failure ? *failure : ignored;
    why = OpenFailure::CannotOpen;
    // Non-blocking open: a FIFO without a writer must not hang the reader.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        Fail(error, path + ": cannot be opened");
        return nullptr;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        why = OpenFailure::NotAFile;
        if (error) *error = path + ": is not a file";
        return nullptr;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    std::FILE* f = ::fdopen(fd, "rb");
    if (f == nullptr) {
        Fail(error, path + ": cannot be opened");
        ::close(fd);
    }
    return f;
}

bool ReadFileBytes(const std::string& path, std::string& out, size_t maxBytes, std::string* error) {
    out.clear();
    std::FILE* f = OpenRegularFile(path, error);
    if (!f) return false;
    char buf[65536];
    bool ok = true;
    while (out.size() < maxBytes) {
        size_t want = std::min(sizeof buf, maxBytes - out.size());
        size_t n = std::fread(buf, 1, want, f);
        out.append(buf, n);
        if (n < want) {
            ok = !std::ferror(f);
            break;
        }
    }
    std::fclose(f);
    if (!ok && error) *error = path + ": cannot be read";
    return ok;
}

}  // namespace platform
