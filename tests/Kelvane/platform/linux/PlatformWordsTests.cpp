#include "Kelvane/platform/HotKeyRegistrar.hpp"
#include "Kelvane/platform/PlatformWords.hpp"

#include <gtest/gtest.h>

#include <vector>

namespace kelvane {
namespace {

TEST(LinuxPlatformWords, nameNothingThatOnlyAMacHas) {
    const PlatformWords& words = platformWords();
    std::vector<std::string_view> texts{words.modifierSeparator, words.revealInFileManager,
                                        words.loginItemDisabledNote, words.terminalThatDidNotStart};
    for (const auto& [key, name] : words.modifierNames)
        texts.push_back(name);
    for (const auto& [code, name] : words.specialKeyNames)
        texts.push_back(name);
    for (const std::string_view text : texts) {
        for (const char* macWord :
             {"Finder", "Terminal.app", "Systemeinstellungen", "Bedienungshilfen", "Anmeldeobjekte",
              "Befehlstaste", "Wahltaste", "\u2318", "\u2325", "\u2303", "\u21E7", "\u232B",
              "\u238B"})
            EXPECT_EQ(text.find(macWord), std::string_view::npos) << text;
    }
    EXPECT_FALSE(words.privacySettings) << "there are no pages to open";
    EXPECT_FALSE(words.tabNote) << "tabs need no permission";
}

TEST(LinuxPlatformWords, combinationsReadAsTheDesktopsOwn) {
    const struct {
        ModifierKeys modifiers;
        const char* key;
        const char* text;
    } cases[] = {
        {{.option = true, .command = true}, "K", "Strg+Alt+K"},
        {{.shift = true, .command = true}, "Leertaste", "Strg+Umschalt+Leertaste"},
        {{.control = true, .option = true, .shift = true, .command = true},
         "F1",
         "Super+Strg+Alt+Umschalt+F1"},
        {{}, "F5", "F5"},
    };
    for (const auto& testCase : cases)
        EXPECT_EQ(keyCombinationText(testCase.modifiers, testCase.key), testCase.text);
}

// The app tests run on Qt's offscreen platform, where no X server can be asked for a grab.
TEST(X11HotKeyRegistrarOffscreen, refusesWithoutAnX11Connection) {
    auto registrar = makeHotKeyRegistrar();
    EXPECT_EQ(registrar->registerHotKey(40, 0x300), HotKeyRegistrar::grabsUnavailable);
    registrar->unregisterHotKey();
}

} // namespace
} // namespace kelvane
