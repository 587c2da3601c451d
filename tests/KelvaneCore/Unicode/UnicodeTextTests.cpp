#include "KelvaneCore/Unicode/UnicodeText.hpp"

#include <gtest/gtest.h>

namespace kelvane::Unicode {
namespace {

// One buffer through every branch: ASCII, ICU (which may grow the text), invalid bytes.
TEST(UnicodeText, lowercasesFullUnicodeIntoAReusedBuffer) {
    std::string buffer = "left over from before";
    const std::pair<std::string, std::string> cases[] = {
        {"@AZ[`az{", "@az[`az{"},
        {"\u1E9E \u00C4", "\u00DF \u00E4"},
        {"\u0130", "i\u0307"},
        {"\xFF\u00C4\xC3", "\xFF\u00E4\xC3"},
        {"", ""},
    };
    for (const auto& [text, lower] : cases) {
        lowercase(text, buffer);
        EXPECT_EQ(buffer, lower) << text;
        EXPECT_EQ(lowercased(text), lower) << text;
    }
}

TEST(UnicodeText, trimsBlanksTabsAndSpaceSeparatorsButNotLineBreaks) {
    EXPECT_EQ(trimmed("  a b\t"), "a b");
    EXPECT_EQ(trimmed("\u00A0\u2003x\u3000"), "x");
    EXPECT_EQ(trimmed("\nx\n"), "\nx\n");
    // An invalid byte is not white space and stops the trim.
    EXPECT_EQ(trimmed(" \xFF "), "\xFF");
}

TEST(UnicodeText, splitsIntoUserPerceivedCharactersAfreshForEveryText) {
    using Characters = std::vector<std::string_view>;
    CharacterSplitter splitter;
    Characters result{"stale"};
    const std::pair<std::string_view, Characters> cases[] = {
        {"a\u00E4\U0001F1E9\U0001F1EA", {"a", "\u00E4", "\U0001F1E9\U0001F1EA"}},
        {"e\u0301x", {"e\u0301", "x"}},
        {"\U0001F468\u200D\U0001F469\u200D\U0001F467",
         {"\U0001F468\u200D\U0001F469\u200D\U0001F467"}},
        {"\xE2\x82x\xFF", {"\xE2\x82", "x", "\xFF"}},
        {"", {}},
    };
    for (const auto& [text, expected] : cases) {
        splitter.split(text, result);
        EXPECT_EQ(result, expected) << text;
        EXPECT_EQ(characters(text), expected) << text;
    }
    EXPECT_TRUE(isSingleCharacter("\U0001F1E9\U0001F1EA"));
    EXPECT_FALSE(isSingleCharacter("ab"));
    EXPECT_FALSE(isSingleCharacter(""));
}

// Word starts in the fuzzy matcher's tests walk letters, digits, emoji and malformed bytes.
TEST(UnicodeText, tellsLettersAndNumbersFromTheRest) {
    for (const char* text : {"0", "9", "Z", "\u2167", "\u00BD", "\u4E2D", "e\u0301"})
        EXPECT_TRUE(startsWithLetterOrNumber(text)) << text;
    for (const char* text : {"", "/", ":", "`", "{", "\u0301", "\u00A0"})
        EXPECT_FALSE(startsWithLetterOrNumber(text)) << text;
}

TEST(UnicodeText, findsTheFirstMalformedUTF8Byte) {
    struct Case {
        std::string bytes;
        std::optional<std::size_t> offset;
    };
    const Case cases[] = {
        {"plain ascii text that is longer than eight bytes", std::nullopt},
        {"abcdefghij\xFF", 10},
        {"\xC3", 0},                     // truncated sequence
        {"ab\xC0\xAF", 2},               // overlong slash
        {"x\xED\xA0\x80", 1},            // encoded surrogate
        {"12345678\xF4\x90\x80\x80", 8}, // beyond U+10FFFF
    };
    for (const Case& c : cases)
        EXPECT_EQ(firstInvalidUTF8Offset(c.bytes), c.offset) << c.bytes;
}

} // namespace
} // namespace kelvane::Unicode
