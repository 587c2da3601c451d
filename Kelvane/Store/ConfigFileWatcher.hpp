#pragma once

#include <QObject>
#include <QTimer>

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <utility>

namespace kelvane {

class WatchedObject;

/// Watches the configuration file and its folder and calls back once per burst of changes, a
/// quiet period after the last event. Survives editors that save by renaming a new file over
/// the old one or by moving the old one aside first, deletion and re-creation, and a file that
/// is a symbolic link (the folder of the link's final target is watched as well). Everything
/// happens on the main thread.
class ConfigFileWatcher : public QObject {
    Q_OBJECT

public:
    static constexpr std::chrono::milliseconds defaultQuietPeriod{150};

    /// Arms the folder's watch, then the file's.
    ConfigFileWatcher(std::filesystem::path url, std::function<void()> onChange,
                      std::chrono::milliseconds quietPeriod = defaultQuietPeriod,
                      QObject* parent = nullptr);
    ~ConfigFileWatcher() override;

    const std::filesystem::path& url() const { return m_url; }

    /// Drops the pending callback and every watch; a stopped watcher stays stopped.
    void stop();

    /// Whether the file itself (not only its folder) is watched now.
    bool isWatchingFile() const { return m_fileSource != nullptr; }
    /// Whether a callback waits for the quiet period to end.
    bool hasPendingChange() const { return m_quietPeriod.isActive(); }

private:
    using Identity = std::pair<dev_t, ino_t>;
    struct LaterDeletion {
        void operator()(WatchedObject* watched) const;
    };
    using Watch = std::unique_ptr<WatchedObject, LaterDeletion>;

    Watch watch(const std::filesystem::path& path, unsigned events,
                void (ConfigFileWatcher::*handler)(unsigned));
    void watchDirectory();
    void watchTargetDirectory();
    void watchFile();
    void fileChanged(unsigned events);
    void directoryChanged(unsigned events);
    void scheduleChange();

    std::filesystem::path m_url;
    std::function<void()> m_onChange;
    QTimer m_quietPeriod;
    Watch m_directorySource;
    Watch m_targetDirectorySource;
    std::filesystem::path m_targetDirectory;
    Watch m_fileSource;
    std::optional<Identity> m_fileIdentity;
};

} // namespace kelvane
