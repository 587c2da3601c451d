#pragma once

#include "Kelvane/HotKey/HotKeyCombination.hpp"
#include "Kelvane/platform/HotKeyRegistrar.hpp"

#include <QObject>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

namespace kelvane {

/// The one system-wide key combination that opens and closes the quick search. Failures to
/// register are logged under "hotkey" and kept as `registrationStatus()` for the settings to
/// show; the quick search stays reachable from the status menu. Main thread only.
class HotKeyService : public QObject {
    Q_OBJECT

public:
    /// Over the desktop's own registrar unless a test hands in another.
    explicit HotKeyService(std::unique_ptr<HotKeyRegistrar> registrar = makeHotKeyRegistrar());
    HotKeyService(const HotKeyService&) = delete;
    HotKeyService& operator=(const HotKeyService&) = delete;

    /// Replaces the registration: always removes the current one first, also when the new
    /// combination is the same; then registers the new one unless it is absent or has no modifier.
    void registerCombination(const std::optional<HotKeyCombination>& combination);

    /// Called once for every press of the registered combination.
    void setOnTrigger(std::function<void()> onTrigger);

    bool isRegistered() const { return m_registered; }
    /// The registrar's answer to the latest registration: 0 when it succeeded or when there was
    /// nothing to register, else its refusal (`HotKeyRegistrar::combinationTaken` and the rest).
    int32_t registrationStatus() const { return m_status; }

signals:
    /// After every `registerCombination`, whatever its outcome.
    void registrationChanged();

private:
    std::unique_ptr<HotKeyRegistrar> m_registrar;
    bool m_registered = false;
    int32_t m_status = 0;
    std::function<void()> m_onTrigger;
};

} // namespace kelvane
