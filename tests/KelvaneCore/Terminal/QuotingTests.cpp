#include "KelvaneCore/Terminal/AppleScriptLiteral.hpp"
#include "KelvaneCore/Terminal/ShellQuoting.hpp"

#include <gtest/gtest.h>

namespace kelvane {
namespace {

TEST(ShellQuoting, makesOneLiteralWord) {
    struct Case {
        std::string text;
        std::string quoted;
    };
    const Case cases[] = {
        {"", "''"},
        {"'", "''\\'''"},
        {"~/Anna's Dir/$HOME/`x`\\n*", "'~/Anna'\\''s Dir/$HOME/`x`\\n*'"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ShellQuoting::singleQuoted(c.text), c.quoted) << c.text;
}

TEST(AppleScriptLiteral, escapesExactlyFiveCharacters) {
    struct Case {
        std::string text;
        std::string escaped;
    };
    const Case cases[] = {
        {"say \"a\\b\"\t\r\n", "say \\\"a\\\\b\\\"\\t\\r\\n"},
        {"\f\a\v \u00E4\u00F6\u00FC \u2318", "\f\a\v \u00E4\u00F6\u00FC \u2318"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(AppleScriptLiteral::escape(c.text), c.escaped) << c.text;
        EXPECT_EQ(AppleScriptLiteral::quoted(c.text), '"' + c.escaped + '"') << c.text;
    }
}

} // namespace
} // namespace kelvane
