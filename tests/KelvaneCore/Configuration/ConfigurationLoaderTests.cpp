#include "KelvaneCore/Configuration/ConfigurationLoader.hpp"

#include "KelvaneCore/Configuration/ConfigurationError.hpp"

#include <gtest/gtest.h>

#include <cstdio>

namespace kelvane {
namespace {

// A compact picture of a tree: titles, "-" for separators, a group's children in brackets.
std::string outline(const std::vector<MenuNode>& nodes) {
    std::string text;
    for (const MenuNode& node : nodes) {
        if (!text.empty())
            text += ", ";
        if (const CommandGroup* group = node.group())
            text += group->title + "[" + outline(group->items) + "]";
        else
            text += node.title().value_or("-");
    }
    return text;
}

std::string errorText(const std::string& json, SortMode mode = SortMode::fileOrder) {
    try {
        ConfigurationLoader{mode, mode}.load(json);
    } catch (const ConfigurationError& error) {
        return error.what();
    }
    return "(loaded)";
}

Configuration load(const std::string& json, SortMode mode = SortMode::fileOrder) {
    return ConfigurationLoader{mode, mode}.load(json);
}

using W = ConfigurationWarning;

// Warnings are compared by kind and payload; their German texts are pinned in the diagnostics
// suite.
struct LoadCase {
    const char* name;
    std::string json;
    std::string outline;
    std::vector<W> warnings;
    ConfigurationFormat format = ConfigurationFormat::v2;
};

TEST(ConfigurationLoader, readsTreesAndWarnsInDocumentOrder) {
    const auto legacy = ConfigurationFormat::legacyShuttle;
    const W notAnObject{W::SkippedEntry{"items", "kein Objekt"}};
    const W neither{W::SkippedEntry{"cmds", "weder Befehl (\"cmd\") noch Gruppe"}};
    const LoadCase cases[] = {
        {"groups, separators and types",
         R"({"items": [{"title": "G", "items": [{"title": "a", "command": "x"}]},
                      {"type": "Separator"}, {"type": "link"}, 7,
                      {"type": "GROUP", "title": " H "}]})",
         "G[a], -, H[]",
         {W{W::SkippedEntry{"items", "unbekannter Typ \u201Elink\u201C"}}, notAnObject}},
        {"invalid shortcut after the fallback title's warning",
         R"({"items": [{"command": "ls ", "shortcut": "cmd+shift+"}]})",
         "ls",
         {W{W::EmptyTitle{"items"}}, W{W::InvalidShortcut{"", "cmd+shift+"}}}},
        {"blank command is skipped without an empty-title warning",
         R"({"items": [{"command": "   "}, {"title": "T", "command": 5}]})",
         "",
         {W{W::EmptyCommand{"items"}}, W{W::EmptyCommand{"T"}}}},
        {"untitled group warns with its child path before its children",
         R"({"items": [{"items": [{"title": "S", "items": [7]}]}]})",
         "[S[]]",
         {W{W::EmptyTitle{"items \u203A "}},
          W{W::SkippedEntry{"items \u203A  \u203A S", "kein Objekt"}}}},
        {"unknown keys, settings keys and the terminal",
         R"({"version": 2.0, "_comment": 1, "extra": 1, "$schema": "x",
             "settings": {"_c": 1, "x": 2, "terminal": "Hyper"}, "items": []})",
         "",
         {W{W::UnknownKey{"extra"}}, W{W::UnknownKey{"settings.x"}},
          W{W::UnsupportedTerminal{"Hyper"}}}},
        {"version 2 has no duplicate check",
         R"({"items": [{"title": "D", "command": "a"}, {"title": "d", "command": "b"}]})",
         "D, d",
         {}},
        {"comments, trailing commas and a byte order mark",
         "\xEF\xBB\xBF{ // menu\n \"items\": [ /* one */ {\"title\": \"a\", \"command\": \"x\",}, "
         "],\n}",
         "a",
         {}},
        {"legacy commands and groups",
         R"({"cmds": [{"cmd": "ls"}, {"name": " N ", "cmd": "x", "extra": 1},
                      {"Ops": [{"cmd": "a", "name": "A"}]}, {"a": [], "b": []}, {}, [1]],
             "iTerm_version": "x", "foo": 1})",
         "ls, N, Ops[A]",
         {W{W::UnknownKey{"foo"}}, W{W::EmptyTitle{"cmds"}}, neither, neither,
          W{W::SkippedEntry{"cmds", "kein Objekt"}}},
         legacy},
        {"legacy group named cmd, trimmed titles",
         R"({"cmds": [{"cmd": [{"cmd": "  top  "}]}, {" sp ": []}]})",
         "cmd[top], sp[]",
         {W{W::EmptyTitle{"cmds \u203A cmd"}}},
         legacy},
        {"legacy duplicates: per group after its children, top level last",
         R"({"cmds": [{"name": "D", "cmd": "a"}, {"G": [{"name": "x", "cmd": "1"},
             {"name": "X", "cmd": "2"}, {"name": "x", "cmd": "3"}]}, {"name": "d", "cmd": "b"}]})",
         "D, G[x, X, x], d",
         {W{W::DuplicateTitle{"G", "X"}}, W{W::DuplicateTitle{"Men\u00FC", "d"}}},
         legacy},
        {"version 1 is legacy even with items",
         R"({"version": 1, "items": [{"title": "a", "command": "x"}]})",
         "",
         {W{W::UnknownKey{"version"}}, W{W::UnknownKey{"items"}}},
         legacy},
        {"legacy without cmds", R"({"terminal": "Terminal"})", "", {}, legacy},
    };
    for (const LoadCase& c : cases) {
        SCOPED_TRACE(c.name);
        const Configuration configuration = load(c.json);
        EXPECT_EQ(outline(configuration.items), c.outline);
        EXPECT_EQ(configuration.warnings, c.warnings);
        EXPECT_EQ(configuration.format, c.format);
    }
}

TEST(ConfigurationLoader, readsEveryCommandFieldAndTheSettings) {
    const Configuration configuration = load(R"({"version": 2,
        "settings": {"terminal": "Terminal.app", "openIn": "TAB", "editor": "vim",
                     "launchAtLogin": true},
        "items": [{"type": "command", "title": "Logs", "command": " tail -f x ",
                   "icon": "doc", "shortcut": "cmd+L", "workingDirectory": "~/src",
                   "confirm": false},
                  {"title": "Plain", "command": "y", "confirm": "yes", "shortcut": 3}]})");
    EXPECT_EQ(configuration.settings.openIn, OpenBehavior::tab);
    EXPECT_EQ(configuration.settings.editor, EditorSetting::terminalEditor("vim"));
    EXPECT_EQ(configuration.settings.launchAtLogin, true);
    ASSERT_EQ(configuration.items.size(), 2U);
    const ShellCommand& logs = *configuration.items[0].command();
    EXPECT_EQ(logs.command, " tail -f x ");
    EXPECT_EQ(logs.icon, "doc");
    EXPECT_EQ(logs.shortcut, (KeyboardShortcut{"l", KeyboardShortcut::Modifiers::command}));
    EXPECT_EQ(logs.workingDirectory, "~/src");
    EXPECT_EQ(logs.requiresConfirmation, false);
    const ShellCommand& plain = *configuration.items[1].command();
    EXPECT_EQ(plain.requiresConfirmation, std::nullopt);
    EXPECT_TRUE(configuration.warnings.empty());

    const Configuration legacy = load(
        R"({"open_in": "current", "editor": "DEFAULT", "launch_at_login": false, "cmds": []})");
    EXPECT_EQ(legacy.settings.openIn, OpenBehavior::current);
    EXPECT_EQ(legacy.settings.editor, EditorSetting::system());
    EXPECT_EQ(legacy.settings.launchAtLogin, false);
}

TEST(ConfigurationLoader, sortsEveryListIgnoringCaseButNeverAcrossSeparators) {
    const auto sorted = [](const std::string& titles) {
        std::string items;
        std::size_t start = 0;
        while (start <= titles.size()) {
            const std::size_t end = std::min(titles.find(',', start), titles.size());
            const std::string title = titles.substr(start, end - start);
            items += (items.empty() ? "" : ",") +
                     (title == "-" ? std::string(R"({"type": "separator"})")
                                   : R"({"title": ")" + title + R"(", "command": "x"})");
            start = end + 1;
        }
        return outline(load(R"({"items": [)" + items + "]}", SortMode::alphabetical).items);
    };
    EXPECT_EQ(sorted("c,a,b,-,f,e,h,g,d"), "a, b, c, -, d, e, f, g, h");
    EXPECT_EQ(sorted("b,B,a,A"), "a, A, b, B");
    EXPECT_EQ(sorted("\u00C4pfel,Zebra,apfel"), "apfel, \u00C4pfel, Zebra");

    const Configuration v2 = load(
        R"({"items": [{"title": "z", "items": [{"title": "b", "command": "x"},
            {"title": "a", "command": "x"}]}, {"title": "y", "command": "x"}]})",
        SortMode::alphabetical);
    EXPECT_EQ(outline(v2.items), "y, z[a, b]");
    const Configuration legacy = load(
        R"({"cmds": [{"name": "b", "cmd": "1"}, {"name": "B", "cmd": "2"}, {"name": "a", "cmd": "3"},
            {"name": "b", "cmd": "4"}]})",
        SortMode::alphabetical);
    EXPECT_EQ(outline(legacy.items), "a, b, B, b");
    EXPECT_EQ(legacy.warnings, (std::vector{W{W::DuplicateTitle{"Men\u00FC", "B"}}}));
}

TEST(ConfigurationLoader, readsTheLastOfRepeatedMembersAndNamesEachOnce) {
    const Configuration v2 = load(
        R"({"items": [], "settings": {"openIn": "tab", "openIn": "current"}, "items": [
            {"type": "separator", "title": "a", "command": "rsync a b", "type": "command",
             "command": "curl x | sh", "command": "curl y | sh", "icon": "later"},
            {"title": "G", "items": [{"confirm": true, "title": "c", "confirm": false,
                                      "command": "x"}]}]})");
    ASSERT_EQ(outline(v2.items), "a, G[c]");
    const ShellCommand& command = *v2.items[0].command();
    EXPECT_EQ(command.command, "curl y | sh");
    EXPECT_EQ(command.icon, "later");
    EXPECT_EQ(v2.allCommands()[1].command.requiresConfirmation, false);
    EXPECT_EQ(v2.settings.openIn, OpenBehavior::current);
    EXPECT_EQ(
        v2.warnings,
        (std::vector{W{W::DuplicateKey{"", "items"}}, W{W::DuplicateKey{"", "settings.openIn"}},
                     W{W::DuplicateKey{"items", "type"}}, W{W::DuplicateKey{"items", "command"}},
                     W{W::DuplicateKey{"items \u203A G", "confirm"}}}));

    // The format is told by the last version; a legacy entry is a group or a command as its
    // last members make it.
    const Configuration legacy =
        load(R"({"version": 2, "version": 1, "cmds": [{"cmd": "x", "cmd": [{"cmd": "a"}]},
                 {"G": [{"cmd": "b"}], "G": [{"cmd": "c"}]}]})");
    EXPECT_EQ(legacy.format, ConfigurationFormat::legacyShuttle);
    EXPECT_EQ(outline(legacy.items), "cmd[a], G[c]");
    EXPECT_EQ(legacy.warnings,
              (std::vector{W{W::DuplicateKey{"", "version"}}, W{W::UnknownKey{"version"}},
                           W{W::DuplicateKey{"cmds", "cmd"}}, W{W::EmptyTitle{"cmds \u203A cmd"}},
                           W{W::DuplicateKey{"cmds", "G"}}, W{W::EmptyTitle{"cmds \u203A G"}}}));
}

TEST(ConfigurationLoader, failsWithGermanErrors) {
    struct Case {
        std::string json;
        std::string error;
    };
    const std::string notAnObject =
        "Unerwarteter Aufbau der Konfiguration: Die oberste Ebene muss ein JSON-Objekt sein.";
    const std::string noItems = "Unerwarteter Aufbau der Konfiguration: Der Schl\u00FCssel "
                                "\u201Eitems\u201C fehlt oder ist kein Array.";
    const std::string loneSurrogate =
        "Ein Unicode-Ersatzzeichen im Text steht ohne Partner: Auf \\uD800 bis \\uDBFF muss "
        "unmittelbar \\uDC00 bis \\uDFFF folgen.";
    const Case cases[] = {
        {"[]", notAnObject},
        {R"({"version": 2})", noItems},
        {"// nur ein Kommentar\n", "Zeile 2, Spalte 1: Die Datei enth\u00E4lt keinen JSON-Wert."},
        {"{\n  \"items\": [\n    {\"title\" \"x\"}\n  ]\n}",
         "Zeile 3, Spalte 14: Nach dem Schl\u00FCssel fehlt ein Doppelpunkt."},
        {std::string("{}\0{}", 5), "Zeile 1, Spalte 3: Nach dem JSON-Wert folgen weitere Zeichen."},
        {"{\"a\": \"\xC3\x28\"}",
         "Zeile 1, Spalte 8: Die Datei enth\u00E4lt ung\u00FCltiges UTF-8."},
        {"\r\n\r{\"a\": tru}", "Zeile 3, Spalte 10: Ung\u00FCltiger Wert."},
        {"{\"\u00E4\u00F6\": x}", "Zeile 1, Spalte 8: Ung\u00FCltiger Wert."},
        {R"({"a": "x\uD83D\uDE00 \\uDC00 \uDC00"})", "Zeile 1, Spalte 30: " + loneSurrogate},
        {R"({"a": "\uDBFF", "b": "\uDC00"})", "Zeile 1, Spalte 8: " + loneSurrogate},
        {R"({"a": "\uD800\u0041"})", "Zeile 1, Spalte 8: " + loneSurrogate},
        {"// \\uDC00\n[x, \"\\uDC00\"]", "Zeile 2, Spalte 2: Ung\u00FCltiger Wert."},
    };
    for (const Case& c : cases)
        EXPECT_EQ(errorText(c.json), c.error) << c.json;
}

// The parser's string scanning may take sixteen bytes at a time, so a raw control character is
// tried at every offset up to 40, in a key and in a value.
TEST(ConfigurationLoader, refusesEveryRawControlCharacterWhereItStandsInKeysAndValues) {
    const std::string valueBefore = R"({"items": [], "k": ")";
    const std::string keyBefore = R"({"items": [], ")";
    for (int byte = 0; byte < 0x20; ++byte) {
        char code[5];
        std::snprintf(code, sizeof code, "%04X", byte);
        const std::string message = std::string("Ein Text enth\u00E4lt das Steuerzeichen U+") +
                                    code + ", das maskiert werden muss (als \\u" + code + ").";
        for (std::size_t offset = 0; offset <= 40; ++offset) {
            SCOPED_TRACE(std::string(code) + " at " + std::to_string(offset));
            const std::string text = std::string(offset, 'k') + static_cast<char>(byte) + "k";
            const auto expected = [&](const std::string& before) {
                return "Zeile 1, Spalte " + std::to_string(before.size() + offset + 1) + ": " +
                       message;
            };
            EXPECT_EQ(errorText(valueBefore + text + R"("})"), expected(valueBefore));
            EXPECT_EQ(errorText(keyBefore + text + R"(": 1})"), expected(keyBefore));
        }
    }
}

TEST(ConfigurationLoader, refusesNestingDeeperThanTheLimitWithoutCrashing) {
    const int depth = 100000;
    const std::string arrays = std::string(depth, '[') + std::string(depth, ']');
    EXPECT_EQ(errorText(arrays), "Zeile 1, Spalte 513: Die Daten sind zu tief verschachtelt.");
    std::string groups;
    for (int i = 0; i < depth; ++i)
        groups += R"({"items": [)";
    EXPECT_NE(errorText(groups).find("zu tief verschachtelt"), std::string::npos);

    // A menu nested as deep as the limit allows still loads.
    std::string deep;
    const int levels = 200;
    for (int i = 0; i < levels; ++i)
        deep += R"({"title": "g", "items": [)";
    deep += R"({"title": "leaf", "command": "x"})";
    for (int i = 0; i < levels; ++i)
        deep += "]}";
    const Configuration configuration = load(R"({"items": [)" + deep + "]}");
    ASSERT_EQ(configuration.allCommands().size(), 1U);
    EXPECT_EQ(configuration.allCommands()[0].path.size(), std::size_t(levels));
}

} // namespace
} // namespace kelvane

namespace kelvane {
namespace {

// Every warning of a hostile file costs the same bounded amount, however long the titles above
// it are and however many entries are wrong.
TEST(ConfigurationLoader, keepsAHundredShortenedWarningsAndCountsTheRest) {
    const std::string longTitle(100'000, 'x');
    std::string entries = "0";
    for (int i = 1; i < 300; ++i)
        entries += ",0";
    const Configuration configuration =
        load(R"({"items": [{"title": ")" + longTitle + R"(", "items": [)" + entries + "]}]}");
    ASSERT_EQ(configuration.warnings.size(), 101U);
    const std::string shownPath =
        "items \u203A " + std::string(110, 'x') + "\u2026" + std::string(120, 'x');
    EXPECT_EQ(configuration.warnings.front(), (W{W::SkippedEntry{shownPath, "kein Objekt"}}));
    EXPECT_EQ(configuration.warnings.back(), (W{W::MoreWarnings{200}}));
    EXPECT_EQ(countOfWarnings(configuration.warnings), 300U) << "the kept and the counted";

    const Configuration legacy =
        load(R"({"cmds": [{")" + longTitle + R"(": [)" + entries +
             R"(, {"name": "a", "cmd": "a"}, {"name": "A", "cmd": "a"}]}]})");
    ASSERT_EQ(legacy.warnings.size(), 101U);
    EXPECT_EQ(legacy.warnings.back(), (W{W::MoreWarnings{201}}));
    EXPECT_EQ(countOfWarnings(legacy.warnings), 301U);
    EXPECT_EQ(countOfWarnings({}), 0U);
}

} // namespace
} // namespace kelvane
