#pragma once

#include <cstdint>
#include <optional>

namespace kelvane {

/// The X key symbol (`KeySym`) that the key at the position of a macOS virtual key code types: the
/// letter, digit and punctuation keys of the ANSI block, Return, Tab, Space, Delete (BackSpace),
/// Escape, F1 to F20, the arrows, Home, End, Page Up, Page Down, Forward Delete, Help (Insert on PC
/// keyboards) and the keypad. None for keys PC keyboards lack (ISO §, JIS keys, keypad Clear,
/// which sits where Num Lock is) and for modifier keys.
std::optional<unsigned long> keySymbolForMacKeyCode(uint32_t keyCode);

/// The X modifier mask of a Carbon modifier mask, in Qt's convention: Command is Control, Control
/// is Super (Mod4), Option is Alt (Mod1), Shift is Shift.
unsigned modifierMaskForCarbonModifiers(uint32_t carbonModifiers);

} // namespace kelvane
