#include "Kelvane/HotKey/HotKeyCombination.hpp"
#include "Kelvane/platform/PlatformWords.hpp"

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

TEST(HotKeyCombination, namesItsModifiersAndItsKey) {
    struct Case {
        HotKeyCombination combination;
        ModifierKeys modifiers;
        std::string key;
    };
    const Case cases[] = {
        {{49, 2304}, {.option = true, .command = true}, "Leertaste"},
        {HotKeyCombination::fromEvent(122, command | shift | option | control),
         {.control = true, .option = true, .shift = true, .command = true},
         "F1"},
        {{126, 256}, {.command = true}, "Taste 126"},
        {{40, 0x1200}, {.control = true, .shift = true}, "K"},
        {{42, 0}, {}, "\\"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.combination.displayString(), keyCombinationText(c.modifiers, c.key));
    for (const auto& [code, name] : platformWords().specialKeyNames)
        EXPECT_EQ((HotKeyCombination{code, 0}.displayString()), name);
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
