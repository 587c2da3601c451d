#include "Kelvane/HotKey/HotKeyCombination.hpp"

#include "Kelvane/platform/PlatformWords.hpp"
#include "KelvaneCore/Text/Splitting.hpp"

#include <array>
#include <charconv>
#include <span>
#include <utility>

namespace kelvane {
namespace {

constexpr std::array<std::pair<uint32_t, std::string_view>, 60> keyNames{{
    {0, "A"},    {1, "S"},    {2, "D"},    {3, "F"},     {4, "H"},     {5, "G"},
    {6, "Z"},    {7, "X"},    {8, "C"},    {9, "V"},     {11, "B"},    {12, "Q"},
    {13, "W"},   {14, "E"},   {15, "R"},   {16, "Y"},    {17, "T"},    {18, "1"},
    {19, "2"},   {20, "3"},   {21, "4"},   {22, "6"},    {23, "5"},    {24, "="},
    {25, "9"},   {26, "7"},   {27, "-"},   {28, "8"},    {29, "0"},    {30, "]"},
    {31, "O"},   {32, "U"},   {33, "["},   {34, "I"},    {35, "P"},    {37, "L"},
    {38, "J"},   {39, "'"},   {40, "K"},   {41, ";"},    {42, "\\"},   {43, ","},
    {44, "/"},   {45, "N"},   {46, "M"},   {47, "."},    {50, "`"},    {49, "Leertaste"},
    {122, "F1"}, {120, "F2"}, {99, "F3"},  {118, "F4"},  {96, "F5"},   {97, "F6"},
    {98, "F7"},  {100, "F8"}, {101, "F9"}, {109, "F10"}, {103, "F11"}, {111, "F12"},
}};

// AppKit's modifier flag and the Carbon bit it becomes.
constexpr std::array<std::pair<uint64_t, uint32_t>, 4> modifierBits{{
    {0x40000, HotKeyCombination::controlKey},
    {0x80000, HotKeyCombination::optionKey},
    {0x20000, HotKeyCombination::shiftKey},
    {0x100000, HotKeyCombination::cmdKey},
}};

std::optional<uint32_t> parseUnsigned(std::string_view text) {
    if (text.starts_with('+'))
        text.remove_prefix(1);
    uint32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

} // namespace

HotKeyCombination HotKeyCombination::fromEvent(uint16_t keyCode, uint64_t modifierFlags) {
    HotKeyCombination combination{keyCode, 0};
    for (const auto& [flag, bit] : modifierBits)
        if ((modifierFlags & flag) != 0)
            combination.carbonModifiers |= bit;
    return combination;
}

std::optional<HotKeyCombination> HotKeyCombination::fromStoredValue(std::string_view text) {
    const std::vector<std::string_view> pieces = nonEmptyPieces(text, ',');
    if (pieces.size() != 2)
        return std::nullopt;
    const auto keyCode = parseUnsigned(pieces[0]);
    const auto modifiers = parseUnsigned(pieces[1]);
    if (!keyCode || !modifiers)
        return std::nullopt;
    return HotKeyCombination{*keyCode, *modifiers};
}

std::string HotKeyCombination::storedValue() const {
    return std::to_string(keyCode) + "," + std::to_string(carbonModifiers);
}

std::string HotKeyCombination::displayString() const {
    const ModifierKeys modifiers{.control = (carbonModifiers & controlKey) != 0,
                                 .option = (carbonModifiers & optionKey) != 0,
                                 .shift = (carbonModifiers & shiftKey) != 0,
                                 .command = (carbonModifiers & cmdKey) != 0};
    return keyCombinationText(modifiers, keyName());
}

std::string HotKeyCombination::keyName() const {
    using Names = std::span<const std::pair<uint32_t, std::string_view>>;
    for (const Names names : {Names(keyNames), Names(platformWords().specialKeyNames)})
        for (const auto& [code, name] : names)
            if (code == keyCode)
                return std::string(name);
    return "Taste " + std::to_string(keyCode);
}

} // namespace kelvane
