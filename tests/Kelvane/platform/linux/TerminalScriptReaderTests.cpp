#include "Kelvane/platform/linux/TerminalScriptReader.hpp"

#include "KelvaneCore/Terminal/TerminalAppScriptBuilder.hpp"
#include "tests/KelvaneCore/Terminal/TerminalCommandFixtures.hpp"

#include <gtest/gtest.h>

#include <random>

namespace kelvane {
namespace {

using Lines = std::vector<std::string>;

Lines acceptedLines(std::string_view source) {
    auto read = TerminalScriptReader::commandLines(source);
    if (const auto* error = std::get_if<ScriptError>(&read)) {
        ADD_FAILURE() << error->message.value_or("") << "\n" << source;
        return {};
    }
    return std::get<Lines>(read);
}

// What the builder writes is read back in decodesExactlyTheCommandLineTheBuilderWrote.
TEST(TerminalScriptReader, acceptsStatementsOnLinesOfTheirOwn) {
    struct Case {
        std::string source;
        Lines commandLines;
    };
    const Case cases[] = {
        {"", {}},
        {"\n\ttell application \"Terminal\"  \n\n  activate\ndo script \"a\"\n do script \"b\" in "
         "front window\nend tell\n",
         {"a", "b"}},
        {"tell application \"Terminal\"\nif (count of windows) is 0 then\nif (count of windows) "
         "is 0 then\ndo script \"inner\"\nelse\ndo script \"no\"\nend if\nelse\ndo script "
         "\"skipped\"\nend if\nend tell",
         {"inner"}},
        {"tell application \"Terminal\"\ndo script \"\"\nend tell", {""}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(acceptedLines(c.source), c.commandLines) << c.source;
}

TEST(TerminalScriptReader, rejectsEverythingElseAsASyntaxError) {
    const std::string open = "tell application \"Terminal\"\n";
    const std::string openEvents = "tell application \"System Events\" to tell process "
                                   "\"Terminal\"\n";
    std::string deeplyNested = open;
    for (int i = 0; i < 100000; ++i)
        deeplyNested += "if (count of windows) is 0 then\n";
    const std::string sources[] = {
        deeplyNested,
        "activate",
        "tell application \"Finder\"\nend tell",
        "tell application \"Terminal\" to do script \"x\"",
        open,
        open + "do script \"x\"\nend tell\nend tell",
        open + "end tell foo",
        open + "do script x\nend tell",
        open + "do script \"x\nend tell",
        open + "do script \"a\\qb\"\nend tell",
        open + "do script \"a\\",
        open + "do script \"a\" & \"b\"\nend tell",
        open + "do script \"a\" in back window\nend tell",
        open + std::string("do script \"a\0b\"\nend tell", 24),
        open + "else\nend tell",
        open + "if (count of windows) is 0 then\ndo script \"x\"\nend tell",
        open + "if (count of windows) is 1 then\nend if\nend tell",
        open + "if (count of windows) is 0 then\nelse\nelse\nend if\nend tell",
        open + open + "end tell\nend tell",
        openEvents + "keystroke \"w\" using command down\nend tell",
        openEvents + "do script \"x\"\nend tell",
        // Valid statements before the fault must not run either.
        open + "do script \"rm -rf ~/x\"\nend tell\nbeep",
    };
    for (const std::string& source : sources) {
        auto read = TerminalScriptReader::commandLines(source);
        ASSERT_TRUE(std::holds_alternative<ScriptError>(read)) << source;
        const ScriptError& error = std::get<ScriptError>(read);
        EXPECT_EQ(error.number, TerminalScriptReader::syntaxError) << source;
        EXPECT_TRUE(error.message.value_or("").starts_with("Zeile ")) << source;
    }
}

TEST(TerminalScriptReader, namesTheLineAndWhatItExpectedThere) {
    const std::string open = "tell application \"Terminal\"\n";
    const std::pair<std::string, std::string> cases[] = {
        {open + "beep\nend tell",
         "Zeile 2: erwartet \u201Edo script\u201C oder \u201Eend tell\u201C."},
        {open + "do script x\nend tell", "Zeile 2: erwartet einen Text in Anf\u00FChrungszeichen."},
    };
    for (const auto& [source, message] : cases) {
        const auto read = TerminalScriptReader::commandLines(source);
        ASSERT_TRUE(std::holds_alternative<ScriptError>(read)) << source;
        EXPECT_EQ(std::get<ScriptError>(read).message, message);
    }
}

/// Text made of the pieces most likely to break quoting, in any order.
std::string hostileText(std::mt19937& random, std::size_t maxPieces) {
    // clang-format off
    static const std::string_view pieces[] = {
        "a", "Z", "0", " ", "  ", "\"", "\\", "'", "\n", "\r", "\t", "$", "`", "~", "~/", "/",
        "&&", ";", "#", "\\n", "\\t", "\\\"", "\"\\", "'\\''", "\u00E4", "\u00DF", "\u20AC",
        "\u201E", "\U0001F600", "\u00A0", "\a", "\x7F", "\x1B[31m", "$(id)", "${HOME}",
        "\nend tell\n", "\" in front window", "do script \"", "\nelse\n", "\\\\\"\\\\"};
    // clang-format on
    const std::size_t count = random() % (maxPieces + 1);
    std::string text;
    for (std::size_t i = 0; i < count; ++i)
        text += pieces[random() % std::size(pieces)];
    return text;
}

TEST(TerminalScriptReader, decodesExactlyTheCommandLineTheBuilderWrote) {
    std::mt19937 random(20240611);
    for (int i = 0; i < 6000; ++i) {
        const std::size_t maxPieces = i % 500 == 0 ? 4000 : 24;
        std::optional<std::string> workingDirectory;
        if (random() % 3 != 0)
            workingDirectory = (random() % 2 ? "~/" : "") + hostileText(random, maxPieces);
        const TerminalAppScriptBuilder builder(hostileText(random, 4));
        const ShellCommand command =
            test::shellCommand(hostileText(random, maxPieces), workingDirectory);
        const std::string commandLine = builder.commandLine(command);
        for (OpenBehavior openIn : allOpenBehaviors) {
            const Lines decoded = acceptedLines(builder.script(command, openIn));
            ASSERT_EQ(decoded, Lines{commandLine}) << "case " << i << ", " << rawValue(openIn);
        }
    }
}

} // namespace
} // namespace kelvane
