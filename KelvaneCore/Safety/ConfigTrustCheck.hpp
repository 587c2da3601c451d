#pragma once

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
    /// The file's folder can be written by group or others and has no sticky bit.
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
    using Kind =
        std::variant<NotOwnedByUser, ParentDirectoryWritableByOthers, GroupWritable, WorldWritable>;

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
    /// In the order found: owner, group-write, others-write, folder.
    std::vector<Issue> issues;

    bool isTrusted() const { return issues.empty(); }

    bool operator==(const Verdict&) const = default;
};

/// Judges the file that `file` resolves to (through any symbolic links) by its owner and mode,
/// and that file's immediate folder by its mode, on the real file system. `currentUser` is the
/// real user id of the process; files of the superuser are trusted too. Never fails: a file or
/// folder that cannot be examined contributes no issue, so a missing file passes (reporting it
/// is the caller's task).
Verdict inspect(const std::filesystem::path& file, std::uint32_t currentUser);

} // namespace kelvane::ConfigTrustCheck
