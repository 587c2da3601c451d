#include "Kelvanectl.hpp"

#include "KelvaneCore/Configuration/StrictJSON.hpp"
#include "SearchCache.hpp"
#include "support/ScopedEnvironment.hpp"
#include "support/TemporaryFolder.hpp"

#include <gtest/gtest.h>

#include <sstream>

namespace kelvane::ctl {
namespace {

namespace fs = std::filesystem;
using test::contentOf;

struct Outcome {
    int code;
    std::string out;
    std::string err;
};

Outcome kelvanectl(std::vector<std::string> arguments) {
    std::ostringstream out;
    std::ostringstream err;
    const int code = run(arguments, out, err);
    return {code, out.str(), err.str()};
}

const std::string configuration = R"({
  "version": 2,
  // a comment
  "settings": {"openIn": "tab", "launchAtLogin": false},
  "items": [
    {"title": "Logs", "command": "tail -f /var/log/syslog", "shortcut": "cmd+shift+l"},
    {"type": "separator"},
    {"title": "Server", "items": [{"title": "Deploy web", "command": "make deploy"}, {"title": "Leere", "items": []}]},
  ],
})";

class Kelvanectl : public ::testing::Test {
protected:
    test::TemporaryFolder folder;
    const test::ScopedEnvironment cacheHome{"XDG_CACHE_HOME", (folder / "cache").string()};
    const std::string file = folder.write("kelvane.json", configuration).string();
};

TEST_F(Kelvanectl, checkReportsFormatCommandsWarningsAndSettings) {
    EXPECT_EQ(kelvanectl({"check", file}).out,
              "Datei: " + file + "\nFormat: Version 2\nBefehle: 2\nHinweise: 0\n");
    const std::string warned =
        folder.write("warned.json", R"({"cmds": [{"cmd": "ls"}], "x": 1})").string();
    const Outcome strict = kelvanectl({"check", "--strict", warned});
    EXPECT_EQ(strict.code, 1);
    EXPECT_NE(strict.out.find("Format: Shuttle (alt)\nBefehle: 1\nHinweise: 2\n  - Unbekannter"),
              std::string::npos)
        << strict.out;
    EXPECT_EQ(kelvanectl({"check", warned}).code, 0);

    const rapidjson::Document document =
        StrictJSON::parse(kelvanectl({"check", "--json", "--sort", "file-order", file}).out);
    EXPECT_STREQ(document["format"].GetString(), "v2");
    EXPECT_STREQ(document["settings"]["openIn"].GetString(), "tab");
    EXPECT_STREQ(document["settings"]["editor"].GetString(), "default");
    EXPECT_FALSE(document["settings"]["launchAtLogin"].GetBool());
    EXPECT_TRUE(document["warnings"].GetArray().Empty());
}

TEST_F(Kelvanectl, reportsFilesThatCannotBeLoadedOrTrusted) {
    const std::string missing = (folder / "missing.json").string();
    const Outcome text = kelvanectl({"check", missing});
    EXPECT_EQ(text.code, 2);
    EXPECT_EQ(text.err, "kelvanectl: Konfigurationsdatei nicht gefunden: " + missing + "\n");
    EXPECT_EQ(kelvanectl({"search", "--json", missing, "x"}).out,
              "{\n  \"file\": \"" + missing +
                  "\",\n  \"error\": \"Konfigurationsdatei nicht gefunden: " + missing + "\"\n}\n");

    const std::string broken = folder.write("broken.json", "{\n  \"items\": [,,]\n}").string();
    EXPECT_EQ(kelvanectl({"menu", broken}).err.rfind("kelvanectl: Zeile 2, Spalte ", 0), 0U);

    fs::permissions(file, fs::perms(0666));
    const rapidjson::Document untrusted =
        StrictJSON::parse(kelvanectl({"check", "--json", file}).out);
    ASSERT_EQ(untrusted["untrusted"].Size(), 2U);
    EXPECT_NE(std::string(untrusted["untrusted"][0]["fixCommand"].GetString()).find("chmod"),
              std::string::npos);
    const Outcome verdict = kelvanectl({"trust", "--json", file});
    EXPECT_EQ(verdict.code, 3);
    EXPECT_STREQ(StrictJSON::parse(verdict.out)["issues"][0]["kind"].GetString(), "groupWritable");
    EXPECT_EQ(kelvanectl({"normalize", file}).code, 3);
    fs::permissions(file, fs::perms(0600));
    EXPECT_EQ(kelvanectl({"trust", file}).out, "Vertrauensw\u00FCrdig.\n");
}

TEST_F(Kelvanectl, menuShowsTheTreeAsTheStatusMenuWould) {
    EXPECT_EQ(kelvanectl({"menu", "--sort=file-order", file}).out,
              "Logs  \u21E7\u2318l\n"
              "\u2500\u2500\u2500\u2500\u2500\u2500\u2500\u2500\n"
              "Server \u25B8\n"
              "    Deploy web\n"
              "    Leere \u25B8\n"
              "        Leer\n");
}

TEST_F(Kelvanectl, searchRanksAndLimits) {
    const Outcome outcome = kelvanectl({"search", "--json", "--limit", "1", file, "depl"});
    ASSERT_EQ(outcome.code, 0) << outcome.err;
    const rapidjson::Document document = StrictJSON::parse(outcome.out);
    ASSERT_EQ(document.Size(), 1U);
    EXPECT_STREQ(document[0]["title"].GetString(), "Deploy web");
    EXPECT_STREQ(document[0]["path"][0].GetString(), "Server");
    EXPECT_EQ(document[0]["matchedIndices"].Size(), 4U);

    // Any bytes, any length: an answer, never a crash.
    const Outcome hostile = kelvanectl({"search", file, std::string(100 * 1024, 'a') + "\xFF"});
    EXPECT_EQ(hostile.code, 0);
    EXPECT_EQ(kelvanectl({"search", "--limit", "-1", file, "x"}).code, 64);
}

TEST_F(Kelvanectl, searchTakesAStoredIndexOnlyForTheSameTrustedBytes) {
    const Outcome first = kelvanectl({"search", file, ""});
    ASSERT_EQ(first.code, 0) << first.err;
    const fs::path cacheFile =
        *SearchCache::fileFor(folder / "cache" / "Kelvane", file, SortMode::alphabetical);
    const std::string stored = contentOf(cacheFile);
    EXPECT_EQ(kelvanectl({"search", file, ""}).out, first.out);

    // An index planted for these very bytes is what a search then shows, but only from a cache
    // file that passes the trust check.
    CommandIndex planted = *SearchCache::decode(stored, configuration, SortMode::alphabetical);
    planted.commands[0].title = "Gepflanzt";
    {
        SearchCache::Store store(cacheFile, configuration, SortMode::alphabetical);
        store.finish(planted);
    }
    EXPECT_NE(kelvanectl({"search", file, ""}).out.find("Gepflanzt"), std::string::npos);
    fs::permissions(cacheFile, fs::perms(0666));
    EXPECT_EQ(kelvanectl({"search", file, ""}).out, first.out);
    EXPECT_EQ(contentOf(cacheFile), stored);

    // A file changed to the same size is loaded anew, and the trust check runs every time.
    std::string changed = configuration;
    changed.replace(changed.find("Logs"), 4, "Lags");
    folder.write("kelvane.json", changed, fs::perms(0600));
    EXPECT_NE(kelvanectl({"search", file, "lags"}).out.find("Lags"), std::string::npos);
    fs::permissions(file, fs::perms(0666));
    EXPECT_EQ(kelvanectl({"search", file, "lags"}).code, 3);
}

TEST_F(Kelvanectl, convertMigrateAndNormalizeTheFile) {
    const Outcome normalized = kelvanectl({"normalize", file});
    EXPECT_EQ(normalized.out.size(), configuration.size());
    EXPECT_NE(normalized.out.find("  \"version\": 2,\n              \n"), std::string::npos);

    // A file in version 2 is left alone, and so is the backup of its old format.
    const Outcome unchanged = kelvanectl({"migrate", file});
    EXPECT_EQ(unchanged.code, 0) << unchanged.err;
    EXPECT_EQ(unchanged.out,
              "Die Datei hat schon das Format Version 2 \u2014 nichts wurde ge\u00E4ndert.\n");
    EXPECT_EQ(contentOf(file), configuration);
    EXPECT_FALSE(fs::exists(file + ".backup"));

    const std::string legacy = R"({"cmds": [{"name": "Logs", "cmd": "tail -f /var/log/syslog"}]})";
    const std::string legacyFile = folder.write("shuttle.json", legacy).string();
    const std::string legacyConverted = kelvanectl({"convert", legacyFile}).out;
    const Outcome migrated = kelvanectl({"migrate", legacyFile});
    EXPECT_EQ(migrated.code, 0) << migrated.err;
    EXPECT_EQ(migrated.out, "Nach Version 2 migriert. Sicherung der alten Datei: \u201E" +
                                legacyFile + ".backup\u201C\n");
    EXPECT_EQ(contentOf(legacyFile + ".backup"), legacy);
    EXPECT_EQ(contentOf(legacyFile), legacyConverted);
}

TEST(KelvanectlScript, printsTheExactScriptOrCommandLine) {
    EXPECT_EQ(kelvanectl({"script", "echo \"hi\""}).out,
              "tell application \"Terminal\"\n    activate\n    do script \"echo \\\"hi\\\"\"\n"
              "end tell\n");
    EXPECT_EQ(kelvanectl({"script", "--command-line", "--home", "/home/a", "--working-directory",
                          "~/it's", "ls"})
                  .out,
              "cd '/home/a/it'\\''s' && { ls\n}\n");
    EXPECT_NE(kelvanectl({"script", "--open-in", "tab", "ls"}).out.find("keystroke \"t\""),
              std::string::npos);
    EXPECT_EQ(kelvanectl({"script", "--terminal", "xterm", "--shell", "/bin/zsh", "it's"}).out,
              "'xterm' '-T' 'it'\\''s' '-e' '/bin/zsh' '-c' 'it'\\''s\nexec '\\''/bin/zsh'\\'''\n");
    const Outcome fellBack =
        kelvanectl({"script", "--terminal", "XTerm", "--open-in", "tab", "ls"});
    EXPECT_EQ(fellBack.err, "\u201ENeuer Tab\u201C ist mit xterm nicht m\u00F6glich \u2014 Kelvane "
                            "\u00F6ffnet stattdessen ein neues Fenster.\n");
    EXPECT_EQ(
        kelvanectl({"script", "--terminal", "iterm", "ls"}).out.find("tell application \"iTerm\""),
        0U);
    const Outcome unknown = kelvanectl({"script", "--terminal", "hyper", "ls"});
    EXPECT_EQ(unknown.code, 64);
    EXPECT_NE(unknown.err.find("Unbekanntes Terminal \u201Ehyper\u201C"), std::string::npos);
    const Outcome broken = kelvanectl({"script", "ls \xC3"});
    EXPECT_EQ(broken.code, 64);
    EXPECT_NE(broken.err.find("kein g\u00FCltiger UTF-8-Text"), std::string::npos);
}

TEST(KelvanectlRisk, answersWithFindingsAndExitCodes) {
    struct Case {
        std::vector<std::string> arguments;
        int code;
    };
    const Case cases[] = {
        {{"risk", "rm -rf /tmp/x"}, 1},
        {{"risk", "ls -la"}, 0},
        {{"risk", "--confirm", "false", "sudo reboot"}, 0},
        {{"risk", "--scanner", "off", "sudo reboot"}, 0},
        {{"risk", "--scanner", "off", "--confirm", "true", "ls"}, 1},
        {{"risk", std::string(100 * 1024, 'x')}, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(kelvanectl(c.arguments).code, c.code) << c.arguments.back().substr(0, 40);
    const rapidjson::Document document =
        StrictJSON::parse(kelvanectl({"risk", "--json", "sudo rm -rf /"}).out);
    ASSERT_GE(document.Size(), 2U);
    EXPECT_TRUE(document[0]["reason"].IsString());
}

TEST(KelvanectlUsage, refusesWrongUseWithExitCode64) {
    const std::vector<std::vector<std::string>> wrong = {
        {},
        {"frobnicate"},
        {"check"},
        {"check", "a", "b"},
        {"check", "--sort", "random", "a"},
        {"check", "--sort"},
        {"check", "--bogus", "a"},
        {"check", "--json=yes", "a"},
        {"script", "--open-in", "split", "ls"},
    };
    for (const auto& arguments : wrong) {
        const Outcome outcome = kelvanectl(arguments);
        EXPECT_EQ(outcome.code, 64) << (arguments.empty() ? "" : arguments[0]);
        EXPECT_FALSE(outcome.err.empty());
        EXPECT_TRUE(outcome.out.empty());
    }
    EXPECT_EQ(kelvanectl({"--help"}).code, 0);
    const Outcome help = kelvanectl({"search", "--help"});
    EXPECT_EQ(help.code, 0);
    EXPECT_EQ(help.out.rfind("Aufruf: kelvanectl search ", 0), 0U);
}

} // namespace
} // namespace kelvane::ctl
