#include "Kelvane/Preferences/LaunchAtLogin.hpp"

#include "Kelvane/platform/Log.hpp"

#include <exception>

namespace kelvane {

LaunchAtLogin::LaunchAtLogin(LoginItemService& service) : m_service(service) {}

LaunchAtLogin& LaunchAtLogin::shared() {
    static const std::unique_ptr<LoginItemService> service = makeLoginItemService();
    static LaunchAtLogin instance(*service);
    return instance;
}

bool LaunchAtLogin::isEnabled() const {
    return m_service.status() == LoginItemService::Status::enabled;
}

bool LaunchAtLogin::requiresApproval() const {
    return m_service.status() == LoginItemService::Status::requiresApproval;
}

bool LaunchAtLogin::setEnabled(bool on) {
    if (!on && !isEnabled())
        return true;
    try {
        if (on)
            m_service.registerItem();
        else
            m_service.unregisterItem();
    } catch (const std::exception& error) {
        Log::error("loginitem",
                   std::string("Login-Item konnte nicht ge\u00e4ndert werden: ") + error.what());
        return false;
    }
    return true;
}

} // namespace kelvane
