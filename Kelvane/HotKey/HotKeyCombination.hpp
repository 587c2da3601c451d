#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kelvane {

/// The one global key combination: a layout-independent key code and a modifier mask, both in
/// the numbering of the macOS Carbon event manager, which is also how it is stored.
struct HotKeyCombination {
    static constexpr uint32_t cmdKey = 0x100;
    static constexpr uint32_t shiftKey = 0x200;
    static constexpr uint32_t optionKey = 0x800;
    static constexpr uint32_t controlKey = 0x1000;

    uint32_t keyCode = 0;
    uint32_t carbonModifiers = 0;

    /// From a key-down event's key code and modifier flags in AppKit numbering (Shift 0x20000,
    /// Control 0x40000, Option 0x80000, Command 0x100000); every other flag is dropped.
    static HotKeyCombination fromEvent(uint16_t keyCode, uint64_t modifierFlags);

    /// The stored text form, for example "49,2304"; none for any other text.
    static std::optional<HotKeyCombination> fromStoredValue(std::string_view text);

    /// "49,2304" for Option+Command+Space.
    std::string storedValue() const;

    /// The modifiers and the key in the platform's words: "⌥⌘Leertaste" or "Strg+Alt+Leertaste",
    /// "⌘Taste 125" for a key without a name.
    std::string displayString() const;

    bool operator==(const HotKeyCombination&) const = default;

private:
    std::string keyName() const;
};

} // namespace kelvane
