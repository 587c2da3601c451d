#pragma once

#include <Qt>

#include <cstdint>
#include <optional>

namespace kelvane {

/// Qt's keys in the layout-independent virtual key codes of macOS (`kVK_*`), the numbering in
/// which a hot-key combination is stored. One table serves both directions and the X11 grabs, so a
/// combination recorded from a Qt key press always names the key it is grabbed with again.
namespace MacKeyCodes {

/// A Qt key with the keypad flag that tells its keypad twin apart.
struct QtKey {
    Qt::Key key = Qt::Key_unknown;
    bool keypad = false;

    bool operator==(const QtKey&) const = default;
};

/// The key code of a pressed key, none for a key that has no place in the table (modifier keys
/// alone among them). With Shift held, a symbol of the US layout's shifted row ("!", "{", ...)
/// and Backtab stand for the key they are typed on.
std::optional<uint16_t> fromQtKey(int key, Qt::KeyboardModifiers modifiers);

/// The Qt key for a key code; none for a code the table lacks.
std::optional<QtKey> toQtKey(uint32_t keyCode);

/// AppKit's modifier flags for Qt's: Command is Ctrl, Control is Meta, Option is Alt.
uint64_t appKitModifierFlags(Qt::KeyboardModifiers modifiers);

} // namespace MacKeyCodes
} // namespace kelvane
