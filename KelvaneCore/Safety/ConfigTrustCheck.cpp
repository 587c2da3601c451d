#include "KelvaneCore/Safety/ConfigTrustCheck.hpp"
#include "KelvaneCore/Text/GermanQuotes.hpp"

#include <array>

#include "KelvaneCore/Configuration/Overloaded.hpp"
#include "KelvaneCore/Terminal/ShellQuoting.hpp"

#include <sys/stat.h>

namespace kelvane::ConfigTrustCheck {
namespace {

namespace fs = std::filesystem;

// Resolves every symbolic link on the path, also for a file that does not exist (yet).
fs::path resolvingSymlinks(const fs::path& file) {
    std::error_code error;
    fs::path resolved = fs::weakly_canonical(file, error);
    if (error)
        return file.lexically_normal();
    return resolved;
}

} // namespace

std::string Issue::message() const {
    return std::visit(Overloaded{
                          [this](const NotOwnedByUser& issue) {
                              return germanQuoted(path) + " geh\u00F6rt Benutzer-ID " +
                                     std::to_string(issue.owner) + ", nicht dir.";
                          },
                          [](const ParentDirectoryWritableByOthers& issue) {
                              return "Der Ordner " + germanQuoted(issue.path) +
                                     " ist f\u00FCr andere beschreibbar.";
                          },
                          [this](const GroupWritable&) {
                              return germanQuoted(path) + " ist f\u00FCr die Gruppe beschreibbar.";
                          },
                          [this](const WorldWritable&) {
                              return germanQuoted(path) + " ist f\u00FCr alle beschreibbar.";
                          },
                      },
                      kind);
}

std::string_view Issue::kindName() const {
    static constexpr std::array<std::string_view, std::variant_size_v<Kind>> names{
        "notOwnedByUser", "parentDirectoryWritableByOthers", "groupWritable", "worldWritable"};
    return names[kind.index()];
}

std::optional<std::string> Issue::fixCommand() const {
    return std::visit(
        Overloaded{
            [this](const NotOwnedByUser&) {
                return "sudo chown \"$(id -un)\" " + ShellQuoting::singleQuoted(path);
            },
            [](const ParentDirectoryWritableByOthers& issue) {
                return "chmod 755 " + ShellQuoting::singleQuoted(issue.path);
            },
            [this](const auto&) { return "chmod 600 " + ShellQuoting::singleQuoted(path); },
        },
        kind);
}

Verdict inspect(const fs::path& file, std::uint32_t currentUser) {
    const fs::path resolved = resolvingSymlinks(file);
    const std::string path = resolved.string();
    Verdict verdict;
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0) {
        if (info.st_uid != currentUser && info.st_uid != 0)
            verdict.issues.push_back({Issue::NotOwnedByUser{info.st_uid}, path});
        if ((info.st_mode & S_IWGRP) != 0)
            verdict.issues.push_back({Issue::GroupWritable{}, path});
        if ((info.st_mode & S_IWOTH) != 0)
            verdict.issues.push_back({Issue::WorldWritable{}, path});
    }
    // Whoever may write the folder may replace the file, unless the sticky bit keeps others'
    // hands off entries they do not own (as in /tmp).
    const std::string folder = resolved.parent_path().string();
    if (::stat(folder.c_str(), &info) == 0 && (info.st_mode & (S_IWGRP | S_IWOTH)) != 0 &&
        (info.st_mode & S_ISVTX) == 0)
        verdict.issues.push_back({Issue::ParentDirectoryWritableByOthers{folder}, path});
    return verdict;
}

} // namespace kelvane::ConfigTrustCheck
