#include "Kelvane/Desktop/SystemTrayWatch.hpp"

#include "Kelvane/platform/Log.hpp"

#include <QSystemTrayIcon>

namespace kelvane {

SystemTrayProbe SystemTrayProbe::desktop() {
    return {[] {
        return QSystemTrayIcon::isSystemTrayAvailable();
    }};
}

SystemTrayWatch::SystemTrayWatch(SystemTrayProbe probe, QObject* parent)
    : QObject(parent), m_probe(std::move(probe)) {
    m_timer.setInterval(m_probe.interval);
    connect(&m_timer, &QTimer::timeout, this, &SystemTrayWatch::ask);
}

void SystemTrayWatch::whenAvailable(std::function<void()> onAvailable) {
    m_onAvailable = std::move(onAvailable);
    if (m_probe.isAvailable()) {
        m_onAvailable();
        return;
    }
    Log::info(
        "statusitem",
        "Kein Infobereich (System-Tray) f\u00FCr das Statussymbol gefunden. Kelvane l\u00E4uft "
        "weiter: Der Kurzbefehl \u00F6ffnet die Schnellsuche, ein weiterer Start von Kelvane "
        "\u00F6ffnet das Men\u00FC. Das Symbol erscheint, sobald es einen Infobereich gibt.");
    m_timer.start();
}

void SystemTrayWatch::ask() {
    if (!m_probe.isAvailable())
        return;
    m_timer.stop();
    Log::info("statusitem", "Infobereich gefunden: Das Statussymbol wird angezeigt.");
    m_onAvailable();
}

} // namespace kelvane
