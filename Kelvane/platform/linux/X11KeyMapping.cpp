#include "Kelvane/platform/linux/X11KeyMapping.hpp"

#include "Kelvane/platform/MacKeyCodes.hpp"

#include <array>
#include <utility>

// Last: Xlib's macros (None, CursorShape) break the Qt headers.
#include <X11/X.h>
#include <X11/keysym.h>

namespace kelvane {
namespace {

struct KeySymbolEntry {
    MacKeyCodes::QtKey key;
    KeySym symbol;
};

// The keys whose Qt and X numberings have nothing in common. Keypad Clear is missing on purpose:
// PC keyboards have Num Lock in its place.
constexpr KeySymbolEntry keySymbols[]{
    {{Qt::Key_Return}, XK_Return},
    {{Qt::Key_Tab}, XK_Tab},
    {{Qt::Key_Backspace}, XK_BackSpace},
    {{Qt::Key_Escape}, XK_Escape},
    {{Qt::Key_Delete}, XK_Delete},
    {{Qt::Key_Insert}, XK_Insert},
    {{Qt::Key_Home}, XK_Home},
    {{Qt::Key_End}, XK_End},
    {{Qt::Key_PageUp}, XK_Page_Up},
    {{Qt::Key_PageDown}, XK_Page_Down},
    {{Qt::Key_Left}, XK_Left},
    {{Qt::Key_Right}, XK_Right},
    {{Qt::Key_Up}, XK_Up},
    {{Qt::Key_Down}, XK_Down},
    {{Qt::Key_Period, true}, XK_KP_Decimal},
    {{Qt::Key_Asterisk, true}, XK_KP_Multiply},
    {{Qt::Key_Plus, true}, XK_KP_Add},
    {{Qt::Key_Minus, true}, XK_KP_Subtract},
    {{Qt::Key_Slash, true}, XK_KP_Divide},
    {{Qt::Key_Equal, true}, XK_KP_Equal},
    {{Qt::Key_Enter, true}, XK_KP_Enter},
};

// Both numberings count the function keys and the keypad digits in one run.
static_assert(Qt::Key_F35 - Qt::Key_F1 == XK_F35 - XK_F1);
static_assert(Qt::Key_9 - Qt::Key_0 == XK_KP_9 - XK_KP_0);

std::optional<KeySym> keySymbolFor(MacKeyCodes::QtKey key) {
    // The key symbols of Latin-1 are its character codes; Qt names the letters by their capitals.
    if (!key.keypad && key.key >= Qt::Key_A && key.key <= Qt::Key_Z)
        return XK_a + (key.key - Qt::Key_A);
    if (!key.keypad && key.key < 0x100)
        return key.key;
    if (!key.keypad && key.key >= Qt::Key_F1 && key.key <= Qt::Key_F35)
        return XK_F1 + (key.key - Qt::Key_F1);
    if (key.keypad && key.key >= Qt::Key_0 && key.key <= Qt::Key_9)
        return XK_KP_0 + (key.key - Qt::Key_0);
    for (const KeySymbolEntry& entry : keySymbols)
        if (entry.key == key)
            return entry.symbol;
    return std::nullopt;
}

} // namespace

std::optional<unsigned long> keySymbolForMacKeyCode(uint32_t keyCode) {
    const auto key = MacKeyCodes::toQtKey(keyCode);
    return key ? keySymbolFor(*key) : std::nullopt;
}

unsigned modifierMaskForCarbonModifiers(uint32_t carbonModifiers) {
    constexpr std::array<std::pair<uint32_t, unsigned>, 4> modifiers{{
        {0x100, ControlMask}, // Command
        {0x200, ShiftMask},   // Shift
        {0x800, Mod1Mask},    // Option
        {0x1000, Mod4Mask},   // Control
    }};
    unsigned mask = 0;
    for (const auto& [carbon, x11] : modifiers)
        if (carbonModifiers & carbon)
            mask |= x11;
    return mask;
}

} // namespace kelvane
