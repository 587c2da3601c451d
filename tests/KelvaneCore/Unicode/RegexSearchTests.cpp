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

TEST(RegexPattern, rejectsPatternsThatDoNotCompile) {
    EXPECT_THROW(RegexPattern("(unclosed", CaseSensitivity::sensitive), std::invalid_argument);
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
        {"line (\\d+)", "LINE 12", CaseSensitivity::insensitive, Status::found, "LINE 12"},
        {"\\bsudo\\b", "gr\u00FC\u00DFe; sudo ls", CaseSensitivity::insensitive, Status::found,
         "sudo"},
        {"a.b",
         "xa\xFF"
         "b",
         CaseSensitivity::sensitive, Status::found,
         "a\xFF"
         "b"},
        {"a.b", "a\0b"s, CaseSensitivity::sensitive, Status::found, "a\0b"s},
        // A truncated sequence is one maximal ill-formed part (one U+FFFD), an encoded surrogate
        // three: the match maps back to exactly the original bytes.
        {"^.x", "\xE2\x82x!", CaseSensitivity::sensitive, Status::found, "\xE2\x82x"},
        {"x...$", "ax\xED\xA0\x80", CaseSensitivity::sensitive, Status::found, "x\xED\xA0\x80"},
        {"\\U0001F600+", "hi \U0001F600\U0001F600 ho", CaseSensitivity::sensitive, Status::found,
         "\U0001F600\U0001F600"},
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
