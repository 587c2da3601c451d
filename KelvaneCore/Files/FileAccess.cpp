#include "KelvaneCore/Files/FileAccess.hpp"

#include "KelvaneCore/Files/FileDescriptor.hpp"
#include "KelvaneCore/Files/FileError.hpp"

#include "KelvaneCore/Text/ShortenedText.hpp"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <system_error>

namespace kelvane::FileAccess {
namespace {

namespace fs = std::filesystem;

[[noreturn]] void fail(FileError::Operation operation, const fs::path& path, int errorNumber) {
    throw FileError(operation, path.string(), describeSystemError(errorNumber));
}

// "100 GiB", "64 MiB", "65,5 MiB": the size as a person reads it, rounded down.
std::string readableSize(std::uint64_t bytes) {
    static constexpr std::array<const char*, 6> units{"KiB", "MiB", "GiB", "TiB", "PiB", "EiB"};
    if (bytes < 1024)
        return std::to_string(bytes) + " Bytes";
    std::size_t unit = 0;
    std::uint64_t scale = 1024;
    for (; unit + 1 < units.size() && bytes / scale >= 1024; ++unit)
        scale *= 1024;
    const std::uint64_t tenths = bytes % scale * 10 / scale;
    std::string text = std::to_string(bytes / scale);
    if (tenths != 0)
        text += "," + std::to_string(tenths);
    return text + " " + units[unit];
}

[[noreturn]] void failTooLarge(const fs::path& path, std::uint64_t size) {
    throw FileError(FileError::Operation::read, path.string(),
                    "Die Datei ist zu gro\u00DF: " + std::to_string(size) + " Bytes (" +
                        readableSize(size) + "), erlaubt sind h\u00F6chstens " +
                        std::to_string(maximumFileSize) + " Bytes (" +
                        readableSize(maximumFileSize) + ").");
}

std::uint64_t sizeNow(int fd) {
    struct stat status {};
    return ::fstat(fd, &status) == 0 ? static_cast<std::uint64_t>(status.st_size) : 0;
}

// Removes the temporary file unless the rename has taken it over.
class TemporaryFile {
public:
    explicit TemporaryFile(std::string path) : m_path(std::move(path)) {}
    ~TemporaryFile() {
        if (!m_path.empty())
            ::unlink(m_path.c_str());
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    const std::string& path() const { return m_path; }
    void release() { m_path.clear(); }

private:
    std::string m_path;
};

int flushToDisk(int fd) {
#if defined(F_FULLFSYNC)
    // fsync alone leaves the data in the drive's cache on macOS.
    if (::fcntl(fd, F_FULLFSYNC) == 0)
        return 0;
#endif
    return ::fsync(fd);
}

void writeAll(int fd, std::string_view bytes, const fs::path& path) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            fail(FileError::Operation::write, path, errno);
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
}

// What mkostemp replaces with random letters and digits.
constexpr std::string_view randomPart = "XXXXXX";

bool isTemporaryName(std::string_view name, std::string_view prefix) {
    if (name.size() != prefix.size() + randomPart.size() || !name.starts_with(prefix))
        return false;
    return std::all_of(name.begin() + static_cast<std::ptrdiff_t>(prefix.size()), name.end(),
                       [](char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; });
}

// Removes what a killed write left: files of the write's own name pattern, owned by this user,
// last changed in a second before `start`, and not locked by a write still under way. Best
// effort: what cannot be examined or removed stays.
void removeStaleTemporaries(const fs::path& folder, std::string_view prefix, std::time_t start) {
    DIR* directory = ::opendir(folder.c_str());
    if (directory == nullptr)
        return;
    const int folderFd = ::dirfd(directory);
    while (const struct dirent* entry = ::readdir(directory)) {
        if (!isTemporaryName(entry->d_name, prefix))
            continue;
        const FileDescriptor fd(
            ::openat(folderFd, entry->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
        struct stat status {};
        if (fd.get() < 0 || ::fstat(fd.get(), &status) != 0 || !S_ISREG(status.st_mode) ||
            status.st_uid != ::geteuid() || status.st_mtime >= start ||
            ::flock(fd.get(), LOCK_EX | LOCK_NB) != 0)
            continue;
        ::unlinkat(folderFd, entry->d_name, 0);
    }
    ::closedir(directory);
}

void flushFolder(const fs::path& folder, const fs::path& reportedPath) {
    FileDescriptor fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.get() < 0 || flushToDisk(fd.get()) != 0)
        fail(FileError::Operation::write, reportedPath, errno);
}

} // namespace

std::string readRegularFile(const fs::path& path) {
    // Non-blocking, so that opening a named pipe does not wait for a writer.
    const FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (!fd.isOpen())
        fail(FileError::Operation::read, path, errno);
    return readOpenFile(fd.get(), path);
}

std::string readOpenFile(int fd, const fs::path& path) {
    struct stat status {};
    if (::fstat(fd, &status) != 0)
        fail(FileError::Operation::read, path, errno);
    if (S_ISDIR(status.st_mode))
        fail(FileError::Operation::read, path, EISDIR);
    if (!S_ISREG(status.st_mode))
        throw FileError(FileError::Operation::read, path.string(), "Keine normale Datei");
    if (static_cast<std::uint64_t>(status.st_size) > maximumFileSize)
        failTooLarge(path, static_cast<std::uint64_t>(status.st_size));

    std::string content;
    content.reserve(static_cast<std::size_t>(status.st_size));
    char buffer[65536];
    for (;;) {
        const ssize_t count = ::read(fd, buffer, sizeof buffer);
        if (count == 0)
            break;
        if (count < 0) {
            if (errno == EINTR)
                continue;
            fail(FileError::Operation::read, path, errno);
        }
        content.append(buffer, static_cast<std::size_t>(count));
        // The file may grow while it is read.
        if (content.size() > maximumFileSize)
            failTooLarge(path, std::max<std::uint64_t>(content.size(), sizeNow(fd)));
    }
    return content;
}

fs::path finalLinkTarget(const fs::path& path) {
    fs::path current = path;
    for (int hops = 0; hops < maxSymbolicLinks; ++hops) {
        std::error_code error;
        if (!fs::is_symlink(current, error))
            return current;
        const fs::path target = fs::read_symlink(current, error);
        if (error)
            fail(FileError::Operation::read, path, error.value());
        current = target.is_absolute() ? target : current.parent_path() / target;
    }
    fail(FileError::Operation::read, path, ELOOP);
}

std::string nameWithSuffix(std::string_view name, std::string_view suffix) {
    std::string result(wholeCharactersPrefix(name, maxNameBytes - suffix.size()));
    return result.append(suffix);
}

struct Replacement::State {
    fs::path path;
    fs::path target;
    fs::path folder;
    FileDescriptor fd;
    TemporaryFile temporary;
    // Held until the rename, through a second descriptor of the same open file, so that a
    // concurrent write never takes this file for a stale one.
    FileDescriptor inUse;
};

Replacement::Replacement(const fs::path& path) {
    const fs::path target = finalLinkTarget(path);
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");

    // A hidden name beside the file, so the rename stays within one file system.
    const std::string temporaryName =
        nameWithSuffix("." + target.filename().string(), "." + std::string(randomPart));
    removeStaleTemporaries(
        folder, std::string_view(temporaryName).substr(0, temporaryName.size() - randomPart.size()),
        std::time(nullptr));

    std::string pattern = (folder / temporaryName).string();
    FileDescriptor fd(::mkostemp(pattern.data(), O_CLOEXEC));
    if (fd.get() < 0)
        fail(FileError::Operation::write, path, errno);
    m_state.reset(new State{path, target, folder, std::move(fd), TemporaryFile(pattern), {}});
    ::flock(m_state->fd.get(), LOCK_EX);
    m_state->inUse = FileDescriptor(::dup(m_state->fd.get()));
    if (::fchmod(m_state->fd.get(), S_IRUSR | S_IWUSR) != 0)
        fail(FileError::Operation::write, path, errno);
}

Replacement::~Replacement() = default;

void Replacement::write(std::string_view bytes) {
    writeAll(m_state->fd.get(), bytes, m_state->path);
}

void Replacement::commit(const std::function<void()>& beforeRename) {
    if (flushToDisk(m_state->fd.get()) != 0)
        fail(FileError::Operation::write, m_state->path, errno);
    closeAndRename(beforeRename);
    // The rename itself is durable only once the folder's entry is on disk.
    flushFolder(m_state->folder, m_state->path);
}

void Replacement::commitUnflushed() {
    closeAndRename({});
}

void Replacement::closeAndRename(const std::function<void()>& beforeRename) {
    State& state = *m_state;
    if (state.fd.close() != 0)
        fail(FileError::Operation::write, state.path, errno);
    if (beforeRename)
        beforeRename();
    if (::rename(state.temporary.path().c_str(), state.target.c_str()) != 0)
        fail(FileError::Operation::write, state.path, errno);
    state.temporary.release();
}

void writeAtomically(const fs::path& path, std::string_view bytes,
                     const std::function<void()>& beforeRename) {
    Replacement replacement(path);
    replacement.write(bytes);
    replacement.commit(beforeRename);
}

} // namespace kelvane::FileAccess
