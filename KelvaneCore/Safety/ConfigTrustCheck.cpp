#include "KelvaneCore/Safety/ConfigTrustCheck.hpp"
#include "KelvaneCore/Text/GermanQuotes.hpp"

#include <algorithm>
#include <array>
#include <cerrno>
#include <climits>
#include <deque>

#include "KelvaneCore/Configuration/Overloaded.hpp"
#include "KelvaneCore/Files/FileAccess.hpp"
#include "KelvaneCore/Terminal/ShellQuoting.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kelvane::ConfigTrustCheck {
namespace {

namespace fs = std::filesystem;

// Folders are only looked into, so the right to search one is enough to hold it open.
#if defined(O_PATH)
constexpr int folderFlags = O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
#elif defined(O_SEARCH)
constexpr int folderFlags = O_SEARCH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
#else
constexpr int folderFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
#endif
// Non-blocking, so that a named pipe does not wait for a writer.
constexpr int fileFlags = O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;

std::string childPath(const std::string& folder, const std::string& name) {
    return folder == "/" ? folder + name : folder + "/" + name;
}

// The names after the root, in order; a trailing slash leaves an empty last name.
std::deque<std::string> namesOf(const fs::path& path) {
    std::deque<std::string> names;
    for (const fs::path& name : path.relative_path())
        names.push_back(name.string());
    return names;
}

class PathWalk {
public:
    explicit PathWalk(std::uint32_t currentUser) : m_user(currentUser) {}

    OpenedFile run(const fs::path& file);

private:
    struct Folder {
        FileDescriptor descriptor;
        std::string path;
    };

    bool trusts(uid_t owner) const { return owner == m_user || owner == 0; }
    void judgeFile(const struct stat& file);
    bool judgeCurrentFolder();
    bool follow(const std::string& name, const struct stat& link);
    void addOnTheWay(std::vector<Issue::Kind> found);
    OpenedFile finish(const std::string& path, FileDescriptor descriptor, int error) const;
    OpenedFile stopAt(const std::string& name, int error) const;

    std::uint32_t m_user;
    // From the root to the folder being looked into.
    std::vector<Folder> m_folders;
    std::deque<std::string> m_names;
    int m_links = 0;
    std::vector<Issue::Kind> m_fileIssues;
    std::vector<Issue::Kind> m_issuesOnTheWay;
};

OpenedFile PathWalk::run(const fs::path& file) {
    std::error_code error;
    const fs::path absolute = fs::absolute(file, error);
    if (error)
        return finish(file.string(), {}, error.value());
    m_names = namesOf(absolute);
    m_folders.push_back({FileDescriptor(::open("/", folderFlags)), "/"});
    if (!m_folders.back().descriptor.isOpen())
        return finish(absolute.string(), {}, errno);
    while (!m_names.empty()) {
        const std::string name = std::move(m_names.front());
        m_names.pop_front();
        if (name.empty() || name == ".")
            continue;
        if (name == "..") {
            if (m_folders.size() > 1)
                m_folders.pop_back();
            continue;
        }
        if (!judgeCurrentFolder())
            return stopAt(name, errno);
        const bool last = m_names.empty();
        const int here = m_folders.back().descriptor.get();
        FileDescriptor opened(::openat(here, name.c_str(), last ? fileFlags : folderFlags));
        const int openError = errno;
        struct stat info {};
        const bool examined = opened.isOpen()
                                  ? ::fstat(opened.get(), &info) == 0
                                  : ::fstatat(here, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0;
        if (examined && S_ISLNK(info.st_mode)) {
            if (!follow(name, info)) {
                if (errno == ELOOP)
                    return finish(absolute.lexically_normal().string(), {}, ELOOP);
                return stopAt(name, errno);
            }
            continue;
        }
        if (last) {
            // A file that cannot be opened is still judged, for the verdict alone.
            if (examined)
                judgeFile(info);
            const int error = opened.isOpen() ? 0 : openError;
            return finish(childPath(m_folders.back().path, name), std::move(opened), error);
        }
        if (!opened.isOpen())
            return stopAt(name, openError);
        m_folders.push_back({std::move(opened), childPath(m_folders.back().path, name)});
    }
    // The path names a folder ("/", or it ends in a slash or ".."), not a file.
    return finish(m_folders.back().path, {}, EISDIR);
}

void PathWalk::judgeFile(const struct stat& file) {
    if (!trusts(file.st_uid))
        m_fileIssues.push_back(Issue::NotOwnedByUser{static_cast<std::uint32_t>(file.st_uid)});
    if ((file.st_mode & S_IWGRP) != 0)
        m_fileIssues.push_back(Issue::GroupWritable{});
    if ((file.st_mode & S_IWOTH) != 0)
        m_fileIssues.push_back(Issue::WorldWritable{});
}

// Judged through the descriptor that the next name is looked up in, so what is judged is what
// is used. Whoever may write a folder may replace what it holds, unless the sticky bit keeps
// others' hands off entries they do not own (as in /tmp); its owner may do so in any case.
bool PathWalk::judgeCurrentFolder() {
    const Folder& folder = m_folders.back();
    struct stat info {};
    if (::fstat(folder.descriptor.get(), &info) != 0)
        return false;
    std::vector<Issue::Kind> found;
    if (!trusts(info.st_uid))
        found.push_back(
            Issue::DirectoryNotOwnedByUser{folder.path, static_cast<std::uint32_t>(info.st_uid)});
    if ((info.st_mode & (S_IWGRP | S_IWOTH)) != 0 && (info.st_mode & S_ISVTX) == 0)
        found.push_back(Issue::ParentDirectoryWritableByOthers{folder.path});
    addOnTheWay(std::move(found));
    return true;
}

// The link's folder has been judged, so only its owner and the superuser can change the link
// between its examination and its reading.
bool PathWalk::follow(const std::string& name, const struct stat& link) {
    const Folder& folder = m_folders.back();
    if (!trusts(link.st_uid))
        addOnTheWay({Issue::LinkNotOwnedByUser{childPath(folder.path, name),
                                               static_cast<std::uint32_t>(link.st_uid)}});
    if (++m_links > FileAccess::maxSymbolicLinks) {
        errno = ELOOP;
        return false;
    }
    std::string target(PATH_MAX, '\0');
    const ssize_t length =
        ::readlinkat(folder.descriptor.get(), name.c_str(), target.data(), target.size());
    if (length < 0)
        return false;
    if (static_cast<std::size_t>(length) == target.size()) {
        errno = ENAMETOOLONG;
        return false;
    }
    target.resize(static_cast<std::size_t>(length));
    const fs::path targetPath(target);
    if (targetPath.is_absolute())
        m_folders.erase(m_folders.begin() + 1, m_folders.end());
    const std::deque<std::string> names = namesOf(targetPath);
    m_names.insert(m_names.begin(), names.begin(), names.end());
    return true;
}

// The nearest to the file first: each newly judged folder or link goes before those above it.
void PathWalk::addOnTheWay(std::vector<Issue::Kind> found) {
    std::erase_if(found, [this](const Issue::Kind& kind) {
        return std::find(m_issuesOnTheWay.begin(), m_issuesOnTheWay.end(), kind) !=
               m_issuesOnTheWay.end();
    });
    m_issuesOnTheWay.insert(m_issuesOnTheWay.begin(), found.begin(), found.end());
}

OpenedFile PathWalk::finish(const std::string& path, FileDescriptor descriptor, int error) const {
    OpenedFile result{{}, path, std::move(descriptor), error};
    for (const auto* kinds : {&m_fileIssues, &m_issuesOnTheWay})
        for (const Issue::Kind& kind : *kinds)
            result.verdict.issues.push_back({kind, path});
    return result;
}

// The path as far as it was resolved, with the names not reached appended as written.
OpenedFile PathWalk::stopAt(const std::string& name, int error) const {
    fs::path path = childPath(m_folders.back().path, name);
    for (const std::string& rest : m_names)
        path /= rest;
    return finish(path.lexically_normal().string(), {}, error);
}

// Hands the path over to the user who pastes the command.
std::string chownCommand(std::string_view options, const std::string& path) {
    return "sudo chown " + std::string(options) + "\"$(id -un)\" " +
           ShellQuoting::singleQuoted(path);
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
                          [](const DirectoryNotOwnedByUser& issue) {
                              return "Der Ordner " + germanQuoted(issue.path) +
                                     " geh\u00F6rt Benutzer-ID " + std::to_string(issue.owner) +
                                     ", nicht dir.";
                          },
                          [](const LinkNotOwnedByUser& issue) {
                              return "Der symbolische Link " + germanQuoted(issue.path) +
                                     " geh\u00F6rt Benutzer-ID " + std::to_string(issue.owner) +
                                     ", nicht dir.";
                          },
                      },
                      kind);
}

std::string_view Issue::kindName() const {
    static constexpr std::array<std::string_view, std::variant_size_v<Kind>> names{
        "notOwnedByUser", "parentDirectoryWritableByOthers", "groupWritable",
        "worldWritable",  "directoryNotOwnedByUser",         "linkNotOwnedByUser"};
    return names[kind.index()];
}

std::optional<std::string> Issue::fixCommand() const {
    return std::visit(
        Overloaded{
            [this](const NotOwnedByUser&) { return chownCommand("", path); },
            [](const ParentDirectoryWritableByOthers& issue) {
                return "chmod 755 " + ShellQuoting::singleQuoted(issue.path);
            },
            [](const DirectoryNotOwnedByUser& issue) { return chownCommand("", issue.path); },
            // -h: the link itself, not what it points to.
            [](const LinkNotOwnedByUser& issue) { return chownCommand("-h ", issue.path); },
            [this](const auto&) { return "chmod 600 " + ShellQuoting::singleQuoted(path); },
        },
        kind);
}

OpenedFile openInspected(const fs::path& file, std::uint32_t currentUser) {
    return PathWalk(currentUser).run(file);
}

Verdict inspect(const fs::path& file, std::uint32_t currentUser) {
    return openInspected(file, currentUser).verdict;
}

} // namespace kelvane::ConfigTrustCheck
