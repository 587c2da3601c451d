#include "Kelvane/platform/FileEventSource.hpp"

#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>

namespace kelvane {
namespace {

constexpr uint32_t folderEntryChanges = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO;

// inotify reports a change of a folder's entries by name; the vnode model calls it a write
// of the folder. Content writes of a folder's children are not the folder's own change, so a
// folder is not asked for IN_MODIFY at all.
uint32_t inotifyMask(unsigned events, bool isFolder) {
    uint32_t mask = 0;
    if (events & (FileEventSource::write | FileEventSource::extend))
        mask |= isFolder ? folderEntryChanges : IN_MODIFY;
    if (events & FileEventSource::attrib)
        mask |= IN_ATTRIB;
    if (events & FileEventSource::remove)
        mask |= IN_DELETE_SELF;
    if (events & FileEventSource::rename)
        mask |= IN_MOVE_SELF;
    return mask;
}

unsigned vnodeEvents(const inotify_event& event, unsigned asked) {
    // The queue overflowed: anything may have happened, a deletion included.
    if (event.mask & IN_Q_OVERFLOW)
        return asked;
    if (event.len > 0)
        return (event.mask & folderEntryChanges) ? FileEventSource::write : 0u;
    unsigned events = 0;
    if (event.mask & IN_MODIFY)
        events |= FileEventSource::write | FileEventSource::extend;
    if (event.mask & IN_ATTRIB)
        events |= FileEventSource::attrib;
    if (event.mask & IN_DELETE_SELF)
        events |= FileEventSource::remove;
    if (event.mask & IN_MOVE_SELF)
        events |= FileEventSource::rename;
    if (event.mask & (IN_UNMOUNT | IN_IGNORED))
        events |= FileEventSource::revoke;
    return events;
}

// One inotify instance per watched object, so that closing it drops exactly that watch.
class InotifyFileEventSource : public FileEventSource {
public:
    InotifyFileEventSource(int instance, unsigned asked) : m_instance(instance), m_asked(asked) {}
    ~InotifyFileEventSource() override { ::close(m_instance); }
    InotifyFileEventSource(const InotifyFileEventSource&) = delete;
    InotifyFileEventSource& operator=(const InotifyFileEventSource&) = delete;

    int descriptor() const override { return m_instance; }

    unsigned takeEvents() override {
        alignas(inotify_event) char buffer[16 * (sizeof(inotify_event) + NAME_MAX + 1)];
        unsigned events = 0;
        for (;;) {
            const ssize_t count = ::read(m_instance, buffer, sizeof buffer);
            if (count < 0 && errno == EINTR)
                continue;
            if (count <= 0)
                break;
            for (ssize_t offset = 0; offset < count;) {
                inotify_event event;
                std::memcpy(&event, buffer + offset, sizeof event);
                events |= vnodeEvents(event, m_asked);
                offset += static_cast<ssize_t>(sizeof(inotify_event) + event.len);
            }
        }
        return events & m_asked;
    }

private:
    int m_instance;
    unsigned m_asked;
};

} // namespace

std::unique_ptr<FileEventSource> makeFileEventSource(const std::filesystem::path& path,
                                                     unsigned events) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0)
        return nullptr;
    const int instance = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (instance < 0)
        return nullptr;
    if (::inotify_add_watch(instance, path.c_str(), inotifyMask(events, S_ISDIR(status.st_mode))) <
        0) {
        ::close(instance);
        return nullptr;
    }
    return std::make_unique<InotifyFileEventSource>(instance, events);
}

} // namespace kelvane
