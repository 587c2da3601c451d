#include "Kelvane/HotKey/HotKeyCombination.hpp"

#include <gtest/gtest.h>

namespace kelvane {
namespace {

constexpr uint64_t shift = 0x20000, control = 0x40000, option = 0x80000, command = 0x100000;
constexpr uint64_t capsLock = 0x10000, function = 0x800000;

TEST(HotKeyCombination, convertsEventsToCarbonMasks) {
    const HotKeyCombination optionCommandSpace = HotKeyCombination::fromEvent(49, option | command);
    EXPECT_EQ(optionCommandSpace, (HotKeyCombination{49, 2304}));
    EXPECT_EQ(optionCommandSpace.storedValue(), "49,2304");
    EXPECT_EQ(HotKeyCombination::fromEvent(40, command | capsLock | function).carbonModifiers,
              256U);
    EXPECT_EQ(HotKeyCombination::fromEvent(1, shift | control).carbonModifiers, 0x1200U);
}

TEST(HotKeyCombination, displaysGlyphsInFixedOrderThenTheKey) {
    struct Case {
        HotKeyCombination combination;
        std::string text;
    };
    const Case cases[] = {
        {{49, 2304}, "\u2325\u2318Leertaste"},
        {HotKeyCombination::fromEvent(122, command | shift | option | control),
         "\u2303\u2325\u21E7\u2318F1"},
        {{36, 256}, "\u2318\u21A9"},
        {{126, 256}, "\u2318Taste 126"},
        {{40, 0x1200}, "\u2303\u21E7K"},
        {{42, 0}, "\\"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.combination.displayString(), c.text);
}

TEST(HotKeyCombination, parsesOnlyTwoUnsignedNumbers) {
    EXPECT_EQ(HotKeyCombination::fromStoredValue("49,2304"), (HotKeyCombination{49, 2304}));
    EXPECT_EQ(HotKeyCombination::fromStoredValue(",49,,2304,"), (HotKeyCombination{49, 2304}));
    EXPECT_EQ(HotKeyCombination::fromStoredValue("+49,+0"), (HotKeyCombination{49, 0}));
    EXPECT_EQ(HotKeyCombination::fromStoredValue("4294967295,1"),
              (HotKeyCombination{4294967295U, 1}));
    for (const char* text :
         {"49", "49,2304,1", "a,1", "49,4294967296", "", "-1,2", "1, 2", "++1,2", "+,2"})
        EXPECT_EQ(HotKeyCombination::fromStoredValue(text), std::nullopt) << text;
}

} // namespace
} // namespace kelvane
