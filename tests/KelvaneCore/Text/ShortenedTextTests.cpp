#include "KelvaneCore/Text/ShortenedText.hpp"

#include <gtest/gtest.h>

namespace kelvane {
namespace {

TEST(ShortenedText, keepsShortTextsAndCutsLongOnesInTheMiddleAtCharacterBoundaries) {
    const std::string upToTheLimit(240, 'a');
    EXPECT_EQ(shortened(upToTheLimit), upToTheLimit);
    EXPECT_EQ(ShortenedText("items").appended(" \u203A ").appended("Server").shown(),
              "items \u203A Server");

    const std::string ends =
        std::string(119, 'h') + "\u00E4" + std::string(300, 'm') + "\u00F6" + std::string(119, 't');
    // The ä and the ö straddle the cut points and are left out whole.
    EXPECT_EQ(shortened(ends), std::string(119, 'h') + "\u2026" + std::string(119, 't'));

    // Built piece by piece, the text shows as if it had been given whole.
    ShortenedText path("items");
    std::string whole = "items";
    for (int i = 0; i < 50; ++i) {
        const std::string title = "Gruppe " + std::to_string(i);
        path = path.appended(" \u203A ").appended(title);
        whole += " \u203A " + title;
    }
    EXPECT_EQ(path.length(), whole.size());
    EXPECT_EQ(path.shown(), shortened(whole));
    EXPECT_EQ(path.shown().substr(0, 20), whole.substr(0, 20));
    EXPECT_TRUE(path.shown().ends_with("Gruppe 49"));
}

} // namespace
} // namespace kelvane
