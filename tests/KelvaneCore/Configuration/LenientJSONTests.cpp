#include "KelvaneCore/Configuration/LenientJSON.hpp"

#include <gtest/gtest.h>

namespace kelvane {
namespace {

TEST(LenientJSON, blanksCommentsAndTrailingCommasOutsideStrings) {
    struct Case {
        std::string input;
        std::string output;
    };
    const Case cases[] = {
        {"[,]", "[ ]"},
        {"{\"a\": 1,\n}", "{\"a\": 1 \n}"},
        {"[1, /* x */ ]", "[1          ]"},
        {"[1,,]", "[1, ]"},
        {"[1] // note\r\n[", "[1]        \r\n["},
        {"/* a\nb */1", "    \n    1"},
        {"/* a */ */", "        */"},
        {"/* open\n", "       \n"},
        {"/* \u00E4 */", "        "},
        {"/ 1 /", "/ 1 /"},
        {"\\ ,]", "\\  ]"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LenientJSON::normalize(c.input), c.output) << c.input;

    const std::string untouched[] = {
        R"({"url": "https://example.com/a//b"})",
        R"({"glob": "/* not a comment */"})",
        R"({"q": "say \"//hi\" ,]"})",
        R"({"e": "\\", "f": "//"})",
        // An unterminated string keeps everything after its quote.
        "[\"open // , ]",
    };
    for (const std::string& text : untouched)
        EXPECT_EQ(LenientJSON::normalize(text), text);
}

} // namespace
} // namespace kelvane
