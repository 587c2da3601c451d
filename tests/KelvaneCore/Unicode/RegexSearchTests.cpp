#include "KelvaneCore/Unicode/RegexSearch.hpp"

#include <gtest/gtest.h>

#include <limits>
#include <stdexcept>
#include <vector>

namespace kelvane::Unicode {
namespace {

using namespace std::string_literals;
using Status = SearchResult::Status;

constexpr std::int32_t ampleBudget = std::numeric_limits<std::int32_t>::max();

SearchResult firstMatchOf(std::string_view pattern, std::string_view text,
                          CaseSensitivity caseSensitivity = CaseSensitivity::insensitive) {
    SearchBudget budget{ampleBudget};
    return RegexPattern(pattern, caseSensitivity).firstMatch(SearchText(text), budget);
}

TEST(SearchText, substitutesIllFormedSequencesAndMapsOffsetsBack) {
    struct Case {
        std::string utf8;
        std::u16string utf16;
        // For every UTF-16 offset, the byte offset it starts at.
        std::vector<std::size_t> offsets;
    };
    const Case cases[] = {
        {"", u"", {0}},
        {"ab", u"ab", {0, 1, 2}},
        {"a\0b"s, u"a\0b"s, {0, 1, 2, 3}},
        {"\u00E4x", u"\u00E4x", {0, 2, 3}},
        {"\U0001F600!", u"\U0001F600!", {0, 4, 4, 5}},
        {"a\xFF"
         "b",
         u"a\uFFFDb",
         {0, 1, 2, 3}},
        // A truncated three-byte sequence is one maximal ill-formed part, hence one U+FFFD.
        {"\xE2\x82"
         "x",
         u"\uFFFDx",
         {0, 2, 3}},
        {"\xC0\xAF", u"\uFFFD\uFFFD", {0, 1, 2}},
        {"x\xED\xA0\x80", u"x\uFFFD\uFFFD\uFFFD", {0, 1, 2, 3, 4}},
    };
    for (const Case& c : cases) {
        const SearchText text(c.utf8);
        EXPECT_EQ(text.utf16(), c.utf16) << c.utf8;
        for (std::size_t i = 0; i < c.offsets.size(); ++i)
            EXPECT_EQ(text.utf8Offset(i), c.offsets[i]) << c.utf8 << " at " << i;
    }
}

TEST(RegexPattern, rejectsPatternsThatDoNotCompile) {
    EXPECT_THROW(RegexPattern("(unclosed", CaseSensitivity::sensitive), std::invalid_argument);
    EXPECT_THROW(RegexPattern("a{2,1}", CaseSensitivity::sensitive), std::invalid_argument);
}

TEST(RegexPattern, findsTheLeftmostMatchAsOriginalBytes) {
    struct Case {
        std::string pattern;
        std::string text;
        CaseSensitivity caseSensitivity;
        Status status;
        std::string matched;
    };
    const Case cases[] = {
        {"line (\\d+)", "error at line 12, line 14", CaseSensitivity::sensitive, Status::found,
         "line 12"},
        {"line (\\d+)", "LINE 12", CaseSensitivity::sensitive, Status::notFound, ""},
        {"line (\\d+)", "LINE 12", CaseSensitivity::insensitive, Status::found, "LINE 12"},
        {"\\bsudo\\b", "gr\u00FC\u00DFe; sudo ls", CaseSensitivity::insensitive, Status::found,
         "sudo"},
        {"\\w+", "\u00C4rger!", CaseSensitivity::insensitive, Status::found, "\u00C4rger"},
        {"a.b",
         "xa\xFF"
         "b",
         CaseSensitivity::sensitive, Status::found,
         "a\xFF"
         "b"},
        {"a.b", "a\0b"s, CaseSensitivity::sensitive, Status::found, "a\0b"s},
        {"\\U0001F600+", "hi \U0001F600\U0001F600 ho", CaseSensitivity::sensitive, Status::found,
         "\U0001F600\U0001F600"},
        {"x", "", CaseSensitivity::sensitive, Status::notFound, ""},
    };
    for (const Case& c : cases) {
        const SearchResult result = firstMatchOf(c.pattern, c.text, c.caseSensitivity);
        EXPECT_EQ(result.status, c.status) << c.pattern << " in " << c.text;
        EXPECT_EQ(result.matched, c.matched) << c.pattern << " in " << c.text;
    }
}

TEST(RegexPattern, stopsWhenTheSharedBudgetRunsOut) {
    // Nested ambiguous repetition backtracks exponentially on a text that does not match.
    const RegexPattern exponential("(a|aa)+b", CaseSensitivity::sensitive);
    const RegexPattern literal("needle", CaseSensitivity::sensitive);
    const std::string text(60, 'a');
    const SearchText searchText(text);

    SearchBudget budget{5};
    EXPECT_EQ(exponential.firstMatch(searchText, budget).status, Status::incomplete);
    EXPECT_LT(budget.unitsLeft, 0);
    // A search that backtracks little finishes even on a spent budget...
    EXPECT_EQ(literal.firstMatch(searchText, budget).status, Status::notFound);
    // ...but one that needs a unit stops at once.
    EXPECT_EQ(exponential.firstMatch(searchText, budget).status, Status::incomplete);
}

TEST(RegexPattern, stopsWhenBacktrackingMemoryRunsOut) {
    // Every repetition of the group leaves a backtracking point behind: this text needs more
    // than the 1 MiB allowed, though less than ICU's default of 8 MiB.
    const std::string text(1 << 17, 'a');
    EXPECT_EQ(firstMatchOf("(a|b)*c", text).status, Status::incomplete);
    EXPECT_EQ(firstMatchOf("(a|b)*c", text.substr(0, 1000) + "c").status, Status::found);
}

} // namespace
} // namespace kelvane::Unicode
