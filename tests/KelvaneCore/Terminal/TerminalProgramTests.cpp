#include "KelvaneCore/Terminal/ChosenTerminalBackend.hpp"
#include "KelvaneCore/Terminal/CommandLineTerminalBackend.hpp"
#include "KelvaneCore/Terminal/ITermScript.hpp"
#include "KelvaneCore/Terminal/TerminalProgram.hpp"

#include "support/FakeTerminalBackend.hpp"

#include <gtest/gtest.h>

namespace kelvane {
namespace {

using K = TerminalKind;
using B = OpenBehavior;

TEST(TerminalProgram, eachProgramFallsBackToTheNearestBehaviourItCanDo) {
    // What "tab" and "current" become; "window" is always itself.
    const std::tuple<K, B, B> table[] = {
        {K::terminalApp, B::tab, B::current},
        {K::iTerm2, B::tab, B::current},
        {K::wezterm, B::tab, B::current},
        {K::kitty, B::tab, B::tab},
        {K::ghostty, B::window, B::window},
        {K::alacritty, B::window, B::window},
        {K::desktopDefault, B::window, B::window},
        {K::gnomeTerminal, B::window, B::window},
        {K::konsole, B::tab, B::tab},
        {K::xfce4Terminal, B::tab, B::tab},
        {K::foot, B::window, B::window},
        {K::xterm, B::window, B::window},
        {K::tmux, B::tab, B::current},
    };
    ASSERT_EQ(std::size(table), allTerminalKinds.size());
    for (const auto& [kind, tab, current] : table) {
        const TerminalProgram& program = terminalProgram(kind);
        EXPECT_EQ(program.kind, kind);
        EXPECT_EQ(program.nearestBehavior(B::window), B::window) << program.name;
        EXPECT_EQ(program.nearestBehavior(B::tab), tab) << program.name;
        EXPECT_EQ(program.nearestBehavior(B::current), current) << program.name;
        EXPECT_EQ(program.fallbackNotice(B::tab).has_value(), tab != B::tab) << program.name;
    }
}

TEST(TerminalProgram, saysWhatItDoesInsteadInGerman) {
    EXPECT_EQ(terminalProgram(K::xterm).behaviourSummary(),
              "Mit xterm \u00F6ffnen \u201ENeuer Tab\u201C und \u201EAktuelles Fenster\u201C ein "
              "neues Fenster.");
    EXPECT_EQ(terminalProgram(K::kitty).behaviourSummary(),
              "Mit kitty \u00F6ffnet \u201EAktuelles Fenster\u201C einen neuen Tab.");
    EXPECT_EQ(terminalProgram(K::tmux).behaviourSummary(),
              "tmux \u00F6ffnet Befehle in einem neuen Fenster, einem neuen Tab oder im "
              "aktuellen Fenster.");
    EXPECT_EQ(terminalProgram(K::foot).fallbackNotice(B::tab),
              "\u201ENeuer Tab\u201C ist mit foot nicht m\u00F6glich \u2014 Kelvane \u00F6ffnet "
              "stattdessen ein neues Fenster.");
}

TEST(TerminalProgram, aProgramMissingOnTheSystemGivesWayToTheSystemsOwn) {
    const auto linux = TerminalPlatform::linux;
    const auto macOS = TerminalPlatform::macOS;
    EXPECT_EQ(terminalKindUsedOn(linux, K::terminalApp), K::desktopDefault);
    EXPECT_EQ(terminalKindUsedOn(linux, K::iTerm2), K::desktopDefault);
    EXPECT_EQ(terminalKindUsedOn(linux, K::kitty), K::kitty);
    EXPECT_EQ(terminalKindUsedOn(macOS, K::tmux), K::terminalApp);
    EXPECT_EQ(terminalKindUsedOn(macOS, K::wezterm), K::wezterm);
}

TEST(ITermScript, typesTheLineIntoANamedNewSessionOrTheCurrentOne) {
    const TerminalAppScriptBuilder lines{"/Users/a"};
    ShellCommand command(Uuid::random(), "Log \"x\"", "tail -f \"a\\b\"\necho $HOME", {}, {},
                         "~/it's", {});
    const std::string literal = "\"cd '/Users/a/it'\\\\''s' && { tail -f \\\"a\\\\b\\\"\\necho "
                                "$HOME\\n}\"";
    const std::string session = "    tell current session of current window\n";
    const std::string named = "        set name to \"Log \\\"x\\\"\"\n";
    const std::string write = "        write text " + literal + "\n    end tell\nend tell";
    const std::string start = "tell application \"iTerm\"\n    activate\n";
    EXPECT_EQ(iTermScript(lines, command, B::window),
              start + "    create window with default profile\n" + session + named + write);
    EXPECT_EQ(iTermScript(lines, command, B::tab),
              start +
                  "    if (count of windows) is 0 then\n        create window with default "
                  "profile\n    else\n        tell current window to create tab with default "
                  "profile\n    end if\n" +
                  session + named + write);
    EXPECT_EQ(iTermScript(lines, command, B::current),
              start +
                  "    if (count of windows) is 0 then\n        create window with default "
                  "profile\n    end if\n" +
                  session + write);
}

TEST(CommandLineTerminalBackend, namesWhatToDoForEveryRefusal) {
    using O = ProgramAnswer::Outcome;
    const struct {
        K kind;
        ProgramAnswer answer;
        std::string description;
        std::string advice; // the start of the suggestion
    } cases[] = {
        {K::xterm,
         {O::notFound, 0, {}},
         "\u201Exterm\u201C ist nicht installiert.",
         "Installiere es (das Programm \u201Exterm\u201C fehlt im Suchpfad)"},
        {K::tmux,
         {O::failed, 1, "no server running on /tmp/tmux-0/default\n"},
         "Es l\u00E4uft kein tmux-Server.",
         "Starte tmux in einem Terminal"},
        {K::tmux,
         {O::failed, 1, "error connecting to /tmp/tmux-0/default (No such file)"},
         "Es l\u00E4uft kein tmux-Server.",
         "Starte tmux"},
        {K::kitty,
         {O::failed, 1, "Error: Remote control is disabled"},
         "kitty nimmt keine Fernsteuerung an.",
         "Schalte sie in \u201Ekitty.conf\u201C"},
        {K::wezterm,
         {O::failed, 1, "failed to connect to the mux"},
         "WezTerm nimmt keine Befehle an.",
         "Starte WezTerm"},
        {K::tmux,
         {O::failed, 1, "  can't find window: x\nmore\n"},
         "\u201Etmux\u201C meldete einen Fehler (1): can't find window: x",
         "Pr\u00FCfe, ob"},
        {K::foot,
         {O::notStarted, 0, "Permission denied"},
         "\u201Efoot\u201C konnte nicht gestartet werden: Permission denied",
         "Pr\u00FCfe"},
    };
    for (const auto& c : cases) {
        const auto error = CommandLineTerminalBackend::errorFor(terminalProgram(c.kind), c.answer);
        EXPECT_EQ(error.errorDescription(), c.description);
        EXPECT_TRUE(error.recoverySuggestion().value_or("").starts_with(c.advice))
            << error.recoverySuggestion().value_or("");
    }
}

TEST(ChosenTerminalBackend, followsTheChoiceAndSaysEachReplacementOnce) {
    K chosen = K::iTerm2;
    std::vector<std::pair<K, std::shared_ptr<test::FakeTerminalBackend::Record>>> made;
    std::vector<std::string> notices;
    ChosenTerminalBackend backend(
        TerminalPlatform::linux, [&] { return chosen; },
        [&](K kind) {
            auto fake = std::make_unique<test::FakeTerminalBackend>();
            made.emplace_back(kind, fake->record);
            return fake;
        },
        [&](std::string_view notice) { notices.emplace_back(notice); });
    const ShellCommand command(Uuid::random(), "T", "ls", {}, {}, {}, {});
    EXPECT_EQ(backend.kind(), K::desktopDefault);
    backend.run(command, B::tab, {});
    backend.run(command, B::tab, {});
    chosen = K::tmux;
    backend.run(command, B::current, {});
    ASSERT_EQ(made.size(), 2U);
    EXPECT_EQ(made[0].first, K::desktopDefault);
    ASSERT_EQ(made[0].second->runs.size(), 2U);
    EXPECT_EQ(made[0].second->runs[1].openIn, B::window);
    EXPECT_EQ(made[1].first, K::tmux);
    EXPECT_EQ(made[1].second->runs.at(0).openIn, B::current);
    EXPECT_EQ(
        notices,
        (std::vector<std::string>{
            "\u201EiTerm2\u201C gibt es auf diesem System nicht \u2014 Kelvane verwendet "
            "\u201EStandardterminal\u201C.",
            "\u201ENeuer Tab\u201C ist mit Standardterminal nicht m\u00F6glich \u2014 Kelvane "
            "\u00F6ffnet stattdessen ein neues Fenster."}));
}

} // namespace
} // namespace kelvane
