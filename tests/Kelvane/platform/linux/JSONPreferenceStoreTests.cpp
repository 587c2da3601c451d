#include "Kelvane/platform/linux/JSONPreferenceStore.hpp"

#include "Kelvane/platform/Log.hpp"
#include "support/TemporaryFolder.hpp"

#include "KelvaneCore/Files/FileAccess.hpp"

#include <gtest/gtest.h>

#include <thread>

namespace kelvane {
namespace {

TEST(JSONPreferenceStore, keepsTypesAcrossInstances) {
    const test::TemporaryFolder folder;
    const auto file = folder / "nested/preferences.json";
    {
        JSONPreferenceStore store(file);
        store.setValue("flag", false);
        store.setValue("count", int64_t{-7});
        store.setValue("text", std::string("fileOrder \u00E4"));
        store.setValue("bytes", std::vector<uint8_t>{0, 255, 7});
        store.setValue("gone", true);
        store.removeValue("gone");
    }
    const JSONPreferenceStore reread(file);
    EXPECT_EQ(reread.value("flag"), PreferenceValue(false));
    EXPECT_EQ(reread.value("count"), PreferenceValue(int64_t{-7}));
    EXPECT_EQ(reread.value("text"), PreferenceValue(std::string("fileOrder \u00E4")));
    EXPECT_EQ(reread.value("bytes"), PreferenceValue(std::vector<uint8_t>{0, 255, 7}));
    EXPECT_EQ(reread.value("gone"), std::nullopt);
    EXPECT_EQ(folder.listing(), "nested");
    EXPECT_EQ(std::filesystem::status(file.parent_path()).permissions(),
              std::filesystem::perms(0700));
}

TEST(JSONPreferenceStore, seesOtherWritersAndChangesOnlyItsOwnKey) {
    const test::TemporaryFolder folder;
    const auto file = folder / "preferences.json";
    JSONPreferenceStore store(file);
    FileAccess::writeAtomically(file, R"({"sortMode": "fileOrder", "future": {"x": [1.5, null]}})");
    EXPECT_EQ(store.value("sortMode"), PreferenceValue(std::string("fileOrder")));

    store.setValue("didCompleteFirstRun", true);
    EXPECT_EQ(test::contentOf(file), "{\n  \"sortMode\": \"fileOrder\",\n  \"future\": {\n    "
                                     "\"x\": [\n      1.5,\n      null\n    ]\n  },\n  "
                                     "\"didCompleteFirstRun\": true\n}\n");

    FileAccess::writeAtomically(file, R"({"sortMode": "alphabetical"})");
    EXPECT_EQ(store.value("sortMode"), PreferenceValue(std::string("alphabetical")));
    EXPECT_EQ(store.value("didCompleteFirstRun"), std::nullopt);
}

TEST(JSONPreferenceStore, concurrentWritersLoseNothing) {
    const test::TemporaryFolder folder;
    const auto file = folder / "preferences.json";
    JSONPreferenceStore first(file), second(file);
    first.setValue("a", true);
    second.setValue("b", true);
    first.removeValue("c");
    second.setValue("a", false);
    EXPECT_EQ(first.value("a"), PreferenceValue(false));
    EXPECT_EQ(first.value("b"), PreferenceValue(true));

    // Without the lock, two read-change-write rounds overlap and one of the keys is gone.
    constexpr int keysEach = 40;
    const auto writeKeys = [&file](const char* prefix) {
        JSONPreferenceStore store(file);
        for (int number = 0; number < keysEach; ++number)
            store.setValue(prefix + std::to_string(number), int64_t{number});
    };
    std::thread left(writeKeys, "left"), right(writeKeys, "right");
    left.join();
    right.join();
    for (int number = 0; number < keysEach; ++number) {
        EXPECT_EQ(first.value("left" + std::to_string(number)), PreferenceValue(int64_t{number}));
        EXPECT_EQ(first.value("right" + std::to_string(number)), PreferenceValue(int64_t{number}));
    }
    EXPECT_EQ(folder.listing(), "preferences.json");
}

TEST(JSONPreferenceStore, aFileThatDoesNotParseIsSetAsideAndLogged) {
    const test::TemporaryFolder folder;
    const auto file = folder / "preferences.json";
    std::vector<std::string> logged;
    Log::setSink([&](const Log::Entry& entry) { logged.push_back(entry.message); });
    JSONPreferenceStore store(file);

    folder.write("preferences.json", "{\"configPath\": \"/a\",");
    EXPECT_EQ(store.value("configPath"), std::nullopt);
    folder.write("preferences.json", "[true]");
    store.setValue("sortMode", std::string("fileOrder"));
    folder.write("preferences.json", "  \n");
    EXPECT_EQ(store.value("sortMode"), std::nullopt) << "an empty file is no broken one";
    const JSONPreferenceStore underAFile(folder / "preferences.json" / "sub" / "p.json");
    Log::setSink({});

    EXPECT_EQ(test::contentOf(file.string() + ".broken"), "{\"configPath\": \"/a\",");
    EXPECT_EQ(test::contentOf(file.string() + ".broken-2"), "[true]");
    EXPECT_EQ(folder.listing(),
              "preferences.json preferences.json.broken preferences.json.broken-2");
    ASSERT_EQ(logged.size(), 3U);
    EXPECT_EQ(logged[0].rfind("Einstellungen fehlerhaft, beiseitegelegt als \u201E" +
                                  file.string() + ".broken\u201C: Zeile 1",
                              0),
              0U)
        << logged[0];
    EXPECT_EQ(logged[1], "Einstellungen fehlerhaft, beiseitegelegt als \u201E" + file.string() +
                             ".broken-2\u201C: Die Datei enth\u00E4lt kein JSON-Objekt.");
    EXPECT_EQ(logged[2].rfind("Einstellungen konnten nicht gesichert werden: ", 0), 0U)
        << logged[2];
}

} // namespace
} // namespace kelvane
