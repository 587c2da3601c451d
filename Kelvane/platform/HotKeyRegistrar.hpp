#pragma once

#include <cstdint>
#include <functional>
#include <memory>

namespace kelvane {

/// The system's registry of global key combinations, holding at most one combination for the
/// process. Main thread only.
class HotKeyRegistrar {
public:
    /// Another program holds the combination (Carbon's eventHotKeyExistsErr); X11 answers a
    /// refused grab with it as well.
    static constexpr int32_t combinationTaken = -9878;
    /// The key cannot be typed on this keyboard (Carbon's eventHotKeyInvalidErr).
    static constexpr int32_t keyUnavailable = -9879;
    /// The desktop offers no global key grabs, for example on Wayland or without a display
    /// (Carbon's eventInternalErr).
    static constexpr int32_t grabsUnavailable = -9868;

    virtual ~HotKeyRegistrar() = default;

    /// Registers the one combination (Carbon key code and Carbon modifier mask); 0 or the system's
    /// refusal status. Nothing stays registered after a refusal.
    virtual int32_t registerHotKey(uint32_t keyCode, uint32_t carbonModifiers) = 0;
    /// Removes the registration, if there is one.
    virtual void unregisterHotKey() = 0;
    /// Called on the main thread for every press of the registered combination.
    virtual void setOnPress(std::function<void()> onPress) = 0;
};

/// The registrar of the running desktop: Carbon hot keys on macOS, passive key grabs on X11.
std::unique_ptr<HotKeyRegistrar> makeHotKeyRegistrar();

} // namespace kelvane
