#pragma once

#include <QObject>
#include <QTimer>

#include <chrono>
#include <functional>

namespace kelvane {

/// How to learn whether the desktop shows a system tray, and how often to ask again while it
/// does not: a panel can start after Kelvane, a tray extension can be switched on later.
struct SystemTrayProbe {
    std::function<bool()> isAvailable;
    std::chrono::milliseconds interval = std::chrono::seconds(2);

    /// The desktop's answer through Qt.
    static SystemTrayProbe desktop();
};

/// Waits for a system tray. Without one Kelvane keeps running (the hot key and the quick search
/// need none) and says so in the log; the status icon follows as soon as a tray is there.
class SystemTrayWatch : public QObject {
    Q_OBJECT

public:
    explicit SystemTrayWatch(SystemTrayProbe probe, QObject* parent = nullptr);

    /// Calls `onAvailable` once: at once when there is a tray, otherwise at the first asking that
    /// finds one.
    void whenAvailable(std::function<void()> onAvailable);

private:
    void ask();

    SystemTrayProbe m_probe;
    QTimer m_timer;
    std::function<void()> m_onAvailable;
};

} // namespace kelvane
