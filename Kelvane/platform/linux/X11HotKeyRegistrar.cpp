#include "Kelvane/platform/HotKeyRegistrar.hpp"
#include "Kelvane/platform/linux/X11ErrorTrap.hpp"
#include "Kelvane/platform/linux/X11KeyMapping.hpp"

#include <QAbstractNativeEventFilter>
#include <QGuiApplication>

#include <array>
#include <optional>

// Last: Xlib's macros (None, Status, Bool) break the Qt headers.
#include <X11/Xlib.h>
#include <X11/keysym.h>
#include <xcb/xproto.h>

namespace kelvane {
namespace {

// The modifier bit that Num Lock sets in this server's keymap (usually Mod2), 0 without one.
unsigned numLockMask(Display* display) {
    const KeyCode numLock = XKeysymToKeycode(display, XK_Num_Lock);
    XModifierKeymap* map = XGetModifierMapping(display);
    unsigned mask = 0;
    for (int modifier = 0; numLock != 0 && modifier < 8; ++modifier)
        for (int index = 0; index < map->max_keypermod; ++index)
            if (map->modifiermap[modifier * map->max_keypermod + index] == numLock)
                mask = 1u << modifier;
    XFreeModifiermap(map);
    return mask;
}

// A passive grab matches the exact modifier state, and Num Lock and Caps Lock are modifiers in
// X: the combination is grabbed once for every state of the two locks.
struct KeyGrab {
    Window root;
    KeyCode keyCode;
    unsigned modifiers;
    unsigned lockMasks;

    std::array<unsigned, 4> variants() const {
        const unsigned numLock = lockMasks & ~LockMask;
        return {modifiers, modifiers | LockMask, modifiers | numLock, modifiers | lockMasks};
    }
};

// Grabs on the display of Qt's own connection, so that the presses arrive among the events Qt
// reads, where a native event filter picks them out.
class X11HotKeyRegistrar : public HotKeyRegistrar, private QAbstractNativeEventFilter {
public:
    ~X11HotKeyRegistrar() override {
        // Without the application its connection, and with it every grab, is gone already.
        if (QCoreApplication::instance())
            unregisterHotKey();
    }

    int32_t registerHotKey(uint32_t keyCode, uint32_t carbonModifiers) override {
        unregisterHotKey();
        Display* display = qtDisplay();
        if (!display)
            return grabsUnavailable;
        const std::optional<unsigned long> symbol = keySymbolForMacKeyCode(keyCode);
        const KeyCode x11KeyCode = symbol ? XKeysymToKeycode(display, *symbol) : 0;
        if (x11KeyCode == 0)
            return keyUnavailable;

        const KeyGrab grab{DefaultRootWindow(display), x11KeyCode,
                           modifierMaskForCarbonModifiers(carbonModifiers),
                           LockMask | numLockMask(display)};
        X11ErrorTrap trap(display);
        for (const unsigned modifiers : grab.variants())
            XGrabKey(display, grab.keyCode, modifiers, grab.root, False, GrabModeAsync,
                     GrabModeAsync);
        if (const int error = trap.firstError()) {
            // Some variants may have been granted before one was refused.
            ungrab(display, grab);
            return error == BadAccess ? combinationTaken : error;
        }
        m_display = display;
        m_grab = grab;
        if (!m_filterInstalled)
            QCoreApplication::instance()->installNativeEventFilter(this);
        m_filterInstalled = true;
        return 0;
    }

    void unregisterHotKey() override {
        if (m_grab)
            ungrab(m_display, *m_grab);
        m_grab.reset();
        // The release of a key held now goes to whoever has the keyboard then.
        m_held = false;
    }

    void setOnPress(std::function<void()> onPress) override { m_onPress = std::move(onPress); }

private:
    static Display* qtDisplay() {
        const auto* x11 =
            qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
        return x11 ? x11->display() : nullptr;
    }

    static void ungrab(Display* display, const KeyGrab& grab) {
        for (const unsigned modifiers : grab.variants())
            XUngrabKey(display, grab.keyCode, modifiers, grab.root);
        XSync(display, False);
    }

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) override {
        if (!m_grab || eventType != "xcb_generic_event_t")
            return false;
        const auto* event = static_cast<const xcb_generic_event_t*>(message);
        const uint8_t type = event->response_type & ~0x80;
        if (type != XCB_KEY_PRESS && type != XCB_KEY_RELEASE)
            return false;
        // Presses and releases share one layout.
        const auto* key = static_cast<const xcb_key_press_event_t*>(message);
        if (key->event != m_grab->root || key->detail != m_grab->keyCode)
            return false;
        if (type == XCB_KEY_RELEASE) {
            m_held = false;
            m_releaseTime = key->time;
            return true;
        }
        if ((key->state & 0xff & ~m_grab->lockMasks) != m_grab->modifiers)
            return false;
        // A held key repeats its press, with or without a release of the same moment before
        // each repeat; the combination counts once until it is let go.
        const bool repeated = m_held || key->time == m_releaseTime;
        m_held = true;
        if (!repeated && m_onPress)
            m_onPress();
        return true;
    }

    Display* m_display = nullptr;
    std::optional<KeyGrab> m_grab;
    bool m_filterInstalled = false;
    bool m_held = false;
    xcb_timestamp_t m_releaseTime = 0;
    std::function<void()> m_onPress;
};

} // namespace

std::unique_ptr<HotKeyRegistrar> makeHotKeyRegistrar() {
    return std::make_unique<X11HotKeyRegistrar>();
}

} // namespace kelvane
