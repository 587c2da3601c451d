#pragma once

#include "Kelvane/platform/LoginItemService.hpp"

namespace kelvane {

/// Switches Kelvane's login item on and off. The state lives in the system only.
class LaunchAtLogin {
public:
    explicit LaunchAtLogin(LoginItemService& service);

    /// The one instance over the current user's login items, created on first use.
    static LaunchAtLogin& shared();

    /// True exactly when the system reports the item as enabled; waiting for the user's
    /// approval counts as off.
    bool isEnabled() const;

    /// True while the item is registered but waits for the user's approval in the system's
    /// settings.
    bool requiresApproval() const;

    /// Registers (always, so that an item waiting for approval is asked for again) or removes
    /// the login item. A refusal is logged and answered with false.
    bool setEnabled(bool on);

private:
    LoginItemService& m_service;
};

} // namespace kelvane
