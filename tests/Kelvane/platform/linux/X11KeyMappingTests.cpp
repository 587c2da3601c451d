#include "Kelvane/platform/linux/X11KeyMapping.hpp"

#include <gtest/gtest.h>

#include <utility>

// Last: Xlib's macros (None, Status, Bool) break the GoogleTest headers.
#include <X11/X.h>
#include <X11/keysym.h>

namespace kelvane {
namespace {

TEST(X11KeyMapping, macKeyCodesNameKeyPositionsNotASequence) {
    const std::pair<uint32_t, KeySym> expected[] = {
        {0, XK_a},         {22, XK_6},       {23, XK_5},         {36, XK_Return},
        {49, XK_space},    {50, XK_grave},   {51, XK_BackSpace}, {53, XK_Escape},
        {76, XK_KP_Enter}, {82, XK_KP_0},    {92, XK_KP_9},      {99, XK_F3},
        {116, XK_Page_Up}, {117, XK_Delete}, {122, XK_F1},       {126, XK_Up},
    };
    for (const auto& [keyCode, symbol] : expected)
        EXPECT_EQ(keySymbolForMacKeyCode(keyCode), symbol) << "key code " << keyCode;
}

TEST(X11KeyMapping, keysWithoutAPcCounterpartHaveNoSymbol) {
    for (const uint32_t keyCode : {10u, 52u, 54u, 55u, 56u, 57u, 63u, 71u, 93u, 127u, 4096u})
        EXPECT_EQ(keySymbolForMacKeyCode(keyCode), std::nullopt) << "key code " << keyCode;
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
