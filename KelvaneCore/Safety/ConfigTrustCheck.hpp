#pragma once

#include "KelvaneCore/Files/FileDescriptor.hpp"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

/// Decides whether the configuration file may be trusted: a file that another user could
/// change would let that user run commands as the current user.
namespace kelvane::ConfigTrustCheck {

/// One reason not to trust the file, with a shell command that repairs it.
struct Issue {
    /// The file belongs to another user, who is not the superuser.
    struct NotOwnedByUser {
        std::uint32_t owner = 0;
        bool operator==(const NotOwnedByUser&) const = default;
    };
    /// A folder on the way to the file (the file's own, one above it, or one that holds a link
    /// on the way) can be written by group or others and has no sticky bit.
    struct ParentDirectoryWritableByOthers {
        std::string path;
        bool operator==(const ParentDirectoryWritableByOthers&) const = default;
    };
    /// The file's group-write bit is set.
    struct GroupWritable {
        bool operator==(const GroupWritable&) const = default;
    };
    /// The file's others-write bit is set.
    struct WorldWritable {
        bool operator==(const WorldWritable&) const = default;
    };
    /// A folder on the way to the file belongs to another user, who is not the superuser: its
    /// owner can replace what it holds, even when its sticky bit is set.
    struct DirectoryNotOwnedByUser {
        std::string path;
        std::uint32_t owner = 0;
        bool operator==(const DirectoryNotOwnedByUser&) const = default;
    };
    /// A symbolic link on the way to the file belongs to another user, who is not the superuser.
    struct LinkNotOwnedByUser {
        std::string path;
        std::uint32_t owner = 0;
        bool operator==(const LinkNotOwnedByUser&) const = default;
    };
    using Kind = std::variant<NotOwnedByUser, ParentDirectoryWritableByOthers, GroupWritable,
                              WorldWritable, DirectoryNotOwnedByUser, LinkNotOwnedByUser>;

    Kind kind;
    /// The configuration file's path after resolving symbolic links.
    std::string path;

    /// The user-visible German description.
    std::string message() const;
    /// A command line for the user to paste into a terminal; present for every kind.
    std::optional<std::string> fixCommand() const;
    /// The name of the kind in lower camel case ("notOwnedByUser", "groupWritable", ...).
    std::string_view kindName() const;

    bool operator==(const Issue&) const = default;
};

struct Verdict {
    /// The file's owner, group-write and others-write first, then the folders and links on its
    /// way, the nearest to the file first.
    std::vector<Issue> issues;

    bool isTrusted() const { return issues.empty(); }

    bool operator==(const Verdict&) const = default;
};

/// The configuration file as the check reached it: opened by the very walk that judged it.
struct OpenedFile {
    Verdict verdict;
    /// The file's path after resolving symbolic links (as far as the walk got).
    std::string path;
    /// Open for reading when the file was reached and could be opened.
    FileDescriptor descriptor;
    /// Why the file is not open, as an errno value (ENOENT or ENOTDIR: it does not exist); 0 when
    /// it is.
    int error = 0;
};

/// Walks the path of `file` from the root folder through open folder descriptors, judging every
/// folder it looks into, every symbolic link it follows and finally the file, which it opens
/// without following a link it has not judged. Whoever could change any of them could change
/// what is read: each must belong to `currentUser` (the real user id of the process) or the
/// superuser and must not be writable by group or others, except that a folder with the sticky
/// bit (as /tmp) may be. Each name is looked up only through the descriptor of a folder already
/// judged, never as a path, so a folder or link swapped during or after the walk cannot put
/// another file behind `descriptor`. Never fails: a missing file contributes no file issues
/// (reporting it is the caller's task).
OpenedFile openInspected(const std::filesystem::path& file, std::uint32_t currentUser);

/// The verdict of `openInspected`, for callers that do not read the file.
Verdict inspect(const std::filesystem::path& file, std::uint32_t currentUser);

} // namespace kelvane::ConfigTrustCheck
