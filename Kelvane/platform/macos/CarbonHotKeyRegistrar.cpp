#include "Kelvane/platform/HotKeyRegistrar.hpp"

#include <Carbon/Carbon.h>

namespace kelvane {
namespace {

// The event callback is a plain function without context: it reaches the newest registrar only
// through this slot, which holds that registrar's press callback weakly.
std::function<void()> sharedHandler;

OSStatus hotKeyPressed(EventHandlerCallRef, EventRef, void*) {
    // The process registers at most one combination, so which one was pressed does not matter.
    if (sharedHandler)
        sharedHandler();
    return noErr;
}

class CarbonHotKeyRegistrar : public HotKeyRegistrar {
public:
    CarbonHotKeyRegistrar() {
        sharedHandler = [weakPress = std::weak_ptr(m_onPress)] {
            if (auto onPress = weakPress.lock(); onPress && *onPress)
                (*onPress)();
        };
        const EventTypeSpec pressed{kEventClassKeyboard, kEventHotKeyPressed};
        InstallEventHandler(GetEventDispatcherTarget(), hotKeyPressed, 1, &pressed, nullptr,
                            &m_eventHandler);
    }

    ~CarbonHotKeyRegistrar() override {
        unregisterHotKey();
        if (m_eventHandler)
            RemoveEventHandler(m_eventHandler);
    }

    int32_t registerHotKey(uint32_t keyCode, uint32_t carbonModifiers) override {
        unregisterHotKey();
        const EventHotKeyID identifier{signature, 1};
        const OSStatus status = RegisterEventHotKey(keyCode, carbonModifiers, identifier,
                                                    GetEventDispatcherTarget(), 0, &m_hotKey);
        if (status != noErr)
            m_hotKey = nullptr;
        return status;
    }

    void unregisterHotKey() override {
        if (m_hotKey)
            UnregisterEventHotKey(m_hotKey);
        m_hotKey = nullptr;
    }

    void setOnPress(std::function<void()> onPress) override { *m_onPress = std::move(onPress); }

private:
    // The four characters "KLVN".
    static constexpr OSType signature = 'K' << 24 | 'L' << 16 | 'V' << 8 | 'N';

    std::shared_ptr<std::function<void()>> m_onPress = std::make_shared<std::function<void()>>();
    EventHandlerRef m_eventHandler = nullptr;
    EventHotKeyRef m_hotKey = nullptr;
};

} // namespace

std::unique_ptr<HotKeyRegistrar> makeHotKeyRegistrar() {
    return std::make_unique<CarbonHotKeyRegistrar>();
}

} // namespace kelvane
