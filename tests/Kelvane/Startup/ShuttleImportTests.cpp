#include "Kelvane/Startup/ShuttleImport.hpp"

#include "KelvaneCore/Files/FileError.hpp"

#include "support/TemporaryFolder.hpp"

#include <gtest/gtest.h>

namespace kelvane {
namespace {

constexpr std::string_view eightCommandsInFourEntries = R"({
  "cmds": [
    { "Server": [ { "name": "Web", "cmd": "ssh web" }, { "name": "DB", "cmd": "ssh db" },
                  { "Alt": [ { "name": "Alt", "cmd": "ssh old" } ] } ] },
    { "Werkzeuge": [ { "name": "Top", "cmd": "top" }, { "name": "Df", "cmd": "df -h" } ] },
    { "Netz": [ { "name": "Ping", "cmd": "ping -c1 a" }, { "name": "Dig", "cmd": "dig a" } ] },
    { "name": "Uptime", "cmd": "uptime" }
  ]
})";

TEST(ShuttleImport, theFirstCandidateIsOfferedCountingAllCommandsAndTopLevelEntries) {
    const test::TemporaryFolder folder;
    const auto source = folder.write("home/.shuttle.json", eightCommandsInFourEntries);
    const auto offer = ShuttleImport::offer({source});
    ASSERT_TRUE(offer);
    EXPECT_EQ(offer->source, source);
    Alert expected;
    expected.messageText = "Shuttle-Konfiguration gefunden";
    expected.informativeText = "Unter \u201e" + source.string() +
                               "\u201c liegen 8 Befehle in 4 Gruppen. Sollen sie \u00fcbernommen "
                               "werden?\n\nDie Originaldatei bleibt unver\u00e4ndert.";
    expected.buttons = {"\u00dcbernehmen", "Sp\u00e4ter"};
    EXPECT_EQ(offer->alert, expected);

    const auto empty = folder.write("empty.json", R"({"cmds": []})");
    const auto first = ShuttleImport::offer({empty, source});
    ASSERT_TRUE(first) << "the first candidate is offered even without entries";
    EXPECT_EQ(first->source, empty);
    EXPECT_NE(first->alert.informativeText.find("liegen 0 Befehle in 0 Gruppen."),
              std::string::npos);
}

TEST(ShuttleImport, nothingIsOfferedForAFileThatDoesNotLoad) {
    const test::TemporaryFolder folder;
    const auto good = folder.write("good.json", eightCommandsInFourEntries);
    std::filesystem::create_directory(folder / "folder.json");
    const std::vector<std::vector<std::filesystem::path>> cases = {
        {},
        {folder.write("broken.json", R"({"cmds": [)"), good},
        {folder / "folder.json", good},
    };
    for (const auto& candidates : cases)
        EXPECT_FALSE(ShuttleImport::offer(candidates))
            << (candidates.empty() ? "no candidates" : candidates.front().string());
}

// The start-up tests check that the copy is exact and private and leaves the source alone.
TEST(ShuttleImport, aFileTheUserWroteIsKeptAsBackupButNotTheEmptyMenuOrNoFile) {
    const std::pair<std::optional<std::string>, bool> cases[] = {
        {std::nullopt, false},
        {"{\n  \"version\": 2,\n  \"items\": []\n}\n", false},
        {R"({"version": 2, "items": [{"title": "Mine", "command": "true"}]})", true},
        {"{ not even JSON", true},
    };
    for (const auto& [kept, backedUp] : cases) {
        const test::TemporaryFolder folder;
        const auto source = folder.write(".shuttle.json", eightCommandsInFourEntries);
        const auto target = kept ? folder.write("kelvane.json", *kept, std::filesystem::perms(0600))
                                 : folder / "kelvane.json";
        ShuttleImport::copyInPlace(source, target);
        EXPECT_EQ(test::contentOf(target), eightCommandsInFourEntries);
        EXPECT_EQ(folder.listing(), backedUp ? ".shuttle.json kelvane.json kelvane.json.backup"
                                             : ".shuttle.json kelvane.json")
            << kept.value_or("no file");
        if (backedUp) {
            EXPECT_EQ(test::contentOf(folder / "kelvane.json.backup"), *kept);
        }
    }
}

TEST(ShuttleImport, aFailedCopyLeavesTheTargetAsItWas) {
    const test::TemporaryFolder folder;
    const auto target = folder.write("kelvane.json", R"({"version": 2, "items": []})");
    EXPECT_THROW(ShuttleImport::copyInPlace(folder / "gone.json", target), FileError);
    EXPECT_EQ(test::contentOf(target), R"({"version": 2, "items": []})");
    EXPECT_THROW(ShuttleImport::copyInPlace(target, folder / "missing/kelvane.json"), FileError);
}

} // namespace
} // namespace kelvane
