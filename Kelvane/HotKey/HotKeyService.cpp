#include "Kelvane/HotKey/HotKeyService.hpp"

#include "Kelvane/platform/Log.hpp"

#include <string>

namespace kelvane {

HotKeyService::HotKeyService(std::unique_ptr<HotKeyRegistrar> registrar)
    : m_registrar(std::move(registrar)) {
    // The registrar dies with the service, so it never calls into a service that is gone.
    m_registrar->setOnPress([this] {
        if (m_onTrigger)
            m_onTrigger();
    });
}

void HotKeyService::registerCombination(const std::optional<HotKeyCombination>& combination) {
    if (m_registered)
        m_registrar->unregisterHotKey();
    m_registered = false;
    m_status = 0;
    // A key without a modifier would take that key away from every other program.
    if (combination && combination->carbonModifiers != 0) {
        m_status = m_registrar->registerHotKey(combination->keyCode, combination->carbonModifiers);
        m_registered = m_status == 0;
    }
    if (m_status != 0)
        Log::error("hotkey", "Hotkey konnte nicht registriert werden (Status " +
                                 std::to_string(m_status) + ") \u2014 vermutlich belegt.");
    emit registrationChanged();
}

void HotKeyService::setOnTrigger(std::function<void()> onTrigger) {
    m_onTrigger = std::move(onTrigger);
}

} // namespace kelvane
