#include "KelvaneCore/Safety/ShellWords.hpp"

#include <gtest/gtest.h>

namespace kelvane::ShellWords {
namespace {

using Commands = std::vector<std::vector<std::string>>;

// The words of every command, in the order the commands are complete: a substitution's
// commands come before the command that holds it.
Commands wordsOf(std::string_view text) {
    Commands commands;
    for (const SimpleCommand& command : parse(text, 16, 1000).commands) {
        commands.emplace_back();
        for (const Word& word : command.words)
            commands.back().push_back(word.value);
    }
    return commands;
}

TEST(ShellWords, splitsAsTheShellDoes) {
    const std::pair<std::string, Commands> cases[] = {
        {"", {}},
        {"\"rm\" -rf x", {{"rm", "-rf", "x"}}},
        {"\\rm r''m r\\m $'\\x72m' $'\\162m'", {{"rm", "rm", "rm", "rm", "rm"}}},
        {"echo \"a \\\"b\\\" \\$c\" 'd\\e'", {{"echo", "a \"b\" $c", "d\\e"}}},
        {"a|b;c&d&&e||f\ng", {{"a"}, {"b"}, {"c"}, {"d"}, {"e"}, {"f"}, {"g"}}},
        {"ls $(sudo id) `whoami` <(cat x)",
         {{"sudo", "id"}, {"whoami"}, {"cat", "x"}, {"ls", "$(sudo id)", "`whoami`", "<(cat x)"}}},
        {"echo \"$(printf '%s' \"$(id)\")\"",
         {{"id"}, {"printf", "%s", "$(id)"}, {"echo", "$(printf '%s' \"$(id)\")"}}},
        {"cat <x >y 2>&1 &>z data", {{"cat", "data"}}},
        // Unclosed quotes and substitutions run to the end of the text.
        {"echo 'a; b", {{"echo", "a; b"}}},
        {"echo $(ls; rm", {{"ls"}, {"rm"}, {"echo", "$(ls; rm"}}},
        // No comments: zsh's interactive default runs what follows a #.
        {"ls # ; rm x", {{"ls", "#"}, {"rm", "x"}}},
    };
    for (const auto& [text, commands] : cases)
        EXPECT_EQ(wordsOf(text), commands) << text;
}

TEST(ShellWords, marksPipelinesBackgroundAndFunctions) {
    const Parse result = parse("f(){ f|f& };f", 16, 1000);
    ASSERT_EQ(result.commands.size(), 5u);
    EXPECT_TRUE(result.commands[0].definesFunction);
    EXPECT_EQ(result.commands[1].pipeline, result.commands[2].pipeline);
    EXPECT_TRUE(result.commands[2].background);
    EXPECT_NE(result.commands[3].pipeline, result.commands[4].pipeline);
}

TEST(ShellWords, stopsAtItsLimitsWithoutReadingFurther) {
    EXPECT_FALSE(parse(std::string(100000, '(') + "$($($(", 2, 1000).complete);
    EXPECT_TRUE(parse("$($(ls))", 2, 1000).complete);
    EXPECT_FALSE(parse("a;b;c", 16, 2).complete);
}

} // namespace
} // namespace kelvane::ShellWords
