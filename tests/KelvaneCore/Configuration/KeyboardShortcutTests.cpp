#include "KelvaneCore/Configuration/KeyboardShortcut.hpp"

#include <gtest/gtest.h>

namespace kelvane {
namespace {

using M = KeyboardShortcut::Modifiers;

TEST(KeyboardShortcut, parsesAcceptedTexts) {
    struct Case {
        std::string raw;
        std::string key;
        M modifiers;
    };
    const Case cases[] = {
        {"cmd+k", "k", M::command},
        {"\u2318\u21E7K", "k", {M::command, M::shift}},
        {"cmd+,", ",", M::command},
        {"cmd+\u00F6", "\u00F6", M::command},
        {"cmd++k", "k", M::command},
        {"cmd + shift + k", "k", {M::command, M::shift}},
        {"  ctrl+opt+alt+x ", "x", {M::control, M::option}},
        {"\u2303\u2325\u2318\u2318z", "z", {M::control, M::option, M::command}},
        {"cmd+\u00C4", "\u00E4", M::command},
    };
    for (const Case& c : cases) {
        const auto shortcut = KeyboardShortcut::parsing(c.raw);
        ASSERT_TRUE(shortcut.has_value()) << c.raw;
        EXPECT_EQ(shortcut->key, c.key) << c.raw;
        EXPECT_EQ(shortcut->modifiers, c.modifiers) << c.raw;
    }
}

TEST(KeyboardShortcut, rejectsTextsThatAreNoShortcut) {
    const std::string rejected[] = {"ctrl+alt+delete", "k", "\u2318",     "cmd+", "hyper+k",
                                    "k\u2318",         "",  "\u2318 + k", "++",   "cmd+return",
                                    "cmd+ab"};
    for (const std::string& raw : rejected)
        EXPECT_FALSE(KeyboardShortcut::parsing(raw).has_value()) << raw;
}

TEST(KeyboardShortcut, writesSymbolsInFixedOrderAndParsesBack) {
    const KeyboardShortcut shortcut = *KeyboardShortcut::parsing("\u2318\u21E7K");
    EXPECT_EQ(shortcut.symbolText(), "\u21E7\u2318k");
    const KeyboardShortcut all{"x", {M::command, M::shift, M::option, M::control}};
    EXPECT_EQ(all.symbolText(), "\u2303\u2325\u21E7\u2318x");
    EXPECT_EQ(KeyboardShortcut::parsing(all.symbolText()), all);
}

} // namespace
} // namespace kelvane
