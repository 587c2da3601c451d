#include "Kelvane/platform/FileEventSource.hpp"

#include <sys/event.h>

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace kelvane {
namespace {

struct Flag {
    unsigned event;
    unsigned vnode;
};

constexpr Flag flags[] = {
    {FileEventSource::write, NOTE_WRITE},   {FileEventSource::extend, NOTE_EXTEND},
    {FileEventSource::attrib, NOTE_ATTRIB}, {FileEventSource::remove, NOTE_DELETE},
    {FileEventSource::rename, NOTE_RENAME}, {FileEventSource::revoke, NOTE_REVOKE},
};

// A kqueue with one vnode filter on a descriptor opened for events only; the kqueue itself
// polls readable while events are pending.
class KqueueFileEventSource : public FileEventSource {
public:
    KqueueFileEventSource(int queue, int object) : m_queue(queue), m_object(object) {}
    ~KqueueFileEventSource() override {
        ::close(m_queue);
        ::close(m_object);
    }
    KqueueFileEventSource(const KqueueFileEventSource&) = delete;
    KqueueFileEventSource& operator=(const KqueueFileEventSource&) = delete;

    int descriptor() const override { return m_queue; }

    unsigned takeEvents() override {
        const timespec noWait{};
        struct kevent received[8];
        unsigned events = 0;
        for (;;) {
            const int count = ::kevent(m_queue, nullptr, 0, received, 8, &noWait);
            if (count < 0 && errno == EINTR)
                continue;
            for (int index = 0; index < count; ++index)
                for (const Flag& flag : flags)
                    if (received[index].fflags & flag.vnode)
                        events |= flag.event;
            if (count < 8)
                return events;
        }
    }

private:
    int m_queue;
    int m_object;
};

} // namespace

std::unique_ptr<FileEventSource> makeFileEventSource(const std::filesystem::path& path,
                                                     unsigned events) {
    const int object = ::open(path.c_str(), O_EVTONLY | O_CLOEXEC);
    if (object < 0)
        return nullptr;
    const int queue = ::kqueue();
    if (queue < 0) {
        ::close(object);
        return nullptr;
    }
    unsigned vnodeFlags = 0;
    for (const Flag& flag : flags)
        if (events & flag.event)
            vnodeFlags |= flag.vnode;
    struct kevent change;
    EV_SET(&change, object, EVFILT_VNODE, EV_ADD | EV_CLEAR, vnodeFlags, 0, nullptr);
    if (::kevent(queue, &change, 1, nullptr, 0, nullptr) < 0) {
        ::close(queue);
        ::close(object);
        return nullptr;
    }
    return std::make_unique<KqueueFileEventSource>(queue, object);
}

} // namespace kelvane
