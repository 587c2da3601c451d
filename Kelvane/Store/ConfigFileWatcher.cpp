#include "Kelvane/Store/ConfigFileWatcher.hpp"

#include "Kelvane/platform/FileEventSource.hpp"
#include "Kelvane/platform/Log.hpp"

#include "KelvaneCore/Files/FileAccess.hpp"
#include "KelvaneCore/Files/FileError.hpp"

#include <QSocketNotifier>

#include <sys/stat.h>

namespace kelvane {

/// One watched object: its kernel event source and the notifier that reads it on the main
/// thread. A handler may replace the very watch that called it, so a finished watch is only
/// silenced at once and deleted later.
class WatchedObject : public QObject {
public:
    WatchedObject(std::unique_ptr<FileEventSource> source, std::function<void(unsigned)> handler,
                  QObject* parent)
        : QObject(parent), m_source(std::move(source)),
          m_notifier(m_source->descriptor(), QSocketNotifier::Read, this) {
        connect(&m_notifier, &QSocketNotifier::activated, this,
                [this, handler = std::move(handler)] {
                    if (const unsigned events = m_source->takeEvents())
                        handler(events);
                });
    }

    void cancel() {
        m_notifier.setEnabled(false);
        m_source.reset();
    }

private:
    std::unique_ptr<FileEventSource> m_source;
    QSocketNotifier m_notifier;
};

namespace {

constexpr unsigned fileEvents = FileEventSource::write | FileEventSource::extend |
                                FileEventSource::attrib | FileEventSource::remove |
                                FileEventSource::rename | FileEventSource::revoke;
// Entries coming and going, and the folder's own mode: a folder made writable for others makes
// the file untrusted, which the next reload has to notice.
constexpr unsigned directoryEvents = FileEventSource::write | FileEventSource::attrib;
constexpr unsigned replacedEvents =
    FileEventSource::remove | FileEventSource::rename | FileEventSource::revoke;

std::filesystem::path folderOf(const std::filesystem::path& path) {
    return path.has_parent_path() ? path.parent_path() : std::filesystem::path(".");
}

std::optional<std::pair<dev_t, ino_t>> identityOf(const std::filesystem::path& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0)
        return std::nullopt;
    return std::pair(status.st_dev, status.st_ino);
}

} // namespace

void ConfigFileWatcher::LaterDeletion::operator()(WatchedObject* watched) const {
    watched->cancel();
    watched->deleteLater();
}

ConfigFileWatcher::ConfigFileWatcher(std::filesystem::path url, std::function<void()> onChange,
                                     std::chrono::milliseconds quietPeriod, QObject* parent)
    : QObject(parent), m_url(std::move(url)), m_onChange(std::move(onChange)) {
    m_quietPeriod.setSingleShot(true);
    m_quietPeriod.setTimerType(Qt::PreciseTimer);
    m_quietPeriod.setInterval(quietPeriod);
    connect(&m_quietPeriod, &QTimer::timeout, this, [this] {
        if (m_onChange)
            m_onChange();
    });
    watchDirectory();
    watchFile();
}

ConfigFileWatcher::~ConfigFileWatcher() = default;

void ConfigFileWatcher::stop() {
    m_quietPeriod.stop();
    m_fileSource.reset();
    m_fileIdentity.reset();
    m_directorySource.reset();
    m_targetDirectorySource.reset();
    m_targetDirectory.clear();
}

ConfigFileWatcher::Watch ConfigFileWatcher::watch(const std::filesystem::path& path,
                                                  unsigned events,
                                                  void (ConfigFileWatcher::*handler)(unsigned)) {
    std::unique_ptr<FileEventSource> source = makeFileEventSource(path, events);
    if (!source)
        return nullptr;
    return Watch(new WatchedObject(
        std::move(source), [this, handler](unsigned happened) { (this->*handler)(happened); },
        this));
}

void ConfigFileWatcher::watchDirectory() {
    m_directorySource =
        watch(folderOf(m_url), directoryEvents, &ConfigFileWatcher::directoryChanged);
}

// A file that is a symbolic link lives on in the folder of its final target: editors replace
// and re-create it there, where the folder of the link sees nothing.
void ConfigFileWatcher::watchTargetDirectory() {
    std::filesystem::path target;
    try {
        target = folderOf(FileAccess::finalLinkTarget(m_url)).lexically_normal();
    } catch (const FileError&) {
        // A link loop: nothing to follow.
    }
    if (target.empty() || target == folderOf(m_url).lexically_normal()) {
        m_targetDirectorySource.reset();
        m_targetDirectory.clear();
        return;
    }
    if (target == m_targetDirectory && m_targetDirectorySource)
        return;
    m_targetDirectory = target;
    m_targetDirectorySource = watch(target, directoryEvents, &ConfigFileWatcher::directoryChanged);
}

void ConfigFileWatcher::watchFile() {
    m_fileSource.reset();
    m_fileIdentity.reset();
    watchTargetDirectory();
    m_fileSource = watch(m_url, fileEvents, &ConfigFileWatcher::fileChanged);
    if (!m_fileSource) {
        Log::write("watcher", Log::Level::debug,
                   "Datei noch nicht vorhanden \u2014 warte auf das Verzeichnis.");
        return;
    }
    m_fileIdentity = identityOf(m_url);
}

void ConfigFileWatcher::fileChanged(unsigned events) {
    if (events & replacedEvents)
        watchFile();
    scheduleChange();
}

// A new file in place of the watched one does not always tell the old one (a second hard
// link keeps it alive, a retargeted symbolic link leaves it untouched), so the folder's events
// also compare what the path names now with what is watched.
void ConfigFileWatcher::directoryChanged(unsigned) {
    if (!m_fileSource || identityOf(m_url) != m_fileIdentity)
        watchFile();
    scheduleChange();
}

void ConfigFileWatcher::scheduleChange() {
    m_quietPeriod.start();
}

} // namespace kelvane
