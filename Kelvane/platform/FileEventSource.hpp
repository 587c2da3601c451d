#pragma once

#include <filesystem>
#include <memory>

namespace kelvane {

/// Kernel notifications about one file-system object, in the terms of the macOS vnode events.
/// The watch follows the object, not its name: after a rename it reports on the renamed object.
/// The caller waits for `descriptor()` to become readable (with a socket notifier on the main
/// thread) and then collects the events with `takeEvents()`.
class FileEventSource {
public:
    /// Event kinds, combined into a bit set.
    enum Event : unsigned {
        /// The content was written; for a folder: an entry was added, removed or renamed.
        write = 1u << 0,
        /// The file grew.
        extend = 1u << 1,
        /// Owner, mode, link count or times changed.
        attrib = 1u << 2,
        /// The object was deleted.
        remove = 1u << 3,
        /// The object was renamed or moved.
        rename = 1u << 4,
        /// The object can no longer be watched (its file system went away, the watch was
        /// dropped); the caller should watch the path anew.
        revoke = 1u << 5,
    };

    virtual ~FileEventSource() = default;

    /// Readable while events are waiting.
    virtual int descriptor() const = 0;
    /// The events that arrived since the last call, limited to the ones asked for; never blocks.
    /// Zero when nothing of interest happened.
    virtual unsigned takeEvents() = 0;
};

/// Watches the object that `path` names now (through symbolic links) for the `events` (a set of
/// `FileEventSource::Event`). None when the path cannot be opened, for example while no file
/// exists there.
std::unique_ptr<FileEventSource> makeFileEventSource(const std::filesystem::path& path,
                                                     unsigned events);

} // namespace kelvane
