#include "KelvaneCore/Search/FuzzyMatcher.hpp"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace kelvane::FuzzyMatcher {

// Found by GoogleTest through argument-dependent lookup, hence outside the unnamed namespace.
void PrintTo(const Match& match, std::ostream* out);
void PrintTo(const Match& match, std::ostream* out) {
    *out << "score " << match.score << " at";
    for (const std::int64_t index : match.matchedIndices)
        *out << ' ' << index;
}

namespace {

struct MatchCase {
    const char* name;
    std::string needle;
    std::string haystack;
    std::optional<Match> expected;
};

void expectMatches(const std::vector<MatchCase>& cases) {
    for (const MatchCase& c : cases)
        EXPECT_EQ(match(c.needle, c.haystack), c.expected) << c.name;
}

TEST(FuzzyMatcher, scoresGreedyAsciiMatches) {
    expectMatches({
        {"two word starts", "gp", "Git Pull", Match{14, {0, 4}}},
        {"word start then consecutive", "pull", "Git Pull", Match{34, {4, 5, 6, 7}}},
        {"earliest occurrence wins", "ab", "a xab", Match{8, {0, 4}}},
        {"upper-case needle", "GIT", "git", Match{25, {0, 1, 2}}},
        {"empty needle", "", "anything", Match{0, {}}},
        {"needle longer than haystack", "abc", "ab", std::nullopt},
        {"order matters", "ba", "ab", std::nullopt},
        {"surplus of 7 costs nothing", "abc", "abcdefghij", Match{25, {0, 1, 2}}},
        {"surplus of 8 costs one", "a", "a" + std::string(8, 'x'), Match{6, {0}}},
        {"upper-case letter far in", "q", std::string(21, '.') + "Q", Match{7 - 2, {21}}},
        {"punctuation is not case-folded", "`", std::string(20, '@'), std::nullopt},
        {"brace after brackets", "{", std::string(10, '[') + "{", Match{7 - 1, {10}}},
        {"long haystacks score below zero", "z", std::string(100, 'x') + "z", Match{1 - 12, {100}}},
    });
}

TEST(FuzzyMatcher, wordStartsFollowAnythingButLettersAndNumbers) {
    expectMatches({
        {"after underscore", "b", "a_b", Match{7, {2}}},
        {"after letter", "b", "ab", Match{1, {1}}},
        {"after umlaut", "b", "\u00E4b", Match{1, {1}}},
        {"after non-Latin digit", "b", "\u0663b", Match{1, {1}}},
        {"after emoji", "x", "\U0001F680x", Match{7, {1}}},
        {"after malformed byte", "cd",
         "ab\xFF"
         "cd",
         Match{16, {3, 4}}},
    });
}

TEST(FuzzyMatcher, countsUserPerceivedCharacters) {
    const std::string family = "\U0001F468\u200D\U0001F469\u200D\U0001F467";
    expectMatches({
        {"umlauts in both cases", "\u00DCBER", "\u00FCber", Match{34, {0, 1, 2, 3}}},
        {"combining mark stays with its letter", "bar", "Cafe\u0301 Bar", Match{25, {5, 6, 7}}},
        {"letter without its mark does not match", "cafe", "Cafe\u0301", std::nullopt},
        {"decomposed needle", "E\u0301", "cafe\u0301", Match{1, {3}}},
        {"emoji ZWJ sequence is one character", "fam", family + " Family", Match{25, {2, 3, 4}}},
        {"part of a ZWJ sequence does not match", "\U0001F469", family, std::nullopt},
        {"capital sharp s lower-cases to sharp s", "\u00DF", "STRA\u1E9EE", Match{1, {4}}},
        {"lower-casing does not expand sharp s", "STRASSE", "Stra\u00DFe", std::nullopt},
        {"dotted capital I stays one character", "i", "\u0130x", std::nullopt},
        {"carriage return and line feed are one character", "b", "a\r\nb", Match{7, {2}}},
        {"malformed bytes are characters of their own", "\xFF",
         "a\xFF"
         "b",
         Match{1, {1}}},
    });
}

TEST(FuzzyMatcher, needleGivesTheSameResultsWhenReused) {
    Needle needle("\u00FCb");
    const std::vector<std::string> haystacks = {"\u00DCberblick", "Grund\u00FCbung", "nothing"};
    for (int round = 0; round < 2; ++round) {
        for (const std::string& haystack : haystacks) {
            const std::optional<Match> expected = match("\u00FCb", haystack);
            EXPECT_EQ(needle.match(haystack), expected) << haystack;
            EXPECT_EQ(needle.score(haystack),
                      expected ? std::optional(expected->score) : std::nullopt)
                << haystack;
        }
    }
}

// Group titles that end in characters binding to what follows (U+0600 is a prepended mark),
// titles that start with combining marks, carriage returns, a final sigma, emoji sequences and
// empty titles: scanning each group once must score as the joined text does.
TEST(FuzzyMatcher, scoresAfterAGroupPathAsOnTheJoinedText) {
    const std::vector<std::vector<std::string>> paths = {
        {"Docker"},
        {"D\u00F6cker", "Logs"},
        {"a\u0600", "\u0301b\u0600\u0600"},
        {"", "\u0301", ""},
        {"a\r", "\n"},
        {"\u039F\u03A3", "\U0001F1E9\U0001F1EA"},
        {"x\u200D", "\U0001F468\u200D"},
    };
    const std::string titles[] = {"Logs",           "\u0301Logs", "",
                                  "\u03A3\u03A3 s", "\U0001F1EA", "\U0001F469 a"};
    const std::string needles[] = {
        "docker logs",   "dl",      "do\u0301l", "s",          "",
        "\u0600 \u0301", "\u03C3 ", "\u03C2",    "\U0001F1EA", "\u200D \U0001F469"};
    for (const std::string& needleText : needles) {
        Needle needle(needleText);
        for (const std::vector<std::string>& path : paths) {
            std::optional<Needle::PathScan> scan;
            std::string joined;
            for (const std::string& title : path) {
                scan = needle.extendedPath(scan ? &*scan : nullptr, title);
                joined += title + " ";
            }
            for (const std::string& title : titles)
                EXPECT_EQ(needle.scoreAfter(*scan, title), needle.score(joined + title))
                    << needleText << " / " << joined << " / " << title;
        }
    }
}

TEST(FuzzyMatcher, handlesHugeTextsInOnePass) {
    const std::string ascii(100'000, 'A');
    const std::optional<Match> whole = match(std::string(100'000, 'a'), ascii);
    ASSERT_TRUE(whole);
    EXPECT_EQ(whole->score, 7 + 9 * 99'999);
    EXPECT_EQ(whole->matchedIndices.back(), 99'999);
    EXPECT_EQ(match(ascii + "a", ascii), std::nullopt);
    EXPECT_EQ(match("ab", ascii), std::nullopt);

    std::string umlauts;
    for (int i = 0; i < 50'000; ++i)
        umlauts += "\u00C4";
    const std::optional<Match> last = match("\u00E4\u00E4", umlauts);
    ASSERT_TRUE(last);
    EXPECT_EQ(last->matchedIndices, (std::vector<std::int64_t>{0, 1}));
    EXPECT_EQ(last->score, 16 - 49'998 / 8);
    EXPECT_EQ(match(umlauts, umlauts)->matchedIndices.size(), 50'000U);

    std::string accented = "e";
    for (int i = 0; i < 50'000; ++i)
        accented += "\u0301";
    EXPECT_EQ(match("x", accented + "x"), (Match{1, {1}}));
    EXPECT_EQ(match("e", accented), std::nullopt);
    EXPECT_EQ(match("\xCC\xCC", std::string(100'000, '\xCC'))->matchedIndices,
              (std::vector<std::int64_t>{0, 1}));
}

} // namespace
} // namespace kelvane::FuzzyMatcher
