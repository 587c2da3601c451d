#include "Kelvane/platform/MacKeyCodes.hpp"

#include <gtest/gtest.h>

namespace kelvane {
namespace {

TEST(MacKeyCodesTest, everyCodeInTheTableComesBackFromItsQtKey) {
    int known = 0;
    for (uint32_t code = 0; code < 128; ++code) {
        const auto key = MacKeyCodes::toQtKey(code);
        if (!key)
            continue;
        ++known;
        const Qt::KeyboardModifiers keypad = key->keypad ? Qt::KeypadModifier : Qt::NoModifier;
        EXPECT_EQ(MacKeyCodes::fromQtKey(key->key, keypad), code);
        EXPECT_EQ(MacKeyCodes::fromQtKey(key->key, keypad | Qt::ShiftModifier), code);
    }
    EXPECT_EQ(known, 100);
}

TEST(MacKeyCodesTest, namesTheKeysOfTheAnsiLayout) {
    const std::vector<std::tuple<int, Qt::KeyboardModifiers, std::optional<uint16_t>>> cases = {
        {Qt::Key_K, Qt::ShiftModifier | Qt::ControlModifier, 40},
        {Qt::Key_Down, Qt::KeypadModifier, std::nullopt},
        {Qt::Key_Down, Qt::NoModifier, 125},
        {Qt::Key_Enter, Qt::KeypadModifier, 76},
        // Shifted symbols name the key they are typed on, but only with Shift held.
        {Qt::Key_Exclam, Qt::ShiftModifier, 18},
        {Qt::Key_Exclam, Qt::NoModifier, std::nullopt},
        {Qt::Key_Backtab, Qt::ShiftModifier, 48},
        {Qt::Key_Control, Qt::ControlModifier, std::nullopt},
    };
    for (const auto& [key, modifiers, code] : cases)
        EXPECT_EQ(MacKeyCodes::fromQtKey(key, modifiers), code) << std::hex << key;
}

TEST(MacKeyCodesTest, commandIsControlAndControlIsMeta) {
    EXPECT_EQ(MacKeyCodes::appKitModifierFlags(Qt::ControlModifier), 0x100000u);
    EXPECT_EQ(MacKeyCodes::appKitModifierFlags(Qt::MetaModifier), 0x40000u);
    EXPECT_EQ(MacKeyCodes::appKitModifierFlags(Qt::AltModifier | Qt::ShiftModifier), 0xA0000u);
    EXPECT_EQ(MacKeyCodes::appKitModifierFlags(Qt::KeypadModifier), 0u);
}

} // namespace
} // namespace kelvane
