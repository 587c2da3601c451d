#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

/// Whole-file reads and crash-safe replacement of files. Failures throw `FileError`.
namespace kelvane::FileAccess {

/// The largest file that is read whole: 64 MiB, room for about 500,000 commands in a configuration
/// file. A bigger one is refused before it is read, so that a huge or sparse file cannot exhaust
/// the memory of the process that reads it.
inline constexpr std::uint64_t maximumFileSize = 64 * 1024 * 1024;

/// The whole content of a regular file of at most `maximumFileSize` bytes. Anything else (a
/// folder, a pipe, a device, a bigger file) is refused rather than read, so that a misplaced path
/// can never block or flood the caller.
std::string readRegularFile(const std::filesystem::path& path);

/// Like `readRegularFile`, for a file already open for reading at `fd` (which stays open);
/// `path` names it in errors.
std::string readOpenFile(int fd, const std::filesystem::path& path);

/// How many symbolic links a path may pass through before it counts as a loop, as the kernel's
/// own limit for one lookup.
inline constexpr int maxSymbolicLinks = 40;

/// The longest file name a folder can hold on the systems Kelvane runs on, in bytes.
inline constexpr std::size_t maxNameBytes = 255;

/// `name` followed by `suffix`, with as much of the end of `name` left out as that needs to fit
/// within `maxNameBytes` (at a character boundary).
std::string nameWithSuffix(std::string_view name, std::string_view suffix);

/// Replaces the file's content so that a crash at any moment leaves either the old or the new
/// content, never a mix or an empty file: the bytes go to a new temporary file (mode 0600) in
/// the same folder, are flushed to disk, and the temporary file is renamed over the file. A
/// symbolic link stays a link; its final target is what gets replaced. On failure no temporary
/// file is left behind and the old content is untouched.
///
/// Temporary files that an earlier write to the same file left behind when it was killed (named
/// like this write's own, older than this write and not in use) are removed first.
/// `beforeRename`, when given, runs once the new content is on disk, right before the rename;
/// if it throws, the temporary file is removed, nothing is replaced and the exception goes on.
void writeAtomically(const std::filesystem::path& path, std::string_view bytes,
                     const std::function<void()>& beforeRename = {});

/// A new content for a file that is written piece by piece, while other work goes on, and takes
/// the file's place only when committed, as `writeAtomically` does. Destroyed uncommitted, it
/// leaves the file as it was and no temporary file behind.
class Replacement {
public:
    /// Creates the temporary file, after removing stale ones as `writeAtomically` does.
    explicit Replacement(const std::filesystem::path& path);
    ~Replacement();
    Replacement(const Replacement&) = delete;
    Replacement& operator=(const Replacement&) = delete;

    void write(std::string_view bytes);
    /// Flushes what was written to disk and renames it over the file; `beforeRename` as for
    /// `writeAtomically`. At most once.
    void commit(const std::function<void()>& beforeRename = {});
    /// Renames what was written over the file without waiting for the disk, for a file that can
    /// be made again at any time, such as a cache: after a system crash the file may still be the
    /// old one, or the new one empty, cut short or with zeros in place of some of its bytes, so
    /// its reader must check it whole. At most once, instead of `commit`.
    void commitUnflushed();

private:
    void closeAndRename(const std::function<void()>& beforeRename);

    struct State;
    std::unique_ptr<State> m_state;
};

/// Follows a chain of symbolic links to the path it finally names (which need not exist).
std::filesystem::path finalLinkTarget(const std::filesystem::path& path);

} // namespace kelvane::FileAccess
