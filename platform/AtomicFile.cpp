#include "platform/AtomicFile.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

// Temporary files that have a name are called ".NAME.lyrabox-PID-XXXXXX", so that
// the next writer in the folder can tell a dead writer's leftovers from a live one's.
constexpr const char* kTempMark = ".lyrabox-";

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

std::string BaseOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
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

std::string TempName(const std::string& folder, const std::string& base) {
    return folder + "/." + base + kTempMark + std::to_string(::getpid()) + "-XXXXXX";
}

// The file a path names once symlinks are followed (the path itself otherwise);
// a dangling link gives the file it would create.
std::string ResolveWriteTarget(const std::string& path) {
    std::string current = path;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return current;
        char link[PATH_MAX];
        const ssize_t n = ::readlink(current.c_str(), link, sizeof link - 1);
        if (n <= 0) return current;
        link[n] = 0;
        current = link[0] == '/' ? std::string(link) : FolderOf(current) + "/" + link;
    }
    return current;
}

// Temporary files of this program that a killed writer left in folder are removed.
void RemoveStaleTemporaries(const std::string& folder) {
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) return;
    while (const dirent* e = ::readdir(dir)) {
        const char* mark = std::strstr(e->d_name, kTempMark);
        if (e->d_name[0] != '.' || mark == nullptr) continue;
        char* end = nullptr;
        const long pid = std::strtol(mark + std::strlen(kTempMark), &end, 10);
        if (pid <= 0 || end == nullptr || *end != '-' || std::strlen(end) != 7) continue;
        if (::kill(pid_t(pid), 0) == 0 || errno != ESRCH) continue;  // its writer may still run
        ::unlinkat(::dirfd(dir), e->d_name, 0);
    }
    ::closedir(dir);
}

}  // namespace

AtomicWriter::~AtomicWriter() { Discard(); }

void AtomicWriter::Discard() {
    if (m_fd >= 0) ::close(m_fd);
    m_fd = -1;
    m_written = m_handedToDisk = 0;
    if (!m_named.empty()) ::unlink(m_named.c_str());
    m_named.clear();
}

bool AtomicWriter::Open(const std::string& path, std::string* error) {
    Discard();
    m_target = ResolveWriteTarget(path);
    m_folder = FolderOf(m_target);
    struct stat st {};
    const bool exists = ::stat(m_target.c_str(), &st) == 0;
    if (exists && !S_ISREG(st.st_mode)) {
        errno = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
        return Fail(error, "cannot replace " + path + ", which is not a regular file");
    }
    RemoveStaleTemporaries(m_folder);
    const mode_t mode = NewFileMode(exists ? &st : nullptr);
    // An unnamed file disappears with the process that made it.
    m_fd = ::open(m_folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
    if (m_fd < 0) {
        m_named = TempName(m_folder, BaseOf(m_target));
        m_fd = ::mkostemp(m_named.data(), O_CLOEXEC);
        if (m_fd < 0) {
            m_named.clear();
            return Fail(error, "cannot create a file next to " + path);
        }
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
        return Fail(error, "cannot write " + m_target);
    }
    if (::fsync(m_fd) != 0) {
        const int saved = errno;
        Discard();
        errno = saved;
        return Fail(error, "cannot write " + m_target);
    }
    if (m_named.empty()) {
        // Give the unnamed file a name beside the target, then move it over the target.
        std::string named = TempName(m_folder, BaseOf(m_target));
        for (int attempt = 0; attempt < 100; ++attempt) {
            std::string candidate = named.substr(0, named.size() - 6) + std::to_string(100000 + attempt * 7919 % 900000);
            const std::string proc = "/proc/self/fd/" + std::to_string(m_fd);
            if (::linkat(AT_FDCWD, proc.c_str(), AT_FDCWD, candidate.c_str(), AT_SYMLINK_FOLLOW) == 0) {
                m_named = candidate;
                break;
            }
            if (errno != EEXIST) {
                const int saved = errno;
                Discard();
                errno = saved;
                return Fail(error, "cannot write " + m_target);
            }
        }
        if (m_named.empty()) {
            Discard();
            errno = EEXIST;
            return Fail(error, "cannot write " + m_target);
        }
    }
    const int closed = ::close(m_fd);
    m_fd = -1;
    if (closed != 0 || ::rename(m_named.c_str(), m_target.c_str()) != 0) {
        const int saved = errno;
        Discard();
        errno = saved;
        return Fail(error, closed != 0 ? "cannot write " + m_target : "cannot replace " + m_target);
    }
    m_named.clear();
    if (!SyncFolder(m_folder)) return Fail(error, "cannot sync the folder of " + m_target);
    return true;
}

bool WriteFileAtomically(const std::string& path, std::string_view data, std::string* error) {
    AtomicWriter writer;
    if (!writer.Open(path, error)) return false;
    if (!writer.Write(data.data(), data.size())) return Fail(error, "cannot write " + path);
    return writer.Commit(error);
}

std::FILE* OpenRegularFile(const std::string& path, std::string* error) {
    // Non-blocking open: a FIFO without a writer must not hang the reader.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        Fail(error, path + ": cannot be opened");
        return nullptr;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
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
