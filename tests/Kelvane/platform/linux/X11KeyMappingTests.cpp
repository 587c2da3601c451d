#include "Kelvane/platform/linux/X11KeyMapping.hpp"

#include <gtest/gtest.h>

#include <utility>

// Last: Xlib's macros (None, Status, Bool) break the GoogleTest headers.
#include <X11/X.h>
#include <X11/keysym.h>

namespace kelvane {
namespace {

// Key codes name positions, not a sequence; keys without a PC counterpart have no symbol.
TEST(X11KeyMapping, macKeyCodesNameKeyPositions) {
    constexpr std::optional<KeySym> none;
    const std::pair<uint32_t, std::optional<KeySym>> expected[] = {
        {0, XK_a},     {22, XK_6},  {23, XK_5},   {50, XK_grave}, {76, XK_KP_Enter},
        {92, XK_KP_9}, {99, XK_F3}, {126, XK_Up}, {10, none},     {55, none},
        {63, none},    {127, none}, {4096, none}};
    for (const auto& [keyCode, symbol] : expected)
        EXPECT_EQ(keySymbolForMacKeyCode(keyCode), symbol) << "key code " << keyCode;
}

TEST(X11KeyMapping, modifiersFollowQtsConventionCommandIsControl) {
    EXPECT_EQ(modifierMaskForCarbonModifiers(0x100), unsigned(ControlMask));
    EXPECT_EQ(modifierMaskForCarbonModifiers(0x200), unsigned(ShiftMask));
    EXPECT_EQ(modifierMaskForCarbonModifiers(0x800), unsigned(Mod1Mask));
    EXPECT_EQ(modifierMaskForCarbonModifiers(0x1000), unsigned(Mod4Mask));
    EXPECT_EQ(modifierMaskForCarbonModifiers(0x1b00),
              unsigned(ControlMask | ShiftMask | Mod1Mask | Mod4Mask));
    EXPECT_EQ(modifierMaskForCarbonModifiers(0), 0u);
}

} // namespace
} // namespace kelvane
